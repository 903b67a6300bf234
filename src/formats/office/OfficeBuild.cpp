#include "formats/office/OfficeBuild.h"

#include "formats/DocumentStructure.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace formats::office {

namespace {

// Characters Qt would make into something else than text: line ends and its paragraph and
// frame marks would start blocks nothing counted, as Qt's cursor splits text at them.
bool meansMore(char16_t c) { return (c < 0x20 && c != u'\t') || isBlockBreak(c) || isMarker(c); }

QString asText(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return meansMore(c.unicode()); }))
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (isLineEnd(u))
            out += QLatin1Char(' ');
        else if (isParagraphSeparator(u))
            out += QChar(QChar::LineSeparator);
        else if (isMarker(u))
            out += QChar(QChar::ReplacementCharacter);
        else if (!meansMore(u))
            out += c;
    }
    return out;
}

} // namespace

void setFamily(QTextCharFormat &format, const QString &family)
{
    format.setProperty(QTextFormat::FontFamilies, family);
}

QString tableTooLarge()
{
    return QStringLiteral("The file holds a table larger than this program can show, so it cannot be read.");
}

// Equal formats hash alike; the few properties the readers set keep unequal ones apart.
size_t Builder::FormatHash::operator()(const QTextCharFormat &f) const
{
    return qHashMulti(0, f.stringProperty(QTextFormat::FontFamilies), f.doubleProperty(QTextFormat::FontPointSize),
                      f.intProperty(QTextFormat::FontWeight), f.foreground().color().rgba(), f.fontItalic(),
                      f.fontUnderline(), f.fontStrikeOut(), int(f.verticalAlignment()));
}

void Builder::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = why;
}

bool Builder::addBlocks(qint64 n)
{
    m_blocks += n;
    if (m_blocks > formats::MaxParagraphs)
        fail(formats::tooManyParagraphs());
    return !failed();
}

bool Builder::addCells(qint64 n)
{
    m_cells += n;
    if (m_cells > formats::MaxTableCells)
        fail(formats::tooManyTableCells());
    return addBlocks(n);
}

