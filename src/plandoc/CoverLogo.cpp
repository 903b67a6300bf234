#include "plandoc/CoverLogo.h"

#include "formats/DocumentStructure.h"
#include "formats/PrintLayout.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

namespace plandoc::coverlogo {

namespace {
// A cover holds a few dozen paragraphs; the title is among the first.
constexpr int CoverParagraphs = 40;
} // namespace

formats::Picture sized(formats::Picture logo)
{
    QSizeF size = formats::pictures::fitted(logo.size, formats::printlayout::textWidth());
    if (size.height() > MaxHeight)
        size = QSizeF(size.width() * MaxHeight / size.height(), MaxHeight);
    logo.size = size;
    return logo;
}

void insert(const QTextCursor &block, const formats::Picture &logo)
{
    QTextCursor c(block.block());
    formats::pictures::insert(c, sized(logo));
    c.insertText(QString(QChar::LineSeparator), block.block().charFormat());
}

std::optional<formats::Picture> find(const QTextDocument &doc)
{
    QTextBlock b = doc.begin();
    for (int i = 0; b.isValid() && i < CoverParagraphs; b = b.next(), ++i) {
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                // Only a cover that goes on to its title.
                for (QTextBlock t = b; t.isValid() && i < CoverParagraphs; t = t.next(), ++i)
                    if (formats::isTitle(t.blockFormat()))
                        return formats::pictures::at(doc, it.fragment().charFormat().toImageFormat());
                return std::nullopt;
            }
        if (formats::isTitle(b.blockFormat()))
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace plandoc::coverlogo
