#include "formats/PictureExport.h"

#include "formats/Pictures.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <memory>

namespace formats::exports {

namespace {

// Each distinct picture of the document once, in the order they first appear.
std::vector<QTextImageFormat> picturesOf(const QTextDocument &doc)
{
    std::vector<QTextImageFormat> out;
    QStringList seen;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (const QTextCharFormat f = it.fragment().charFormat(); f.isImageFormat()) {
                const QTextImageFormat image = f.toImageFormat();
                if (!seen.contains(image.name())) {
                    seen << image.name();
                    out.push_back(image);
                }
            }
    return out;
}

// Equal pictures side by side share one fragment, which Qt's Markdown writes once: each
// gets a format of its own.
void separatePictures(QTextDocument &doc)
{
    constexpr int OccurrenceProperty = QTextFormat::UserProperty + 100;
    int occurrence = 0;
    QTextCursor c(&doc);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        std::vector<std::pair<int, int>> spans; // position, length
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat() && it.fragment().length() > 1)
                spans.push_back({it.fragment().position(), it.fragment().length()});
        for (const auto &[position, length] : spans)
            for (int i = 0; i < length; ++i) {
                c.setPosition(position + i);
                c.setPosition(position + i + 1, QTextCursor::KeepAnchor);
                QTextCharFormat f;
                f.setProperty(OccurrenceProperty, ++occurrence);
                c.mergeCharFormat(f);
            }
    }
}

} // namespace

QString withDataUris(const QTextDocument &doc, QString html)
{
    for (const QTextImageFormat &f : picturesOf(doc)) {
        const pictures::Encoded data = pictures::encoded(pictures::at(doc, f), {"png", "jpeg", "gif", "svg"});
        html.replace(QStringLiteral("src=\"%1\"").arg(f.name().toHtmlEscaped()),
                     QStringLiteral("src=\"data:%1;base64,%2\"").arg(data.mimeType(), QString::fromLatin1(data.bytes.toBase64())));
    }
    return html;
}

QString markdownWithPictures(const QTextDocument &doc, const QString &base,
                             std::vector<std::pair<QString, QByteArray>> &beside)
{
    const std::unique_ptr<QTextDocument> copy(doc.clone());
    separatePictures(*copy);
    QString out = copy->toMarkdown(QTextDocument::MarkdownDialectGitHub);
    for (const QTextImageFormat &f : picturesOf(doc)) {
        const pictures::Encoded data = pictures::encoded(pictures::at(doc, f), {"png", "jpeg", "gif", "svg"});
        const QString file = base + QStringLiteral("-%1.").arg(beside.size() + 1) + data.extension();
        beside.push_back({file, data.bytes});
        out.replace(QStringLiteral("](%1)").arg(f.name()), QStringLiteral("](%1)").arg(QString::fromLatin1(QUrl::toPercentEncoding(file))));
    }
    return out;
}

} // namespace formats::exports
