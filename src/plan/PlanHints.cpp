#include "plan/PlanHints.h"

#include <QHash>

namespace {

struct Row {
    const char *field;
    const char *hint;
    const char *example;
};

// Shared by the numbered groups: every line of a group asks the same thing.
constexpr const char *ShortGoal =
    "A short-term goal is one specific, measurable result the business means to reach within about a year.";
constexpr const char *LongGoal =
    "A long-term goal is a result the business means to reach in three to five years, such as growth, a new "
    "location or paying off debt.";
constexpr const char *Employee =
    "One person per line: name, position, full-time, part-time or volunteer, and the experience they bring.";
constexpr const char *ProdName =
    "A short name for the product or service, the same one you use later for its cost, price and sales.";
constexpr const char *ProdDesc = "What the customer gets, in a sentence or two.";
constexpr const char *ProdProd = "Who makes or delivers it, where and how, so a reader sees that you can supply it.";
constexpr const char *ProdCompare = "How it compares on price and quality with what customers buy today instead.";
constexpr const char *ProdDiffer = "What makes yours different enough that customers will choose it.";

// The example business: Juniper Hearth Bakery & Café, a partnership of two owners, open
// eight months, breaking even on about $42,000 of monthly sales and adding wholesale
// bread and custom cakes. Prices, volumes, costs and staff agree across the answers.
const Row Rows[] = {
    {"Name", "The name customers and lenders know the business by, exactly as it is registered.",
     "Juniper Hearth Bakery & Caf\u00e9"},
    {"Add1", "The street address where the business operates.", "214 Orchard Street"},
    {"Add2", "A suite, unit or floor when the address has one; leave the box empty if not.", "Suite B"},
    {"City", "The city or town of the business address.", "Linden Falls"},
    {"State", "The state, as its two-letter abbreviation.", "OR"},
    {"Zip", "The ZIP code of the business address.", "97999"},
    {"Phone", "The number where customers and lenders reach the business during opening hours.",
     "(541) 555-0142"},
    {"Fax", "A fax number if the business has one; leave the box empty if not.", "(541) 555-0143"},
    {"Email", "An address that someone at the business reads every day.", "hello@juniperhearth.example.com"},
    {"URL", "The address of the business's web site, if it has one.", "http://www.juniperhearth.example.com"},
    {"BusType", "The legal form of the business, which tells a reader who owns it and who answers for its debts.",
     "Partnership"},
    {"Offer", "Whether the business sells goods, services or both, so a reader knows how it earns its money.",
     "Products and Services"},
    {"Customers", "Whether the business sells to other businesses, to the public or to both.",
     "Businesses and Consumers"},
    {"SoldVia", "Every channel through which customers buy from you.",
     "Retail at our counter and caf\u00e9, wholesale delivery to local restaurants and grocers, and phone "
     "orders for cakes and catering (online orders from month 4)."},
    {"BusPurp", "Finish the sentence with what the business does and for whom, in one or two sentences.",
     "bake bread and pastries from scratch every morning and serve them, with good coffee and simple "
     "lunches, in a welcoming neighborhood caf\u00e9, and to supply local restaurants with fresh bread."},

    {"BusSTG1", ShortGoal, "1.  Raise average counter sales from $1,400 to $1,500 a day within 12 months."},
    {"BusSTG2", ShortGoal,
     "2.  Sign six wholesale bread accounts with local restaurants and grocers, 1,200 loaves a month, by "
     "month 9."},
    {"BusSTG3", ShortGoal, "3.  Sell 40 custom cakes a month by the end of the year, up from 25."},
    {"BusSTG4", ShortGoal, "4.  Take online pre-orders for bread and cakes on our web site from month 4."},
    {"BusSTG5", ShortGoal,
     "5.  Keep unsold food under 5% of what we bake, giving day-old bread to the Linden Falls Food Pantry."},
    {"BusLTG1", LongGoal, "1.  Pay off the $85,000 start-up loan and the $30,000 equipment loan within five years."},
    {"BusLTG2", LongGoal, "2.  Grow wholesale to 15 accounts and 3,000 loaves a month by year three."},
    {"BusLTG3", LongGoal, "3.  Open a second caf\u00e9 in nearby Riverbend by year five."},
    {"BusLTG4", LongGoal, "4.  Hold weekend baking classes for up to 12 students every month from year two."},
    {"BusLTG5", LongGoal, "5.  Give every full-time employee health insurance and paid leave by year three."},

    {"Idea", "What the business is and why people will come to it, in a few sentences.",
     "A scratch bakery and caf\u00e9 where bread comes out of a wood-fired oven every morning: customers buy a "
     "loaf to take home or stay for coffee, a pastry or a soup-and-sandwich lunch."},
    {"People", "Who your typical customers are, where they live or work, and why they buy.",
     "Neighbors and families within two miles, office workers from the two buildings on Orchard Street, and "
     "restaurants and grocers that want fresh local bread without baking it themselves."},
    {"Market", "What has changed or is missing today that makes customers ready to buy from you now.",
     "The town's only other bakery closed two years ago, two new office buildings brought 600 workers to our "
     "street, and local restaurants told us they buy their bread from a supplier 80 miles away."},
    {"How", "How your customers will hear of you and come to buy.",
     "Tastings at the shop, social media, flyers in the nearby office buildings, online pre-orders, and "
     "sample loaves delivered to restaurant owners."},
    {"Where", "How far the business has come: planning, about to open, or open and for how long.",
     "Open for eight months in a leased shop at 214 Orchard Street; the caf\u00e9 is busy at breakfast and "
     "lunch, sales now cover our costs, and we are ready to add wholesale bread."},
    {"Advertising", "The advertising you do now, or will start with, and roughly what it costs.",
     "A sidewalk sign, our web site, weekly social media posts, a loyalty card and a Chamber of Commerce "
     "listing, about $500 a month in all."},
    {"Amount", "Your recent monthly sales and how they have changed, if the business is already open.",
     "About $42,000 a month over the last three months, up from $24,000 in our first month; sales now cover "
     "all our costs."},
    {"Personnel", "How many people work in the business, full-time and part-time, and who runs it.",
     "Ten people: the two owners, three full-time and four part-time staff, and a volunteer bookkeeper; we "
     "will hire a part-time baker's assistant in month 4 for wholesale."},

    {"Emp1", Employee,
     "1.  Clara Mendes, co-owner and head baker, full-time: 12 years as a bread baker, the last five as head "
     "baker at a hotel."},
    {"Emp2", Employee,
     "2.  Owen Park, co-owner and caf\u00e9 manager, full-time: 8 years managing coffee shops; orders supplies "
     "and runs the caf\u00e9 floor."},
    {"Emp3", Employee,
     "3.  Rosa Alvarez, pastry cook, full-time: culinary school graduate with 4 years of pastry and cake "
     "decorating."},
    {"Emp4", Employee,
     "4.  Dev Patel, second baker, full-time: 3 years in a commercial bakery; will run the wholesale bake."},
    {"Emp5", Employee, "5.  Hannah Lee, counter shift lead, full-time: 5 years in caf\u00e9s; trains the counter staff."},
    {"Emp6", Employee, "6.  Marcus Green, counter and coffee, part-time (25 hours a week): 2 years as a barista."},
    {"Emp7", Employee,
     "7.  Amy Chen, counter and coffee, part-time (20 hours a week): college student, weekends and evenings."},
    {"Emp8", Employee, "8.  Sam Ortiz, lunch cook, part-time (25 hours a week): 6 years as a line cook."},
    {"Emp9", Employee, "9.  Lena Novak, dishwasher and kitchen prep, part-time (20 hours a week)."},
    {"Emp10", Employee, "10. Joe Mendes, bookkeeper, volunteer (4 hours a week): retired accountant."},

    {"ProdServ1", ProdName, "1.  Hearth breads"},
    {"ProdServ2", ProdName, "2.  Pastries"},
    {"ProdServ3", ProdName, "3.  Coffee and drinks"},
    {"ProdServ4", ProdName, "4.  Caf\u00e9 lunches"},
    {"ProdServ5", ProdName, "5.  Custom cakes and catering"},
    {"ProdDesc1", ProdDesc,
     "Sourdough, baguettes, seeded rye and a daily special loaf, sold at the counter and wholesale."},
    {"ProdDesc2", ProdDesc, "Croissants, morning buns, scones, fruit tarts and cookies."},
    {"ProdDesc3", ProdDesc, "Espresso drinks, drip coffee, tea, hot chocolate and lemonade."},
    {"ProdDesc4", ProdDesc, "A daily soup with bread and three sandwiches on our own bread, 11 a.m. to 3 p.m."},
    {"ProdDesc5", ProdDesc,
     "Celebration cakes to order, and bread, pastry and sandwich platters for meetings and parties."},
    {"ProdProd1", ProdProd,
     "Mixed in the afternoon, proofed overnight and baked from 4 a.m. by Clara and Dev in our wood-fired deck "
     "oven."},
    {"ProdProd2", ProdProd,
     "Rosa makes the laminated dough twice a week and bakes in small batches through the morning."},
    {"ProdProd3", ProdProd, "Made to order by the counter staff with beans from a roaster in Riverbend."},
    {"ProdProd4", ProdProd, "Sam cooks each morning with our bread and vegetables and meats from local farms."},
    {"ProdProd5", ProdProd,
     "Rosa bakes and decorates Tuesday to Thursday; orders come by phone or at the counter at least three "
     "days ahead."},
    {"ProdCompare1", ProdCompare,
     "Priced like the supermarket's premium loaves, $6 to $9, but baked the same morning instead of trucked "
     "in."},
    {"ProdCompare2", ProdCompare,
     "Priced like the coffee chains' pastries, $3 to $5, which arrive frozen and are reheated."},
    {"ProdCompare3", ProdCompare, "Our prices, $3 to $6, match the two coffee shops within half a mile."},
    {"ProdCompare4", ProdCompare, "At $12 it costs the same as the sandwich shops on Main Street."},
    {"ProdCompare5", ProdCompare, "Our 8-inch cake costs $50; the nearest cake shop, 20 miles away, charges $65."},
    {"ProdDiffer1", ProdDiffer, "Long fermentation and a wood-fired oven; no one else in Linden Falls bakes bread this way."},
    {"ProdDiffer2", ProdDiffer, "Made by hand with local butter and fruit in season."},
    {"ProdDiffer3", ProdDiffer, "Served with pastry fresh from the oven, in a caf\u00e9 with 30 seats."},
    {"ProdDiffer4", ProdDiffer, "Every sandwich is on bread baked that morning, and the soup changes daily."},
    {"ProdDiffer5", ProdDiffer,
     "Custom flavors, free local delivery, and our own bread and pastries on every platter."},

    {"ToWhom", "The groups of customers your marketing is aimed at.",
     "Households and office workers within two miles of Orchard Street, and the restaurants and grocers of "
     "Linden Falls and Riverbend."},
    {"Number", "How many potential customers those groups hold within the area you can serve.",
     "About 9,000 residents and 600 office workers within two miles, and 40 restaurants and grocers within 15 "
     "miles."},
    {"Reach", "The ways you will get your message to those customers.",
     "Weekly social media posts and ads, flyers in the two office buildings, the loyalty card, Chamber of "
     "Commerce events, and visits with sample loaves to every restaurant and grocer."},
    {"Differ", "Why a customer would choose you over the competition, in a sentence or two.",
     "We are the only bakery in town that bakes bread from scratch every morning in a wood-fired oven, and "
     "the only caf\u00e9 that serves lunch on bread baked the same day."},
    {"Types", "Every kind of advertising and marketing you use today.",
     "Social media ads and posts, the loyalty card, printed menus and flyers in the office buildings, and "
     "Chamber of Commerce events."},
    {"Plans", "The advertising you will add or change over the next one to two years, and when.",
     "Year one: a tasting for restaurant owners in month 3, online pre-orders in month 4 and catering menus "
     "for the office buildings; year two: a spring bread festival on Orchard Street, a cake-tasting open "
     "house and weekend baking classes."},

    {"Cost", "What one unit of each product or service costs you to make, so its price can be checked against it.",
     "Breads $2.10 a loaf on average; pastries $1.10 each; coffee and other drinks $0.90 a cup; caf\u00e9 "
     "lunches $3.80 a plate; custom cakes $15 for an 8-inch cake; catering platters about a third of their "
     "price."},
    {"Expenses", "The costs you pay every month, now and once your plans take effect, with their totals.",
     "Now $30,400 a month before ingredients: rent $4,200, wages and payroll taxes $17,400, owners' draw "
     "$4,000, loan repayment $1,650, utilities $1,200, card fees and software $700, advertising $500, repairs "
     "and cleaning $400, insurance $350. From month 4, $32,600: add a part-time baker's assistant $1,350, the "
     "equipment loan $580, and van fuel and insurance $270."},
    {"Adv", "The advertising budget for a stated period, broken down by type and cost.",
     "One year, $7,200 in all: $500 a month ($150 social media ads, $150 loyalty-card rewards, $100 printed "
     "menus and flyers, $100 Chamber of Commerce events) and $1,200 in month 3 for sample loaves and a "
     "tasting for restaurant owners."},
    {"Equip", "The equipment and furniture you plan to buy in the next one to two years, with the cost and date of each.",
     "A used delivery van for wholesale, $24,000, and a second proofing cabinet, $3,800, in month 3, both on "
     "a $30,000 equipment loan at $580 a month; a spiral mixer, $9,500, in month 12, paid from the year's "
     "profit; two caf\u00e9 tables and ten chairs, $2,200, in year two."},
    {"Charge", "The price of each product or service, under the names used above.",
     "Breads $6 to $9, $7 on average ($4.50 wholesale); pastries $3 to $5, $4 on average; coffee and drinks "
     "$3 to $6, $4 on average; caf\u00e9 lunches $12; custom 8-inch cakes $50; catering platters $60 to $150."},
    {"Sell", "How many of each you must sell a month to cover production and basic monthly costs, and whether "
             "that is realistic.",
     "Each month we need about 1,800 loaves, 3,000 pastries, 2,700 drinks, 450 lunches and 25 cakes to cover "
     "ingredients and our $30,400 of basic expenses; that is what we sell now, so it is realistic, and our "
     "profit has to come from wholesale bread (1,200 loaves a month at $4.50 to six accounts) and 40 cakes a "
     "month."},
    {"MoIncome", "Your current monthly income and where it comes from, product by product.",
     "$42,050 a month: breads $12,600 (1,800 loaves), pastries $12,000 (3,000), coffee and drinks $10,800 "
     "(2,700), caf\u00e9 lunches $5,400 (450), custom cakes $1,250 (25)."},
    {"YrIncome", "The income you expect in each of the next 12 months, and what changes it.",
     "Month 1 $42,000; month 2 $42,500; month 3 $43,000; month 4 $46,000 (first three wholesale accounts); "
     "month 5 $47,200; month 6 $48,500; month 7 $48,800; month 8 $49,100; month 9 $50,300 (six wholesale "
     "accounts); month 10 $50,600; month 11 $51,000; month 12 $53,000 (holiday cakes)."},
    {"MoExpenses", "The expenses you expect in each of the next 12 months, ingredients or materials included.",
     "Month 1 $42,000; month 2 $42,100; month 3 $43,500 (wholesale tasting); month 4 $45,800 (baker's "
     "assistant and van from this month); month 5 $46,300; month 6 $46,800; month 7 $46,900; month 8 $47,000; "
     "month 9 $47,500; month 10 $47,600; month 11 $47,700; month 12 $48,300."},
    {"InGoals", "How your advertising brings the sales that your income projections count on.",
     "The loyalty card, social media and office flyers bring customers back often enough to lift counter "
     "sales to $1,500 a day, and the restaurant tasting and sample visits win the six wholesale accounts that "
     "add $5,400 a month."},
    {"Info", "Anything a lender or partner should know that the steps above did not cover, such as leases, "
             "permits or insurance.",
     "We hold a five-year lease with an option for five more, our county health permit and food handler "
     "cards are current, and we carry $1 million of general liability insurance."},
};

std::vector<FieldHint> buildHints()
{
    std::vector<FieldHint> hints;
    hints.reserve(std::size(Rows));
    for (const Row &r : Rows)
        hints.push_back({QString::fromLatin1(r.field), QString::fromUtf8(r.hint), QString::fromUtf8(r.example)});
    return hints;
}

} // namespace

const std::vector<FieldHint> &fieldHints()
{
    static const std::vector<FieldHint> hints = buildHints();
    return hints;
}

const FieldHint *findFieldHint(QStringView field)
{
    static const QHash<QString, const FieldHint *> index = [] {
        QHash<QString, const FieldHint *> h;
        for (const FieldHint &row : fieldHints())
            h.insert(row.field, &row);
        return h;
    }();
    return index.value(field.toString(), nullptr);
}

QString hintText(const QString &hint, const QString &example)
{
    return QStringLiteral("Hint: ") + hint + QStringLiteral("\n\nExample: ") + example;
}

QString hintText(const FieldHint &row) { return hintText(row.hint, row.example); }

PlanRecord examplePlan()
{
    PlanRecord plan;
    for (const PlanField &f : planFields())
        if (const FieldHint *row = findFieldHint(f.name))
            f.set(plan, row->example);
    return plan;
}
