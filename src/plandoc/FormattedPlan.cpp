#include "plandoc/FormattedPlan.h"
#include "plandoc/PlanSections.h"

#include "formats/DocumentStructure.h"
#include "formats/PrintLayout.h"
#include "plan/PlanRecord.h"
#include "plandoc/CoverLogo.h"
#include "plandoc/FinancialTables.h"
#include "plandoc/FinancialText.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <vector>

namespace plandoc::formattedplan {

namespace {

const QString Family = QStringLiteral("Arial");
// The cover's line under the name, and the name of a plan without one.
const QString BusinessPlan = QStringLiteral("Business Plan");

QTextCharFormat textFormat(qreal points, bool bold = false, bool italic = false)
{
    QTextCharFormat f;
    f.setFontFamilies({Family});
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    return f;
}

// The answer as the page stored it, without the number a goal, employee or product name
// starts with ("1.  "), and with its lines kept inside one paragraph.
QString shown(const QString &value, bool numbered = false)
{
    QString t = value.trimmed();
    if (numbered) {
        static const QRegularExpression prefix(QStringLiteral("^\\d+\\.\\s*"));
        t.remove(prefix);
    }
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return t;
}

// A lead-in with the answer it shows.
struct Shown {
    QString label;
    QString value;
};

class Builder {
public:
    explicit Builder(QTextDocument &doc) : m_cursor(&doc) {}

    void paragraph(const QString &text, const QTextCharFormat &format, Qt::Alignment align = Qt::AlignLeft,
                   bool newPage = false)
    {
        QTextBlockFormat block;
        block.setAlignment(align);
        block.setBottomMargin(6);
        add(block, format, text, newPage);
    }

    void title(const QString &text)
    {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignCenter);
        block.setTopMargin(144);
        block.setBottomMargin(18);
        block.setProperty(formats::TitleProperty, true);
        add(block, textFormat(28, true), text);
    }

    void heading(int level, const QString &text, bool newPage = false)
    {
        QTextBlockFormat block;
        block.setHeadingLevel(level);
        block.setTopMargin(level == 1 ? 18 : 12);
        block.setBottomMargin(6);
        add(block, textFormat(level == 1 ? 18 : 14, true), text, newPage);
    }

    // The page number's tab stop is set where the page's width is known (PrintLayout).
    void contentsLine(int level, const QString &entry)
    {
        QTextBlockFormat block;
        block.setProperty(formats::ContentsLevelProperty, level);
        block.setIndent(level - 1);
        block.setBottomMargin(4);
        add(block, textFormat(12), entry + QStringLiteral("\t0"));
    }

    // A bold lead-in naming the question, then the answer in the same paragraph.
    void leadIn(const Shown &l)
    {
        paragraph(leadInText(l.label), textFormat(12, true));
        m_cursor.insertText(l.value, textFormat(12));
    }

    void list(const QStringList &items, QTextListFormat::Style style)
    {
        QTextList *list = nullptr;
        for (const QString &item : items) {
            paragraph(item, textFormat(12));
            if (!list) {
                QTextListFormat f;
                f.setStyle(style);
                list = m_cursor.createList(f);
            } else {
                list->add(m_cursor.block());
            }
        }
    }

    // The funding request or the figures, from a paragraph of their own.
    void finance(void (*write)(QTextCursor &, const finance::FinancialPlan &, const QTextCharFormat &),
                 const finance::FinancialPlan &plan)
    {
        m_cursor.insertBlock(QTextBlockFormat(), textFormat(12));
        write(m_cursor, plan, textFormat(12));
        // Ending in a table, it leaves the empty paragraph Qt keeps after one: the next
        // paragraph goes there, so no blank line that word processors would space out.
        m_first = m_cursor.block().text().isEmpty();
    }

    void toBeCompleted() { paragraph(QStringLiteral("To be completed."), textFormat(12, false, true)); }

private:
    // A new paragraph of the text, the first one in the document's own first block.
    void add(QTextBlockFormat block, const QTextCharFormat &format, const QString &text, bool newPage = false)
    {
        if (newPage)
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (m_first) {
            m_cursor.setBlockFormat(block);
            m_cursor.setBlockCharFormat(format);
            m_first = false;
        } else {
            m_cursor.insertBlock(block, format);
        }
        m_cursor.insertText(text, format);
    }

