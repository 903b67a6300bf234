#include "support/OfficeFiles.h"

#include <QTextCursor>
#include <QTextDocument>

namespace officefiles {

using formats::office::zip::Entry;

const QByteArray WordNs = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";

namespace {

const QByteArray OdtMime = "application/vnd.oasis.opendocument.text";

} // namespace

QByteArray wordFile(const QByteArray &body, std::vector<Entry> extra)
{
    extra.insert(extra.begin(), {QStringLiteral("word/document.xml"),
                                 "<?xml version=\"1.0\"?><w:document " + WordNs + "><w:body>" + body +
                                     "</w:body></w:document>"});
    return formats::office::zip::write(extra);
}

QByteArray odtFile(const QByteArray &body, std::vector<Entry> extra)
{
    extra.insert(extra.begin(),
                 {{QStringLiteral("mimetype"), OdtMime, true},
                  {QStringLiteral("content.xml"),
                   "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                   "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>" +
                       body + "</office:text></office:body></office:document-content>"}});
    return formats::office::zip::write(extra);
}

QByteArray odtWithoutContent()
{
    return formats::office::zip::write({{QStringLiteral("mimetype"), OdtMime, true},
                                        {QStringLiteral("styles.xml"), "<office:document-styles/>"}});
}

QByteArray passwordOdt()
{
    const QByteArray manifest =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
        "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.3\">"
        "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\" manifest:size=\"3021\">"
        "<manifest:encryption-data manifest:checksum-type=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0#sha256-1k\" "
        "manifest:checksum=\"k9dN0vQ1r1E=\"><manifest:algorithm "
        "manifest:algorithm-name=\"http://www.w3.org/2001/04/xmlenc#aes256-cbc\" manifest:initialisation-vector=\"x\"/>"
        "<manifest:key-derivation manifest:key-derivation-name=\"PBKDF2\" manifest:key-size=\"32\" "
        "manifest:iteration-count=\"100000\" manifest:salt=\"y\"/></manifest:encryption-data></manifest:file-entry>"
        "</manifest:manifest>";
    return formats::office::zip::write({{QStringLiteral("mimetype"), OdtMime, true},
                                        {QStringLiteral("content.xml"), QByteArray(3021, '\x9c')},
                                        {QStringLiteral("META-INF/manifest.xml"), manifest}});
}

void fillRuns(QTextDocument &doc, int runs)
{
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("arial")});
    plain.setFontPointSize(12);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (int i = 0; i < runs; ++i) {
        if (i > 0 && i % 100 == 0)
            c.insertBlock();
        c.insertText(i % 7 ? QStringLiteral("ab ") : QStringLiteral("a\tb  c"), i % 2 ? bold : plain);
    }
    c.endEditBlock();
}

// f at offset `local` of every local header and `central` of every central one.
template <class F>
static QByteArray everyHeader(QByteArray zip, int local, int central, F f)
{
    for (const auto &[signature, at] : {std::pair{"PK\x03\x04", local}, {"PK\x01\x02", central}})
        for (qsizetype i = 0; (i = zip.indexOf(signature, i)) >= 0; i += 4)
            f(zip, i + at);
    return zip;
}

QByteArray encrypted(QByteArray zip)
{
    return everyHeader(std::move(zip), 6, 8, [](QByteArray &z, qsizetype at) { z[at] = char(z[at] | 1); });
}

QByteArray lyingSizes(QByteArray zip)
{
    return everyHeader(std::move(zip), 22, 24,
                       [](QByteArray &z, qsizetype at) { z.replace(at, 4, QByteArray("\x64\0\0\0", 4)); });
}

} // namespace officefiles
