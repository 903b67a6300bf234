// The writer's formats and text: character and paragraph properties as control words,
// the font and colour tables they fill, and text escaped for RTF.

#include "formats/DocumentStructure.h"
#include "formats/rtf/RtfWriter.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>
#include <vector>

namespace formats::rtf::detail {

namespace {

// What a reader that knows no \uN shows instead: the base letter of an accented Latin
// letter, a plain quote or dash for the typographic ones, else a question mark.
char fallbackFor(char16_t c)
{
    static const std::vector<char> latin = [] {
        std::vector<char> t(0x250 - 0x80, '?');
        for (char16_t u = 0x80; u < 0x250; ++u) {
            const QString d = QChar(u).decomposition();
            if (!d.isEmpty()) {
                const char16_t b = d.at(0).unicode();
                if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'))
                    t[u - 0x80] = char(b);
            }
        }
        return t;
    }();
    if (c >= 0x80 && c < 0x250)
        return latin[c - 0x80];
    switch (c) {
    case 0x2018: case 0x2019: case 0x201A: return '\'';
    case 0x201C: case 0x201D: case 0x201E: return '"';
    case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2014: return '-';
    case 0x2022: return '*';
    default: return '?';
    }
}

} // namespace

void Writer::appendNumber(QByteArray &out, const char *word, long long n)
{
    out += word;
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr - digits);
}

// Font names are compared without regard to case: "arial" and "Arial" are one entry,
// spelt as first met.
int Writer::fontIndex(const QString &family)
{
    const QString key = family.toCaseFolded();
    const auto it = fontIndex_.constFind(key);
    if (it != fontIndex_.constEnd())
        return it.value();
    const int index = int(fonts_.size());
    fonts_.append(family);
    fontIndex_.insert(key, index);
    return index;
}

int Writer::colorIndex(const QColor &c)
{
    const QRgb rgb = c.rgb() | 0xFF000000u;
    const auto it = colorIndex_.constFind(rgb);
    if (it != colorIndex_.constEnd())
        return it.value();
    colors_.append(rgb);
    const int index = int(colors_.size()); // entry 0 is the automatic colour
    colorIndex_.insert(rgb, index);
    return index;
}

QByteArray Writer::charProps(const QTextCharFormat &f)
{
    QByteArray p = "\\plain";
    QString family = f.fontFamilies().toStringList().value(0);
    if (family.isEmpty())
        family = doc_.defaultFont().family();
    appendNumber(p, "\\f", fontIndex(family));

    double points = f.fontPointSize();
    if (points <= 0 && f.hasProperty(QTextFormat::FontPixelSize))
        points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
    if (points <= 0)
        points = doc_.defaultFont().pointSizeF();
    if (points <= 0)
        points = 12;
    appendNumber(p, "\\fs", std::max(1L, std::lround(points * 2)));

    if (f.fontWeight() >= QFont::DemiBold)
        p += "\\b";
    if (f.fontItalic())
        p += "\\i";
    switch (f.underlineStyle()) {
    case QTextCharFormat::NoUnderline: break;
    case QTextCharFormat::DotLine: p += "\\uld"; break;
    case QTextCharFormat::DashUnderline: p += "\\uldash"; break;
    case QTextCharFormat::DashDotLine: p += "\\uldashd"; break;
    case QTextCharFormat::DashDotDotLine: p += "\\uldashdd"; break;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: p += "\\ulwave"; break;
    default: p += "\\ul"; break;
    }
    if (f.fontStrikeOut())
        p += "\\strike";
    switch (f.fontCapitalization()) {
    case QFont::AllUppercase: p += "\\caps"; break;
    case QFont::SmallCaps: p += "\\scaps"; break;
    default: break;
    }
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        p += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        p += "\\sub";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        appendNumber(p, "\\cf", colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush) {
        const int index = colorIndex(f.background().color());
        appendNumber(p, "\\chcbpat", index);
        appendNumber(p, "\\cb", index);
    }
    if (f.hasProperty(QTextFormat::TextUnderlineColor) && f.underlineColor().isValid())
        appendNumber(p, "\\ulc", colorIndex(f.underlineColor()));
    return p;
}

int headingLevel(const QTextBlockFormat &f)
{
    const int level = f.headingLevel();
    return level >= 1 && level <= MaxHeadingLevel ? level : 0;
}

int contentsLevel(const QTextBlockFormat &f)
{
    const int level = formats::contentsLevel(f);
    return level >= 1 && level <= MaxContentsLevel ? level : 0;
}

bool styledBlock(const QTextBlockFormat &f) { return headingLevel(f) > 0 || formats::isTitle(f) || contentsLevel(f) > 0; }

