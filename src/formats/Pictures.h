#pragma once

// Pictures in a document. A picture is a QTextImageFormat whose image lives in the
// document's resources; beside it the document keeps the bytes the picture came in, so a
// writer whose format takes them (PNG, JPEG, GIF) passes them on untouched. Every reader
// and writer goes through here, and every reader checks a picture's declared size against
// the limits (Limits.h) before it decodes anything.

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <initializer_list>

class QTextCursor;
class QTextDocument;
class QTextImageFormat;

namespace formats {

struct Picture {
    QImage image;
    // The file's own bytes, as they came; empty for a placeholder or a picture drawn here.
    QByteArray bytes;
    // The size it is shown at, in the document's pixels (96 to the inch).
    QSizeF size;
    bool placeholder = false; // "picture not shown": the picture could not be decoded
};

namespace pictures {

// What a placeholder says, as its alternative text.
inline const QString NotShown = QStringLiteral("picture not shown");

// The kind of image the bytes are: "png", "jpeg", "gif", "bmp" or "svg"; empty for any
// other bytes.
QByteArray kindOf(const QByteArray &bytes);

// Why the picture cannot be taken, from its header alone: declared beyond 10,000 pixels
// a side or 256 MB decoded. Empty when it can; decodedBytes gets what it will take.
QString checkDeclared(const QByteArray &bytes, qint64 *decodedBytes = nullptr);

// The picture the bytes hold, shown at `size` (its own size at its resolution when
// empty); a "picture not shown" placeholder when they hold none that decodes. Callers
// check the declared size first.
Picture decode(const QByteArray &bytes, QSizeF size = {});
// The placeholder for a picture that cannot be shown.
Picture placeholder();
// A picture drawn by the program, shown at `size`.
Picture fromImage(const QImage &image, QSizeF size);

// The size scaled down, never up, to `width`, its aspect kept.
QSizeF fitted(QSizeF size, qreal width);

// Puts the picture in the document's resources and inserts it at the cursor.
void insert(QTextCursor &cursor, const Picture &picture);
// The picture an image format of the document shows.
Picture at(const QTextDocument &doc, const QTextImageFormat &format);

// The bytes a writer embeds: the picture's own when the writer takes their kind, else the
// image as PNG.
struct Encoded {
    QByteArray bytes;
    QByteArray kind; // "png", "jpeg"...
    QString extension() const;
    QString mimeType() const;
};
Encoded encoded(const Picture &picture, std::initializer_list<const char *> kinds);

} // namespace pictures

// What the pictures of one file may take together, counted as a reader meets them.
class PictureBudget {
public:
    // Counts a picture; the reason when it passes a limit, else empty. A placeholder
    // (bytes that are no image) counts only as a picture.
    QString add(const QByteArray &bytes);

private:
    int m_count = 0;
    qint64 m_decoded = 0;
};

} // namespace formats
