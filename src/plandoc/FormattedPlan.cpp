#include "plandoc/FormattedPlan.h"

#include "formats/DocumentStructure.h"
#include "formats/PrintLayout.h"
#include "plan/PlanRecord.h"
#include "plandoc/Projection.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <vector>

namespace plandoc::formattedplan {

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

    // The projection of the monthly income and expenses, under its lead line.
    void projectionTable(const plandoc::projection::Input &input)
    {
        paragraph(ProjectionLead, textFormat(12, true));
        m_cursor.insertBlock(QTextBlockFormat(), textFormat(12));
        plandoc::projection::insertTable(m_cursor, input);
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
    bool m_first = true;
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

} // namespace

const std::vector<Section> &sections()
{
    using L = std::vector<LeadIn>;
    static const std::vector<Section> all = {
        {QStringLiteral("Executive Summary"), {}},
        {QStringLiteral("The Business"),
         L{{QStringLiteral("Type of business"), QStringLiteral("BusType")},
           {QStringLiteral("What we provide"), QStringLiteral("Offer")},
           {QStringLiteral("Where it is sold"), QStringLiteral("SoldVia")},
           {QStringLiteral("Purpose"), QStringLiteral("BusPurp")},
           {QStringLiteral("The basic idea"), QStringLiteral("Idea")}}},
        {QStringLiteral("Goals"), {}},
        {QStringLiteral("The Market"),
         L{{QStringLiteral("Who will buy"), QStringLiteral("People")},
           {QStringLiteral("Why there is a market now"), QStringLiteral("Market")},
           {QStringLiteral("How we will reach them"), QStringLiteral("How")}}},
        {QStringLiteral("Where We Are Today"),
         L{{QStringLiteral("Current status"), QStringLiteral("Where")},
           {QStringLiteral("Current advertising"), QStringLiteral("Advertising")},
           {QStringLiteral("Current earnings"), QStringLiteral("Amount")},
           {QStringLiteral("Personnel"), QStringLiteral("Personnel")}}},
        {QStringLiteral("Management and Staff"), {}},
        {QStringLiteral("Products and Services"), {}},
        {QStringLiteral("Marketing Plan"),
         L{{QStringLiteral("Whom we market to"), QStringLiteral("ToWhom")},
           {QStringLiteral("How many people"), QStringLiteral("Number")},
           {QStringLiteral("How we will reach them"), QStringLiteral("Reach")},
           {QStringLiteral("How we differ from the competition"), QStringLiteral("Differ")},
           {QStringLiteral("Advertising and marketing types"), QStringLiteral("Types")},
           {QStringLiteral("Advertising plans"), QStringLiteral("Plans")},
           {QStringLiteral("Advertising strategy"), QStringLiteral("InGoals")}}},
        {QStringLiteral("Financial Plan"),
         L{{QStringLiteral("Production costs"), QStringLiteral("Cost")},
           {QStringLiteral("Basic monthly expenses"), QStringLiteral("Expenses")},
           {QStringLiteral("Advertising budget"), QStringLiteral("Adv")},
           {QStringLiteral("Equipment purchases"), QStringLiteral("Equip")},
           {QStringLiteral("Selling prices"), QStringLiteral("Charge")},
           {QStringLiteral("Sales goals"), QStringLiteral("Sell")},
           {QStringLiteral("Current monthly income"), QStringLiteral("MoIncome")},
           {QStringLiteral("Projected monthly income"), QStringLiteral("YrIncome")},
           {QStringLiteral("Projected monthly expenses"), QStringLiteral("MoExpenses")}}},
        {QStringLiteral("Other Information"), {}},
    };
    return all;
}

const std::vector<LeadIn> &productLeadIns()
{
    static const std::vector<LeadIn> all = {{QStringLiteral("Description"), QStringLiteral("ProdDesc")},
                                            {QStringLiteral("How it is produced"), QStringLiteral("ProdProd")},
                                            {QStringLiteral("How it compares"), QStringLiteral("ProdCompare")},
                                            {QStringLiteral("How it differs"), QStringLiteral("ProdDiffer")}};
    return all;
}

QStringList goalLists() { return {QStringLiteral("Short-term goals"), QStringLiteral("Long-term goals")}; }

QString unnamedProduct(int number) { return QStringLiteral("Product or Service %1").arg(number); }

// "Products and Services for Consumers", as much of it as is answered.
QString provides(const QString &offer, const QString &customers)
{
    if (customers.isEmpty())
        return offer;
    return (offer.isEmpty() ? QStringLiteral("For ") : offer + QStringLiteral(" for ")) + customers;
}

std::pair<QString, QString> offerAndCustomers(const QString &provides)
{
    if (provides.startsWith(QLatin1String("For ")))
        return {QString(), provides.mid(4)};
    const qsizetype at = provides.indexOf(QLatin1String(" for "));
    return at < 0 ? std::pair{provides, QString()} : std::pair{provides.left(at), provides.mid(at + 5)};
}

// The answer completes "The purpose of our business is to ".
QString purposeText(const QString &purpose)
{
    return purpose.isEmpty() || purpose.startsWith(QLatin1String("to "), Qt::CaseInsensitive)
        ? purpose
        : QStringLiteral("To ") + purpose;
}

QString purposeAnswer(const QString &text)
{
    return text.startsWith(QLatin1String("To ")) ? text.mid(3) : text;
}

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
    const auto numbered = [&](int i) { return QStringLiteral("%1. %2").arg(i + 1).arg(sections()[i].title); };

    b.paragraph(QStringLiteral("Contents"), textFormat(18, true), Qt::AlignLeft, true);
    for (int i = 0; i < int(sections().size()); ++i) {
        b.contentsLine(1, numbered(i));
        if (i == 6)
            for (const Product &product : items)
                b.contentsLine(2, product.name);
    }

    const auto leadIns = [&](int section) {
        const std::vector<Shown> answers = given(p, sections()[section].leadIns);
        b.heading(1, numbered(section));
        if (answers.empty())
            b.toBeCompleted();
        for (const Shown &l : answers)
            b.leadIn(l);
    };

    b.heading(1, numbered(0), true);
    const QStringList draft = summary(p);
    if (draft.isEmpty())
        b.toBeCompleted();
    for (const QString &line : draft)
        b.paragraph(line, textFormat(12));

    leadIns(1);

    b.heading(1, numbered(2));
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

    leadIns(3);
    leadIns(4);

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
        for (const Shown &l : product.answers)
            b.leadIn(l);
    }

    leadIns(7);
    leadIns(8);
    if (!plandoc::projection::amountsInAnswer(p.YrIncome).isEmpty() || !plandoc::projection::amountsInAnswer(p.MoExpenses).isEmpty()) {
        plandoc::projection::Input input{plandoc::projection::prefillRow(p.YrIncome), plandoc::projection::prefillRow(p.MoExpenses), 0,
                                QLocale().currencySymbol(), plandoc::projection::defaultFirstMonth(today)};
        b.projectionTable(input);
    }

    b.heading(1, numbered(9));
    if (holdsAnswer(p.Info))
        b.paragraph(shown(p.Info), textFormat(12));
    else
        b.toBeCompleted();

    formats::printlayout::numberContents(doc);
}

} // namespace plandoc::formattedplan
