#include "formats/FileSniff.h"

#include "formats/PlainText.h"

namespace formats {

namespace {

struct Signature {
    const char *bytes;
    qsizetype size;
    const char *kind;
};

// Only signatures no text file starts with: each holds a byte outside printable ASCII
// or a marker no prose begins with.
const Signature kSignatures[] = {
    {"%PDF-", 5, "a PDF file"},
    {"\x89PNG\r\n\x1a\n", 8, "a PNG image"},
    {"\xff\xd8\xff", 3, "a JPEG image"},
    {"GIF87a", 6, "a GIF image"},
    {"GIF89a", 6, "a GIF image"},
    {"PK\x03\x04", 4, "a ZIP archive"},
    {"PK\x05\x06", 4, "a ZIP archive"},
    {"PK\x07\x08", 4, "a ZIP archive"},
    {"\x7f" "ELF", 4, "a program (an ELF executable)"},
    // Word 97-2003 files, and Word files protected by a password, are OLE compound files.
    {"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8, "an older or password-protected Microsoft Office file"},
};

bool startsWith(const QByteArray &data, const Signature &s)
{
    return data.startsWith(QByteArrayView(s.bytes, s.size));
}

// Controls a text file may hold: tab, line feed, vertical tab, form feed, carriage
// return, the old end-of-file mark (Ctrl+Z) and escape (terminal colours).
bool textControl(char16_t u) { return u == 0x09 || u == 0x0A || u == 0x0B || u == 0x0C || u == 0x0D || u == 0x1A || u == 0x1B; }

} // namespace

bool looksLikeZip(const QByteArray &data) { return data.startsWith("PK\x03\x04") || data.startsWith("PK\x05\x06"); }

QString binaryKind(const QByteArray &data)
{
    for (const Signature &s : kSignatures)
        if (startsWith(data, s))
            return QString::fromLatin1(s.kind);

    const QByteArray first = data.left(FirstBlock);
    if (first.contains('\0'))
        return QStringLiteral("a binary file, not text");
    // The block as the text reader decodes it: UTF-8, or Windows-1252, whose five
    // unassigned bytes come out as C1 controls. A block cut inside a UTF-8 sequence loses
    // that sequence only, not its UTF-8.
    QString text = decodePlainText(first);
    if (first.size() == FirstBlock && text.size() == first.size()) {
        for (int cut = 1; cut < 4; ++cut) {
            const QString shorter = decodePlainText(first.left(first.size() - cut));
            if (shorter.size() < first.size() - cut) {
                text = shorter;
                break;
            }
        }
    }
    for (const QChar c : std::as_const(text)) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !textControl(u)) || (u >= 0x80 && u < 0xA0))
            return QStringLiteral("a binary file, not text");
    }
    return {};
}

} // namespace formats
