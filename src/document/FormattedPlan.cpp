#include "document/FormattedPlan.h"

#include "document/DocumentStructure.h"
#include "document/output/PrintLayout.h"
#include "plan/PlanRecord.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <vector>

namespace formattedplan {

namespace {

const QString Family = QStringLiteral("Arial");

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

struct LeadIn {
    const char *label;
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
        if (newPage)
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        start(block, format);
        m_cursor.insertText(text, format);
    }

    void title(const QString &text)
    {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignCenter);
        block.setTopMargin(144);
        block.setBottomMargin(18);
        block.setProperty(docstruct::TitleProperty, true);
        start(block, textFormat(28, true));
        m_cursor.insertText(text, textFormat(28, true));
    }

    void heading(int level, const QString &text, bool newPage = false)
    {
        QTextBlockFormat block;
        block.setHeadingLevel(level);
        block.setTopMargin(level == 1 ? 18 : 12);
        block.setBottomMargin(6);
        if (newPage)
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        const QTextCharFormat format = textFormat(level == 1 ? 18 : 14, true);
        start(block, format);
        m_cursor.insertText(text, format);
    }

    // The page number's tab stop is set where the page's width is known (PrintLayout).
    void contentsLine(int level, const QString &entry)
    {
        QTextBlockFormat block;
        block.setProperty(docstruct::ContentsLevelProperty, level);
        block.setIndent(level - 1);
        block.setBottomMargin(4);
        start(block, textFormat(12));
        m_cursor.insertText(entry + QStringLiteral("\t0"), textFormat(12));
    }

    // A bold lead-in naming the question, then the answer in the same paragraph.
    void leadIn(const LeadIn &l)
    {
        paragraph(QString::fromLatin1(l.label) + QStringLiteral(": "), textFormat(12, true));
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

    void toBeCompleted() { paragraph(QStringLiteral("To be completed."), textFormat(12, false, true)); }

private:
    void start(const QTextBlockFormat &block, const QTextCharFormat &format)
    {
        if (m_first) {
            m_cursor.setBlockFormat(block);
            m_cursor.setBlockCharFormat(format);
            m_first = false;
        } else {
            m_cursor.insertBlock(block, format);
        }
    }

    QTextCursor m_cursor;
    bool m_first = true;
};

// The answers of a section that were given, in order.
std::vector<LeadIn> given(std::initializer_list<LeadIn> all)
{
    std::vector<LeadIn> out;
    for (const LeadIn &l : all)
        if (holdsAnswer(l.value))
            out.push_back(l);
    return out;
}

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

// "Products and Services for Consumers", as much of it as is answered.
QString provides(const PlanRecord &p)
{
    const QString offer = answer(p.Offer.text());
    const QString customers = answer(p.Customers.text());
    if (customers.isEmpty())
        return offer;
    return (offer.isEmpty() ? QStringLiteral("For ") : offer + QStringLiteral(" for ")) + customers;
}

// The answer completes "The purpose of our business is to ".
QString purpose(const PlanRecord &p)
{
    const QString v = answer(p.BusPurp);
    return v.isEmpty() || v.startsWith(QLatin1String("to "), Qt::CaseInsensitive) ? v : QStringLiteral("To ") + v;
}

// A first draft of the summary from answers already given.
QStringList summary(const PlanRecord &p)
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
    return out;
}

void cover(Builder &b, const PlanRecord &p, const QDate &today)
{
    const QString name = answer(p.Name);
    b.title(name.isEmpty() ? QStringLiteral("Business Plan") : name);
    if (!name.isEmpty())
        b.paragraph(QStringLiteral("Business Plan"), textFormat(18), Qt::AlignCenter);
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
    std::vector<LeadIn> answers;
};

std::vector<Product> products(const PlanRecord &p)
{
    std::vector<Product> out;
    for (int i = 0; i < 5; ++i) {
        Product product{holdsAnswer(p.ProdServ[i], goalPrefix(i + 1)) ? shown(p.ProdServ[i], true) : QString(),
                        given({{"Description", answer(p.ProdDesc[i])},
                               {"How it is produced", answer(p.ProdProd[i])},
                               {"How it compares", answer(p.ProdCompare[i])},
                               {"How it differs", answer(p.ProdDiffer[i])}})};
        if (product.name.isEmpty() && product.answers.empty())
            continue;
        if (product.name.isEmpty())
            product.name = QStringLiteral("Product or Service %1").arg(i + 1);
        out.push_back(std::move(product));
    }
    return out;
}

} // namespace

QString documentTitle(const PlanRecord &plan)
{
    const QString name = plan.Name.trimmed();
    return holdsAnswer(name) ? name + QStringLiteral(" - Business Plan") : QStringLiteral("Business Plan");
}