bool Writer::hasStructure() const
{
    // The format collection says at once whether any block format could be a heading or a
    // title; only then are the blocks asked, since a format may outlive its last block.
    bool any = false;
    for (const QTextFormat &f : doc_.allFormats()) {
        if (f.isBlockFormat() && styledBlock(f.toBlockFormat())) {
            any = true;
            break;
        }
    }
    if (!any)
        return false;
    QSet<int> seen;
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        if (seen.contains(b.blockFormatIndex()))
            continue;
        seen.insert(b.blockFormatIndex());
        if (styledBlock(b.blockFormat()))
            return true;
    }
    return false;
}

QByteArray Writer::blockProps(const QTextBlockFormat &f)
{
    QByteArray p = "\\pard";
    if (styled_) {
        const int level = headingLevel(f);
        if (level > 0) {
            appendNumber(p, "\\s", level);
            appendNumber(p, "\\outlinelevel", level - 1);
        } else if (const int contents = contentsLevel(f)) {
            appendNumber(p, "\\s", ContentsStyle + contents);
        } else {
            p += formats::isTitle(f) ? TitleStyle : "\\s0";
        }
    }
    const Qt::Alignment a = f.alignment();
    if (a & Qt::AlignHCenter)
        p += "\\qc";
    else if (a & Qt::AlignJustify)
        p += "\\qj";
    else if (a & Qt::AlignRight)
        p += "\\qr";
    // Pixels of the document to twips (15 to a pixel at 96 dpi).
    const auto twips = [](double px) { return std::lround(px * 15); };
    const double indent = f.leftMargin() + f.indent() * doc_.indentWidth();
    if (const long v = twips(indent))
        appendNumber(p, "\\li", v);
    if (const long v = twips(f.rightMargin()))
        appendNumber(p, "\\ri", v);
    if (const long v = twips(f.textIndent()))
        appendNumber(p, "\\fi", v);
    if (const long v = twips(f.topMargin()))
        appendNumber(p, "\\sb", v);
    if (const long v = twips(f.bottomMargin()))
        appendNumber(p, "\\sa", v);
    // Tab stops count from the margin in RTF, from the indent in the document.
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        switch (tabs[i].type) {
        case QTextOption::RightTab: p += "\\tqr"; break;
        case QTextOption::CenterTab: p += "\\tqc"; break;
        case QTextOption::DelimiterTab: p += "\\tqdec"; break;
        default: break;
        }
        switch (formats::tabLeader(f, i).unicode()) {
        case '.': p += "\\tldot"; break;
        case '-': p += "\\tlhyph"; break;
        case '_': p += "\\tlul"; break;
        case '=': p += "\\tleq"; break;
        default: break;
        }
        appendNumber(p, "\\tx", std::max(0L, twips(indent + tabs[i].position)));
    }
    if (f.layoutDirection() == Qt::RightToLeft)
        p += "\\rtlpar";
    // A styled document breaks its pages with \\page between the paragraphs.
    if (!styled_ && (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        p += "\\pagebb";
    return p;
}

void Writer::appendText(Buffer &out, const QChar *text, qsizetype n)
{
    const char16_t *s = reinterpret_cast<const char16_t *>(text);
    // The longest piece a unit becomes is "\\u-32768 ?".
    char *o = out.room(n * 10 + 16);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            switch (c) {
            case '\\':
            case '{':
            case '}':
                *o++ = '\\';
                *o++ = char(c);
                break;
            case '\t':
                std::memcpy(o, "\\tab ", 5);
                o += 5;
                break;
            case ' ':
                // LibreOffice turns a run of spaces within one piece of text into six-per-em
                // spaces; an empty group between two spaces keeps them plain.
                if (i > 0 && s[i - 1] == ' ') {
                    *o++ = '{';
                    *o++ = '}';
                }
                *o++ = ' ';
                break;
            default:
                if (c >= 0x20)
                    *o++ = char(c);
                break; // other control characters are not text
            }
            continue;
        }
        if (isLineSeparator(c)) {
            std::memcpy(o, "\\line ", 6);
            o += 6;
            continue;
        }
        if (isObjectReplacement(c) || isParagraphSeparator(c))
            continue; // objects and block separators are not text
        if (c == 0x00AD) {
            std::memcpy(o, "\\-", 2); // the optional hyphen
            o += 2;
            continue;
        }
        // \u takes a signed 16-bit number; characters beyond U+FFFF go as their two
        // surrogates, each with its own fallback. The space ends the number: some readers
        // (pandoc) skip one character too many after a fallback that follows it directly.
        *o++ = '\\';
        *o++ = 'u';
        o = std::to_chars(o, o + 8, int(int16_t(c))).ptr;
        *o++ = ' ';
        *o++ = (c >= 0xD800 && c <= 0xDFFF) ? '?' : fallbackFor(c);
    }
    out.advance(o);
}

} // namespace formats::rtf::detail
