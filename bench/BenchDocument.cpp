#include "BenchDocument.h"

#include "formats/rtf/Rtf.h"

#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>

#include <map>

namespace bench {

namespace {

const char *const Words[] = {
    "business", "plan", "market", "customers", "product", "service", "sales", "growth", "revenue",
    "the", "and", "of", "to", "our", "for", "with", "will", "in", "a", "is", "we", "year", "costs",
    "staff", "premises", "advertising", "competition", "strategy", "forecast", "profit", "cash",
    "café", "Müller", "naïve", "résumé", "Größe", "€1,200", "São", "Zoë", "“quality”", "–",
    "Привет", "Ελλάδα", "日本市場", "서울", "ünlü", "Łódź", "coöperate", "30 %", "(2024)",
};
const char *const Families[] = {"Arial", "Times New Roman", "Courier New", "Verdana"};
// A document's palette and sizes: a few, as people use them.
const QRgb Colors[] = {0xC00000, 0x0070C0, 0x00B050, 0x7030A0, 0xFF6600, 0x808080, 0x1F3864, 0xFF0000};
const double Sizes[] = {8, 9, 10, 11, 14, 16, 18, 20, 24};

void addParagraph(QTextCursor &c, QRandomGenerator &rng, int index)
{
    QTextCharFormat base;
    base.setFontFamilies({QStringLiteral("Arial")});
    base.setFontPointSize(12);
    QTextBlockFormat block;
    if (index % 12 == 0) {
        // A heading now and then.
        QTextCharFormat heading = base;
        heading.setFontWeight(QFont::Bold);
        heading.setFontPointSize(16);
        if (index > 0)
            c.insertBlock(block, heading);
        else
            c.setBlockCharFormat(heading);
        c.insertText(QStringLiteral("Section %1: Market and customers").arg(index / 12 + 1), heading);
        return;
    }
    if (index % 7 == 3)
        block.setAlignment(Qt::AlignJustify);
    c.insertBlock(block, base);
    const int words = 40 + int(rng.bounded(80));
    QString run;
    for (int w = 0; w < words; ++w) {
        run += QString::fromUtf8(Words[rng.bounded(int(std::size(Words)))]);
        run += QLatin1Char(' ');
        // About one word in fifteen starts a formatted span of one to four words.
        if (rng.bounded(15) != 0)
            continue;
        c.insertText(run, base);
        run.clear();
        QTextCharFormat f = base;
        switch (rng.bounded(6)) {
        case 0: f.setFontWeight(QFont::Bold); break;
        case 1: f.setFontItalic(true); break;
        case 2: f.setForeground(QColor::fromRgb(Colors[rng.bounded(int(std::size(Colors)))])); break;
        case 3: f.setFontFamilies({QString::fromLatin1(Families[rng.bounded(int(std::size(Families)))])}); break;
        case 4: f.setFontPointSize(Sizes[rng.bounded(int(std::size(Sizes)))]); break;
        default: f.setFontUnderline(true); break;
        }
        QString span;
        for (int n = 1 + int(rng.bounded(4)); n > 0; --n, ++w)
            span += QString::fromUtf8(Words[rng.bounded(int(std::size(Words)))]) + QLatin1Char(' ');
        c.insertText(span, f);
    }
    c.insertText(run.trimmed() + QLatin1Char('.'), base);
}

void build(QTextDocument &doc, int paragraphs, int seed)
{
    QRandomGenerator rng(42 + quint32(seed));
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (int i = 0; i < paragraphs; ++i)
        addParagraph(c, rng, i);
    c.endEditBlock();
}

} // namespace

void buildDocument(QTextDocument &doc, qint64 targetBytes, int seed)
{
    // Measure a sample, then build as many paragraphs as the target needs.
    constexpr int SampleParagraphs = 200;
    QTextDocument sample;
    build(sample, SampleParagraphs, seed);
    const double perParagraph = double(formats::rtf::write(sample).size()) / SampleParagraphs;
    build(doc, std::max(1, int(double(targetBytes) / perParagraph)), seed);
}

const QByteArray &rtfOfSize(qint64 targetBytes, int seed)
{
    static std::map<std::pair<qint64, int>, QByteArray> cache;
    QByteArray &data = cache[{targetBytes, seed}];
    if (data.isEmpty()) {
        QTextDocument doc;
        doc.setUndoRedoEnabled(false);
        buildDocument(doc, targetBytes, seed);
        data = formats::rtf::write(doc);
    }
    return data;
}

} // namespace bench