void compose(QTextDocument &doc, const PlanRecord &p, const QDate &today)
{
    doc.clear();
    doc.setMetaInformation(QTextDocument::DocumentTitle, documentTitle(p));
    Builder b(doc);
    cover(b, p, today);

    const std::vector<Product> items = products(p);
    const QStringList sections = {
        QStringLiteral("Executive Summary"), QStringLiteral("The Business"), QStringLiteral("Goals"),
        QStringLiteral("The Market"), QStringLiteral("Where We Are Today"), QStringLiteral("Management and Staff"),
        QStringLiteral("Products and Services"), QStringLiteral("Marketing Plan"), QStringLiteral("Financial Plan"),
        QStringLiteral("Other Information")};
    const auto numbered = [&](int i) { return QStringLiteral("%1. %2").arg(i + 1).arg(sections[i]); };

    b.paragraph(QStringLiteral("Contents"), textFormat(18, true), Qt::AlignLeft, true);
    for (int i = 0; i < sections.size(); ++i) {
        b.contentsLine(1, numbered(i));
        if (i == 6)
            for (const Product &product : items)
                b.contentsLine(2, product.name);
    }

    const auto leadIns = [&](int section, const std::vector<LeadIn> &answers) {
        b.heading(1, numbered(section), section == 0);
        if (answers.empty())
            b.toBeCompleted();
        for (const LeadIn &l : answers)
            b.leadIn(l);
    };

    b.heading(1, numbered(0), true);
    const QStringList draft = summary(p);
    if (draft.isEmpty())
        b.toBeCompleted();
    for (const QString &line : draft)
        b.paragraph(line, textFormat(12));

    leadIns(1, given({{"Type of business", answer(p.BusType.text())},
                      {"What we provide", provides(p)},
                      {"Where it is sold", answer(p.SoldVia)},
                      {"Purpose", purpose(p)},
                      {"The basic idea", answer(p.Idea)}}));

    b.heading(1, numbered(2));
    const QStringList shortTerm = givenItems(p.BusSTG, true);
    const QStringList longTerm = givenItems(p.BusLTG, true);
    if (shortTerm.isEmpty() && longTerm.isEmpty())
        b.toBeCompleted();
    for (const auto &[label, goals] : {std::pair{"Short-term goals", shortTerm}, std::pair{"Long-term goals", longTerm}}) {
        if (goals.isEmpty())
            continue;
        b.paragraph(QString::fromLatin1(label), textFormat(12, true));
        b.list(goals, QTextListFormat::ListDecimal);
    }

    leadIns(3, given({{"Who will buy", answer(p.People)},
                      {"Why there is a market now", answer(p.Market)},
                      {"How we will reach them", answer(p.How)}}));
    leadIns(4, given({{"Current status", answer(p.Where)},
                      {"Current advertising", answer(p.Advertising)},
                      {"Current earnings", answer(p.Amount)},
                      {"Personnel", answer(p.Personnel)}}));

    b.heading(1, numbered(5));
    QStringList staff;
    for (int i = 0; i < 10; ++i)
        if (holdsAnswer(p.Emp[i], employeeEmpty(i + 1)))
            staff << shown(p.Emp[i], true);
    if (staff.isEmpty())
        b.toBeCompleted();
    b.list(staff, QTextListFormat::ListDisc);

    b.heading(1, numbered(6));
    if (items.empty())
        b.toBeCompleted();
    for (const Product &product : items) {
        b.heading(2, product.name);
        for (const LeadIn &l : product.answers)
            b.leadIn(l);
    }

    leadIns(7, given({{"Whom we market to", answer(p.ToWhom)},
                      {"How many people", answer(p.Number)},
                      {"How we will reach them", answer(p.Reach)},
                      {"How we differ from the competition", answer(p.Differ)},
                      {"Advertising and marketing types", answer(p.Types)},
                      {"Advertising plans", answer(p.Plans)},
                      {"Advertising strategy", answer(p.InGoals)}}));
    leadIns(8, given({{"Production costs", answer(p.Cost)},
                      {"Basic monthly expenses", answer(p.Expenses)},
                      {"Advertising budget", answer(p.Adv)},
                      {"Equipment purchases", answer(p.Equip)},
                      {"Selling prices", answer(p.Charge)},
                      {"Sales goals", answer(p.Sell)},
                      {"Current monthly income", answer(p.MoIncome)},
                      {"Projected monthly income", answer(p.YrIncome)},
                      {"Projected monthly expenses", answer(p.MoExpenses)}}));

    b.heading(1, numbered(9));
    if (holdsAnswer(p.Info))
        b.paragraph(shown(p.Info), textFormat(12));
    else
        b.toBeCompleted();

    printlayout::numberContents(doc);
}

} // namespace formattedplan
