#pragma once

// The RTF writer's parts: an output buffer, and the writer that fills it from a document
// (RtfWriter.cpp: paragraphs and tables; RtfWriterFormats.cpp: formats and text).

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cstring>

class QColor;
class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextFragment;
class QTextTable;

namespace formats::rtf::detail {

// Headings 1 to 6 are styles s1 to s6, as Word numbers them; the title comes after, then
// the contents lines of levels 1 to 9 ("toc 1" to "toc 9"), s8 to s16.
inline constexpr int MaxHeadingLevel = 6;
inline constexpr char TitleStyle[] = "\\s7";
inline constexpr int ContentsStyle = 7;
inline constexpr int MaxContentsLevel = 9;

// The block's heading level, 0 for body text and levels beyond those styled; the same for
// the level of a contents line.
int headingLevel(const QTextBlockFormat &f);
int contentsLevel(const QTextBlockFormat &f);
// The block has a style of its own: a heading, the title or a contents line.
bool styledBlock(const QTextBlockFormat &f);

// An output buffer written through raw pointers: the writer reserves room for the worst
// case of a piece and then fills it without a check per byte.
class Buffer {
public:
    char *room(qsizetype n)
    {
        if (size_ + n > data_.size())
            data_.resize(std::max<qsizetype>(data_.size() * 2, size_ + n));
        return data_.data() + size_;
    }
    void advance(char *end) { size_ = end - data_.constData(); }
    void append(const char *s, qsizetype n)
    {
        std::memcpy(room(n), s, size_t(n));
        size_ += n;
    }
    void append(const QByteArray &b) { append(b.constData(), b.size()); }
    void append(const char *s) { append(s, qsizetype(std::strlen(s))); }
    void appendNumber(const char *word, long long n)
    {
        append(word);
        char *o = room(24);
        advance(std::to_chars(o, o + 24, n).ptr);
    }
    qsizetype size() const { return size_; }
    // Leaves n bytes at the start to be filled in later.
    void skip(qsizetype n)
    {
        room(n);
        size_ += n;
    }
    QByteArray take()
    {
        data_.resize(size_);
        return std::move(data_);
    }

private:
    QByteArray data_;
    qsizetype size_ = 0;
};

class Writer {
public:
    explicit Writer(const QTextDocument &doc)
        : doc_(doc)
    {
    }

    QByteArray run();

private:
    void writeBlock(Buffer &out, const QTextBlock &b, const QString &all, qsizetype &offset, bool inTable);
    QTextBlock writeTable(Buffer &out, const QTextTable &table, const QString &all);
    void writePictures(Buffer &out, const QTextFragment &fragment);
    QByteArray charProps(const QTextCharFormat &f);
    QByteArray blockProps(const QTextBlockFormat &f);
    int fontIndex(const QString &family);
    int colorIndex(const QColor &c);
    static void appendText(Buffer &out, const QChar *text, qsizetype n);
    static void appendNumber(QByteArray &out, const char *word, long long n);
    bool hasStructure() const;

    const QTextDocument &doc_;
    bool styled_ = false; // the document has headings or a title
    QStringList fonts_;
    QHash<QString, int> fontIndex_;
    QList<QRgb> colors_;
    QHash<QRgb, int> colorIndex_;
    QHash<int, QByteArray> charPrefixes_;
    struct BlockPrefix {
        QByteArray props;
        bool pageBefore;
        bool inList;
    };
    const BlockPrefix &blockPrefix(const QTextBlock &b);
    void writeListItem(Buffer &out, const QTextBlock &b);
    QHash<int, BlockPrefix> blockPrefixes_;
    QHash<int, QByteArray> markPrefixes_;
    int deepest_ = 2; // heading 1 and 2 are always named, deeper ones only when used
    int deepestContents_ = 0;
};

} // namespace formats::rtf::detail