    QTextCursor m_cursor;
    bool m_first = true; // the cursor stands in an empty paragraph the next one takes
};

// The answers of lead-ins that were given, in order; n picks a product's fields.
std::vector<Shown> given(const PlanRecord &p, const std::vector<LeadIn> &leadIns, int n = 0);

template <std::size_t N>
QStringList givenItems(const std::array<QString, N> &values, bool numbered)
{
    QStringList out;
    for (std::size_t i = 0; i < N; ++i)
        if (holdsAnswer(values[i], goalPrefix(int(i) + 1)))
            out << shown(values[i], numbered);
    return out;
}

QString answer(const QString &v) { return holdsAnswer(v) ? shown(v) : QString(); }

std::vector<Shown> given(const PlanRecord &p, const std::vector<LeadIn> &leadIns, int n)
{
    std::vector<Shown> out;
    for (const LeadIn &l : leadIns) {
        const QString field = n ? l.field + QString::number(n) : l.field;
        QString value = answer(planField(field).get(p));
        if (field == u"Offer")
            value = provides(value, answer(p.Customers.text()));
        else if (field == u"BusPurp")
            value = purposeText(value);
        if (!value.isEmpty())
            out.push_back({l.label, value});
    }
    return out;
}

// A first draft of the summary from answers already given, ending with the request and
// the first year's figures.
QStringList summary(const PlanRecord &p, const finance::FinancialPlan &money)
{
    const QString name = answer(p.Name);
    const QString type = answer(p.BusType.text());
    const QString offer = answer(p.Offer.text());
    const QString customers = answer(p.Customers.text());
    QString first = name.isEmpty() ? QStringLiteral("Our business") : name;
    if (!type.isEmpty())
        first += QStringLiteral(" is a ") + type.toLower();
    if (!offer.isEmpty()) {
        first += (type.isEmpty() ? QStringLiteral(" provides ") : QStringLiteral(" providing ")) + offer.toLower();
        if (!customers.isEmpty())
            first += QStringLiteral(" for ") + customers.toLower();
    }
    if (QString via = answer(p.SoldVia); !via.isEmpty()) {
        // "Retail at our counter" reads on as "sold via retail at our counter".
        if (via.size() > 1 && via[1].isLower())
            via[0] = via[0].toLower();
        first += QStringLiteral(", sold via ") + via;
    }
    QStringList out;
    if (first != name && first != QStringLiteral("Our business"))
        out << (first.back().isPunct() ? first : first + QLatin1Char('.'));
    if (const QString purpose = answer(p.BusPurp); !purpose.isEmpty())
        out << QStringLiteral("The purpose of our business is to ") + purpose;
    if (const QStringList s = givenItems(p.BusSTG, true); !s.isEmpty())
        out << QStringLiteral("Our first short-term goal: ") + s.first();
    if (const QStringList l = givenItems(p.BusLTG, true); !l.isEmpty())
        out << QStringLiteral("Our first long-term goal: ") + l.first();
    if (const QString figures = finance::summaryParagraph(money, finance::compute(money)); !figures.isEmpty())
        out << figures;
    return out;
}

void cover(Builder &b, const PlanRecord &p, const QDate &today)
{
    const QString name = answer(p.Name);
    b.title(name.isEmpty() ? BusinessPlan : name);
    if (!name.isEmpty())
        b.paragraph(BusinessPlan, textFormat(18), Qt::AlignCenter);
    b.paragraph(QString(), textFormat(12), Qt::AlignCenter);
    QStringList place;
    for (const QString *v : {&p.City, &p.State, &p.Zip})
        if (holdsAnswer(*v))
            place << v->trimmed();
    QStringList lines = {answer(p.Add1), answer(p.Add2), place.join(QLatin1Char(' '))};
    const std::pair<const char *, const QString *> contacts[] = {
        {"Phone: ", &p.Phone}, {"Fax: ", &p.Fax}, {"Email: ", &p.Email}};
    for (const auto &[label, v] : contacts)
        if (holdsAnswer(*v))
            lines << QString::fromLatin1(label) + v->trimmed();
    if (holdsAnswer(p.URL, QStringLiteral("http://")))
        lines << p.URL.trimmed();
    for (const QString &l : std::as_const(lines))
        if (!l.isEmpty())
            b.paragraph(l, textFormat(12), Qt::AlignCenter);
    b.paragraph(QString(), textFormat(12), Qt::AlignCenter);
    b.paragraph(QLocale(QLocale::English).toString(today, QStringLiteral("MMMM yyyy")), textFormat(12),
                Qt::AlignCenter);
}

struct Product {
    QString name;
    std::vector<Shown> answers;
};

std::vector<Product> products(const PlanRecord &p)
{
    std::vector<Product> out;
    for (int i = 0; i < 5; ++i) {
        Product product{holdsAnswer(p.ProdServ[i], goalPrefix(i + 1)) ? shown(p.ProdServ[i], true) : QString(),
                        given(p, productLeadIns(), i + 1)};
        if (product.name.isEmpty() && product.answers.empty())
            continue;
        if (product.name.isEmpty())
            product.name = unnamedProduct(i + 1);
        out.push_back(std::move(product));
    }
    return out;
}

// Paragraphs of text, or "To be completed." when there are none.
void writeLines(Builder &b, const QStringList &lines)
{
    if (lines.isEmpty())
        b.toBeCompleted();
    for (const QString &line : lines)
        b.paragraph(line, textFormat(12));
}

void writeLeadIns(Builder &b, const std::vector<Shown> &answers)
{
    if (answers.empty())
        b.toBeCompleted();
    for (const Shown &l : answers)
        b.leadIn(l);
}

void writeGoals(Builder &b, const PlanRecord &p)
{
    const QStringList shortTerm = givenItems(p.BusSTG, true);
    const QStringList longTerm = givenItems(p.BusLTG, true);
    if (shortTerm.isEmpty() && longTerm.isEmpty())
        b.toBeCompleted();
    for (const auto &[label, goals] : {std::pair{goalLists()[0], shortTerm}, std::pair{goalLists()[1], longTerm}}) {
        if (goals.isEmpty())
            continue;
        b.paragraph(label, textFormat(12, true));
        b.list(goals, QTextListFormat::ListDecimal);
    }
}

void writeStaff(Builder &b, const PlanRecord &p)
{
    QStringList staff;
    for (int i = 0; i < 10; ++i)
        if (holdsAnswer(p.Emp[i], employeeEmpty(i + 1)))
            staff << shown(p.Emp[i], true);
    if (staff.isEmpty())
        b.toBeCompleted();
    b.list(staff, QTextListFormat::ListDisc);
}

void writeProducts(Builder &b, const std::vector<Product> &items)
{
    if (items.empty())
        b.toBeCompleted();
    for (const Product &product : items) {
        b.heading(2, product.name);
        for (const Shown &l : product.answers)
            b.leadIn(l);
    }
}

} // namespace

