#pragma once

// Pictures in Word and OpenDocument files: the readers take each from its entry in the
// archive (word/media/..., Pictures/...), the writers put each there once and refer to it
// from the text (a w:drawing inline, a draw:frame with its draw:image).

#include "formats/Pictures.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <vector>

class QTextDocument;
class QTextImageFormat;
class QXmlStreamReader;
class QXmlStreamWriter;

namespace formats::office {

class Builder;

namespace zip {
class Archive;
}

// The pictures a file being read holds, each entry read once however often it is shown.
// External pictures are never fetched: they show as placeholders.
class PictureEntries {
public:
    explicit PictureEntries(const zip::Archive &zip) : m_zip(zip) {}

    // The picture in the entry, or in `bytes` the file holds inline (neither: a
    // placeholder), at the size the file gives, into the builder: counted against the
    // limits before it is decoded.
    void place(Builder &b, const QString &entry, QSizeF size, const QByteArray &bytes = {});

private:
    const zip::Archive &m_zip;
    QHash<QString, QByteArray> m_entries; // read once
    QSet<QString> m_counted; // the entries counted
    QHash<QString, Picture> m_decoded; // shown again, an entry shares its image
    PictureBudget m_budget;
};

// A picture the writer embeds, as its entry.
struct PicturePart {
    QString name; // "word/media/image1.png", "Pictures/1.png"
    QByteArray bytes;
    QString mimeType;
};

// The pictures a file being written holds, each once however often it is shown.
class PictureParts {
public:
    PictureParts(const QTextDocument &doc, const QString &folder) : m_doc(doc), m_folder(folder) {}

    struct Added {
        int number; // 1 for the first part
        QString entry;
        Picture picture;
    };
    // The picture of the format and its part, made the first time; its bytes the
    // picture's own when their kind is one of `kinds`, else PNG.
    Added add(const QTextImageFormat &format, std::initializer_list<const char *> kinds);
    const std::vector<PicturePart> &parts() const { return m_parts; }

private:
    const QTextDocument &m_doc;
    QString m_folder;
    QHash<QString, int> m_numbers; // image name -> its part's number
    std::vector<PicturePart> m_parts;
};

namespace docx {
// word/_rels/document.xml.rels: each relationship's id and the entry it points to inside
// the archive; external targets are left out.
QHash<QString, QString> relationships(const QByteArray &xml);
// The drawing element just started, read to its end: the relationship of the first
// picture it links to and the size it gives. A shape or chart without a picture has none.
struct Drawing {
    QString id;
    QSizeF size;
};
Drawing readDrawing(QXmlStreamReader &r, int &depth, QString &error);
// The picture as a w:drawing inline in its own run, linked to relationship `id`.
void writeDrawing(QXmlStreamWriter &w, const Picture &picture, const QString &id, int number);
} // namespace docx

namespace odt {
// The frame element just started, read to its end: its first picture, an entry of the
// package (a linked one is never fetched) or the bytes it holds inline. Neither for a
// shape or text box without a picture.
struct Frame {
    QString entry;
    QByteArray bytes;
};
Frame readFrame(QXmlStreamReader &r, int &depth, QString &error);
// The picture as a frame in the text, its image in `entry`.
void writeFrame(QXmlStreamWriter &w, const Picture &picture, const QString &entry, int number);
} // namespace odt

} // namespace formats::office