void Builder::paragraph(const QTextBlockFormat &format)
{
    if (failed() || (!m_fresh && !addBlocks(1)))
        return;
    m_length = 0;
    m_format = format;
    QTextBlockFormat f = format;
    if (m_breakNext)
        f.setPageBreakPolicy(f.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    m_breakNext = false;
    m_steps.push_back({m_fresh ? Step::Paragraph : Step::NewParagraph, int(m_blockFormats.size())});
    m_blockFormats.push_back(f);
    m_fresh = false;
}

// Each distinct format costs Qt's format collection a look among the others, and each
// font a search of the system's fonts when the text is laid out.
int Builder::formatIndex(const QTextCharFormat &format)
{
    const auto [it, added] = m_formatIndex.try_emplace(format, int(m_formats.size()));
    if (!added)
        return it->second;
    m_formats.push_back(format);
    if (qsizetype(m_formats.size()) > formats::MaxCharFormats) {
        fail(formats::tooManyCharFormats());
        return -1;
    }
    const QString family = format.property(QTextFormat::FontFamilies).toStringList().value(0);
    if (!family.isEmpty()) {
        m_fonts.insert(family.toCaseFolded());
        if (m_fonts.size() > formats::MaxFontsUsed) {
            fail(formats::tooManyFontsUsed());
            return -1;
        }
    }
    return it->second;
}

void Builder::text(const QString &raw, const QTextCharFormat &format)
{
    if (failed() || raw.isEmpty())
        return;
    const QString text = asText(raw);
    if (text.isEmpty())
        return;
    // Text after a page break inside a paragraph goes on in a new one on the next page.
    if (m_fresh || m_breakNext) {
        paragraph(m_fresh ? QTextBlockFormat() : m_format);
        if (failed())
            return;
    }
    // Qt joins text to the run before it when their formats are equal.
    const bool sameRun = m_length > 0 && m_runFormat >= 0 && format == m_formats[size_t(m_runFormat)];
    if (!sameRun) {
        if (++m_runs > formats::MaxRuns) {
            fail(formats::tooManyRuns());
            return;
        }
        if ((m_runFormat = formatIndex(format)) < 0)
            return;
    }
    m_length += text.size();
    if (m_length > formats::MaxParagraphLength) {
        fail(formats::paragraphTooLong());
        return;
    }
    if (sameRun && !m_steps.empty() && m_steps.back().kind == Step::Text)
        m_steps.back().c += text.size();
    else
        m_steps.push_back({Step::Text, m_runFormat, m_text.size(), text.size()});
    m_text += text;
}

void Builder::picture(const formats::Picture &picture)
{
    if (failed())
        return;
    if (m_fresh || m_breakNext) {
        paragraph(m_fresh ? QTextBlockFormat() : m_format);
        if (failed())
            return;
    }
    if (++m_runs > formats::MaxRuns) {
        fail(formats::tooManyRuns());
        return;
    }
    if (++m_length > formats::MaxParagraphLength) {
        fail(formats::paragraphTooLong());
        return;
    }
    m_runFormat = -1; // text after it starts a run of its own
    m_steps.push_back({Step::Picture, int(m_pictures.size())});
    m_pictures.push_back(picture);
}

void Builder::listItem(const QString &key, QTextListFormat::Style style, int level)
{
    if (failed())
        return;
    int index = m_listIndex.value(key, -1);
    if (index < 0) {
        index = int(m_lists.size());
        m_listIndex.insert(key, index);
        m_lists.push_back({style, std::clamp(level, 0, 8) + 1});
    }
    m_steps.push_back({Step::ListItem, index});
}

// The table's one cell and the block after it are new blocks.
void Builder::startTable()
{
    if (failed() || !addCells(1) || !addBlocks(1))
        return;
    m_open.push_back({m_tables.size()});
    m_steps.push_back({Step::StartTable, int(m_tables.size())});
    m_tables.push_back({});
    m_tables.back().pageBreak = m_breakNext;
    m_breakNext = false;
}

void Builder::startRow()
{
    if (failed() || m_open.empty())
        return;
    Open &o = m_open.back();
    o.column = 0;
    if (++o.row > 0)
        addCells(m_tables[o.table].columns);
    m_tables[o.table].rows = std::max(o.row + 1, 1);
}

void Builder::cell(int columnSpan)
{
    if (failed() || m_open.empty())
        return;
    Open &o = m_open.back();
    Table &t = m_tables[o.table];
    if (o.row < 0)
        startRow();
    const int span = std::clamp(columnSpan, 1, MaxTableColumns);
    const int needed = o.column + span;
    if (needed > MaxTableColumns) {
        fail(tableTooLarge());
        return;
    }
    if (needed > t.columns) {
        if (!addCells(qint64(o.row + 1) * (needed - t.columns)))
            return;
        t.columns = needed;
    }
    if (span > 1)
        t.spans.push_back({o.row, o.column, span});
    m_steps.push_back({Step::Cell, o.row, o.column});
    o.column += span;
    m_fresh = true;
    m_length = 0;
}

void Builder::endTable()
{
    if (failed() || m_open.empty())
        return;
    m_open.pop_back();
    m_steps.push_back({Step::EndTable});
    m_fresh = true; // the block after the table
}

void Builder::leftOut(const QString &what)
{
    if (!m_leftOut.contains(what))
        m_leftOut << what;
}

QString Builder::leftOutText() const
{
    if (m_leftOut.size() <= 1)
        return m_leftOut.value(0);
    return m_leftOut.mid(0, m_leftOut.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + m_leftOut.last();
}

void Builder::build(QTextDocument &doc) const
{
    doc.clear();
    QTextCursor cursor(&doc);
    // One edit: the cursor leaves the layout alone until the whole text is in.
    cursor.beginEditBlock();
    std::vector<QTextList *> lists(m_lists.size(), nullptr);
    std::vector<std::pair<QTextTable *, const Table *>> tables; // the open ones
    for (const Step &s : m_steps) {
        switch (s.kind) {
        case Step::Paragraph:
            cursor.setBlockFormat(m_blockFormats[size_t(s.a)]);
            break;
        case Step::NewParagraph:
            cursor.insertBlock(m_blockFormats[size_t(s.a)]);
            break;
        case Step::Text:
            cursor.insertText(QString::fromRawData(m_text.constData() + s.b, s.c), m_formats[size_t(s.a)]);
            break;
        case Step::Picture:
            formats::pictures::insert(cursor, m_pictures[size_t(s.a)]);
            break;
        case Step::ListItem:
            if (QTextList *&list = lists[size_t(s.a)]) {
                list->add(cursor.block());
            } else {
                QTextListFormat f;
                f.setStyle(m_lists[size_t(s.a)].style);
                f.setIndent(m_lists[size_t(s.a)].level);
                list = cursor.createList(f);
            }
            break;
        case Step::StartTable: {
            const Table &t = m_tables[size_t(s.a)];
            QTextTableFormat tf;
            tf.setBorder(1);
            tf.setCellPadding(2);
            tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            if (t.pageBreak)
                tf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            tables.emplace_back(cursor.insertTable(t.rows, t.columns, tf), &t);
            break;
        }
        case Step::Cell:
            cursor = tables.back().first->cellAt(s.a, int(s.b)).firstCursorPosition();
            break;
        case Step::EndTable: {
            const auto [table, t] = tables.back();
            tables.pop_back();
            for (const Span &span : t->spans)
                table->mergeCells(span.row, span.column, 1, span.length);
            cursor.setPosition(table->lastPosition() + 1);
            break;
        }
        }
    }
    cursor.endEditBlock();
}

Result readThenBuild(QTextDocument &doc, const std::function<QString(Builder &)> &read, QString &leftOut)
{
    Builder builder;
    if (const QString error = read(builder); !error.isEmpty())
        return Result::failed(error);
    if (builder.failed())
        return Result::failed(builder.error());
    builder.build(doc);
    leftOut = builder.leftOutText();
    return {};
}

} // namespace formats::office