QString documentTitle(const PlanRecord &plan)
{
    const QString name = plan.Name.trimmed();
    return holdsAnswer(name) ? documentTitle(name) : BusinessPlan;
}

QString documentTitle(const QString &title)
{
    const QString name = title.trimmed();
    return name.isEmpty() || name == BusinessPlan ? BusinessPlan : name + QStringLiteral(" - ") + BusinessPlan;
}

void compose(QTextDocument &doc, const PlanRecord &p, const QDate &today, const formats::Picture *logo)
{
    finance::FinancialPlan money;
    finance::refreshFromAnswers(money, p.YrIncome, p.MoExpenses, today, QLocale().currencySymbol());
    compose(doc, p, money, today, logo);
}

void compose(QTextDocument &doc, const PlanRecord &p, const finance::FinancialPlan &money, const QDate &today,
             const formats::Picture *logo)
{
    doc.clear();
    doc.setMetaInformation(QTextDocument::DocumentTitle, documentTitle(p));
    Builder b(doc);
    cover(b, p, today);

    // The funding request shows only when an amount is asked for; the others always.
    std::vector<const Section *> present;
    for (const Section &section : sections())
        if (section.kind != SectionKind::Funding || money.hasLoan())
            present.push_back(&section);

    const std::vector<Product> items = products(p);
    b.paragraph(QStringLiteral("Contents"), textFormat(18, true), Qt::AlignLeft, true);
    for (std::size_t i = 0; i < present.size(); ++i) {
        b.contentsLine(1, sectionHeading(int(i) + 1, *present[i]));
        if (present[i]->kind == SectionKind::Products)
            for (const Product &product : items)
                b.contentsLine(2, product.name);
    }

    for (std::size_t i = 0; i < present.size(); ++i) {
        const Section &section = *present[i];
        b.heading(1, sectionHeading(int(i) + 1, section), i == 0); // the sections start on a page of their own
        switch (section.kind) {
        case SectionKind::Summary: writeLines(b, summary(p, money)); break;
        case SectionKind::Funding: b.finance(finance::writeFunding, money); break;
        case SectionKind::Goals: writeGoals(b, p); break;
        case SectionKind::Staff: writeStaff(b, p); break;
        case SectionKind::Products: writeProducts(b, items); break;
        case SectionKind::Other: writeLines(b, holdsAnswer(p.Info) ? QStringList{shown(p.Info)} : QStringList()); break;
        default: writeLeadIns(b, given(p, section.leadIns)); break;
        }
        if (section.kind == SectionKind::Financial && money.hasFigures())
            b.finance(finance::writeFigures, money);
    }

    if (logo && !logo->image.isNull())
        coverlogo::insert(QTextCursor(doc.begin()), *logo);
    formats::printlayout::numberContents(doc);
}

} // namespace plandoc::formattedplan
