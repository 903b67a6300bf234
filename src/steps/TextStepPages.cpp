#include "steps/StepPageGroups.h"

#include "app/Navigator.h"
#include "app/PageIds.h"
#include "plan/PlanRecord.h"
#include "steps/TextStepPage.h"

namespace {

// The plan field a box edits.
#define FIELD(f) [](PlanRecord &p) -> QString & { return p.f; }

// A question above a multi-line box inside a frame.
TextBoxDesc framedQuestion(const char *name, FieldRef field, const char *label, int frame,
                           TwipsRect labelRect, TwipsRect boxRect)
{
    return {.name = name, .field = field, .label = label, .frame = frame, .labelRect = labelRect,
            .boxRect = boxRect, .multiLine = true};
}

// Two questions, one above the other, filling a frame of width `frameWidth`: both
// labels get `labelHeight`, both boxes `boxHeight`.
void twoQuestions(std::vector<TextBoxDesc> &boxes, int frame, int frameWidth, int labelHeight, int boxHeight,
                  const char *name1, FieldRef field1, const char *label1, const char *name2,
                  FieldRef field2, const char *label2)
{
    const int w = frameWidth - 240;
    const int box1 = 240 + labelHeight + 30;
    const int label2Top = box1 + boxHeight + 120;
    const int box2 = label2Top + labelHeight + 30;
    boxes.push_back(framedQuestion(name1, field1, label1, frame, {120, 240, w, labelHeight}, {120, box1, w, boxHeight}));
    boxes.push_back(
        framedQuestion(name2, field2, label2, frame, {120, label2Top, w, labelHeight}, {120, box2, w, boxHeight}));
}

// Ten goal boxes under two headings; each box keeps its number prefix in front of the
// caret.
TextPageDesc goalsDesc()
{
    TextPageDesc page{
        .id = PageId::BusGoals,
        .caption = "Quorvane - Goals",
        .width = 6030,
        .height = 5295,
        .blankTest = false,
        .buttonTop = 4650,
    };
    static constexpr FieldRef shortTerm[5] = {FIELD(BusSTG[0]), FIELD(BusSTG[1]), FIELD(BusSTG[2]),
                                                               FIELD(BusSTG[3]), FIELD(BusSTG[4])};
    static constexpr FieldRef longTerm[5] = {FIELD(BusLTG[0]), FIELD(BusLTG[1]), FIELD(BusLTG[2]),
                                                              FIELD(BusLTG[3]), FIELD(BusLTG[4])};
    static const char *const shortNames[5] = {"txtBusSTG1", "txtBusSTG2", "txtBusSTG3", "txtBusSTG4", "txtBusSTG5"};
    static const char *const longNames[5] = {"txtBusLTG1", "txtBusLTG2", "txtBusLTG3", "txtBusLTG4", "txtBusLTG5"};
    // One heading stands over five boxes, so each box is announced with its number.
    static const char *const shortSpoken[5] = {"Short-Term Goal 1", "Short-Term Goal 2", "Short-Term Goal 3",
                                               "Short-Term Goal 4", "Short-Term Goal 5"};
    static const char *const longSpoken[5] = {"Long-Term Goal 1", "Long-Term Goal 2", "Long-Term Goal 3",
                                              "Long-Term Goal 4", "Long-Term Goal 5"};
    for (int group = 0; group < 2; ++group) {
        const int headingTop = group == 0 ? 120 : 2340;
        for (int i = 0; i < 5; ++i) {
            TextBoxDesc box{
                .name = group == 0 ? shortNames[i] : longNames[i],
                .field = group == 0 ? shortTerm[i] : longTerm[i],
                .boxRect = {120, headingTop + 285 + 375 * i, 5790, 315},
                .caretOffset = 5,
                .accessibleName = group == 0 ? shortSpoken[i] : longSpoken[i],
            };
            if (i == 0) {
                box.label = group == 0 ? "Short-Term Goals:" : "Long-Term Goals:";
                box.labelName = group == 0 ? "lblShortGoals" : "lblLongGoals";
                box.labelRect = {120, headingTop, 5790, 240};
            }
            page.boxes.push_back(box);
        }
    }
    return page;
}

std::vector<TextPageDesc> buildDescs()
{
    std::vector<TextPageDesc> pages;

    // Step 1: name and address on the left (city, state and zip with their labels beside
    // the boxes), telephone and internet on the right.
    pages.push_back({
        .id = PageId::BusName,
        .caption = "Quorvane - Business Name & Address",
        .width = 7755,
        .height = 4725,
        .frames = {{120, 120, 4200, 3735}, {4440, 120, 3195, 3735}},
        .boxes =
            {
                {.name = "txtName", .field = FIELD(Name), .label = "Business name:", .frame = 0,
                 .labelRect = {120, 240, 3960, 240}, .boxRect = {120, 480, 3960, 315}},
                {.name = "txtAdd1", .field = FIELD(Add1), .label = "Business address, line 1:", .frame = 0,
                 .labelRect = {120, 1080, 3960, 240}, .boxRect = {120, 1320, 3960, 315}},
                {.name = "txtAdd2", .field = FIELD(Add2), .label = "Business address, line 2:", .frame = 0,
                 .labelRect = {120, 1920, 3960, 240}, .boxRect = {120, 2160, 3960, 315}},
                {.name = "txtCity", .field = FIELD(City), .label = "City:", .frame = 0,
                 .labelRect = {120, 2745, 600, 240}, .boxRect = {720, 2700, 3360, 315}},
                {.name = "txtState", .field = FIELD(State), .label = "State:", .frame = 0,
                 .labelRect = {120, 3225, 705, 240}, .boxRect = {825, 3180, 900, 315}},
                {.name = "txtZip", .field = FIELD(Zip), .label = "Zip Code:", .frame = 0,
                 .labelRect = {1845, 3225, 1000, 240}, .boxRect = {2865, 3180, 1215, 315}},
                {.name = "txtPhone", .field = FIELD(Phone), .label = "Phone number:", .frame = 1,
                 .labelRect = {120, 240, 2955, 240}, .boxRect = {120, 480, 2955, 315}},
                {.name = "txtFax", .field = FIELD(Fax), .label = "Fax number:", .frame = 1,
                 .labelRect = {120, 1080, 2955, 240}, .boxRect = {120, 1320, 2955, 315}},
                {.name = "txtEmail", .field = FIELD(Email), .label = "Email address:", .frame = 1,
                 .labelRect = {120, 1920, 2955, 240}, .boxRect = {120, 2160, 2955, 315}},
                // Typing goes after the scheme: the caret lands past "http://".
                {.name = "txtURL", .field = FIELD(URL), .label = "Web Site URL:", .frame = 1,
                 .labelRect = {120, 2760, 2955, 240}, .boxRect = {120, 3000, 2955, 315},
                 .blankText = "http://", .caretOffset = 8},
            },
        .buttonTop = 4050,
    });

    // Step 4: the question on the page, its box in a frame below it.
    pages.push_back({
        .id = PageId::BusPurp,
        .caption = "Quorvane - Purpose of Business",
        .width = 6075,
        .height = 3510,
        .frames = {{120, 420, 5835, 2310}},
        .boxes =
            {
                {.name = "txtBusPurp", .field = FIELD(BusPurp), .label = "The purpose of this business is to:",
                 .labelTip = "Type in a short paragraph about your business's purpose.", .frame = 0,
                 .labelOnPage = true, .labelRect = {120, 120, 5835, 240}, .boxRect = {120, 240, 5595, 1950},
                 .multiLine = true},
            },
        .buttonTop = 2895,
    });

    pages.push_back(goalsDesc());

    // Step 6: two frames of two questions each.
    {
        TextPageDesc page{
            .id = PageId::BusPersp,
            .caption = "Quorvane - Business Perspective",
            .width = 7830,
            .height = 3975,
            .frames = {{120, 120, 3735, 3060}, {3975, 120, 3735, 3060}},
            .focusFirstWhenBlank = true,
            .buttonTop = 3330,
        };
        twoQuestions(page.boxes, 0, 3735, 450, 810, "txtIdea", FIELD(Idea), "The basic idea/concept of your business:",
                     "txtPeople", FIELD(People), "The type of people who will buy your product or service:");
        twoQuestions(page.boxes, 1, 3735, 450, 810, "txtMarket", FIELD(Market),
                     "Why you think there is a market for your product or service at this time:", "txtHow",
                     FIELD(How), "How you will reach your targeted customers:");
        pages.push_back(page);
    }

    // Step 7: as step 6; the caption has two blanks after the dash.
    {
        TextPageDesc page{
            .id = PageId::BusStatus,
            .caption = "Quorvane -  Current Business Status",
            .width = 7830,
            .height = 3915,
            .frames = {{120, 120, 3735, 3000}, {3975, 120, 3735, 3000}},
            .focusFirstWhenBlank = true,
            .buttonTop = 3270,
        };
        twoQuestions(page.boxes, 0, 3735, 450, 780, "txtWhere", FIELD(Where),
                     "Where your business is today:  (ie, Planning stages?  Already open?)", "txtAdvertising",
                     FIELD(Advertising), "What kind of advertising you are doing currently (or planning):");
        twoQuestions(page.boxes, 1, 3735, 450, 780, "txtAmount", FIELD(Amount),
                     "Amount your business has been earning, if already open:", "txtPersonnel", FIELD(Personnel),
                     "Your business's current personnel situation:");
        pages.push_back(page);
    }

    // Step 10: six rows, the question left of its box. The rows (and the tab order) put
    // Differ before Types; the fields are loaded and stored with Types first.
    {
        TextPageDesc page{
            .id = PageId::BusAdMktg,
            .caption = "Quorvane - Advertising/Marketing",
            .width = 6150,
            .height = 5430,
            .fieldOrder = {"txtToWhom", "txtNumber", "txtReach", "txtTypes", "txtDiffer", "txtPlans"},
            .buttonTop = 4740,
        };
        const struct {
            const char *name;
            FieldRef field;
            const char *label;
        } rows[] = {
            {"txtToWhom", FIELD(ToWhom), "To whom do you plan to market your products/services?"},
            {"txtNumber", FIELD(Number), "What is the estimated number of people that would include?"},
            {"txtReach", FIELD(Reach), "How do you intend to reach these people?"},
            {"txtDiffer", FIELD(Differ), "How does your business differ from the competition?"},
            {"txtTypes", FIELD(Types), "What types of advertising/ marketing are you doing now?"},
            {"txtPlans", FIELD(Plans), "What are your current advertising plans for the next 1-2 years?"},
        };
        int top = 120;
        for (const auto &r : rows) {
            page.boxes.push_back({.name = r.name, .field = r.field, .label = r.label, .labelRect = {120, top, 2700, 690},
                                  .boxRect = {2940, top, 3090, 690}, .multiLine = true});
            top += 750;
        }
        pages.push_back(page);
    }

    // Step 11, part 1.
    {
        TextPageDesc page{
            .id = PageId::BusInEx,
            .caption = "Quorvane - Income & Expenses - Part 1",
            .width = 8325,
            .height = 4215,
            .frames = {{120, 120, 3975, 3300}, {4215, 120, 3990, 3300}},
            .focusFirstWhenBlank = true,
            .buttonTop = 3570,
            .chain = {{"cmdNext", "&Go to Part 2", "Click here to go to Part 2.", PageId::BusInEx2, 1455}},
        };
        twoQuestions(page.boxes, 0, 3975, 450, 930, "txtCost", FIELD(Cost),
                     "List each product/service and the cost to produce each:", "txtExpenses", FIELD(Expenses),
                     "List current and projected basic monthly expenses:");
        page.boxes.push_back(framedQuestion(
            "txtAdv", FIELD(Adv),
            "List your advertising budget.  Be sure to include the time span (ie, 1 year, 5 years, etc.) and, if "
            "possible, break down by the type of advertising and the cost.",
            1, {120, 240, 3750, 900}, {120, 1170, 3750, 2010}));
        pages.push_back(page);
    }

    // Step 11, part 2.
    {
        TextPageDesc page{
            .id = PageId::BusInEx2,
            .caption = "Quorvane - Income & Expenses - Part 2",
            .width = 7695,
            .height = 4980,
            .frames = {{120, 120, 3660, 4080}, {3900, 120, 3675, 4080}},
            .focusFirstWhenBlank = true,
            .buttonTop = 4350,
            .chain = {{"cmdBack", "Go &Back to Part 1", "Click here to go back to Part 1.", PageId::BusInEx, 1695},
                      {"cmdNext", "&Go to Part 3", "Click here to go to Part 3.", PageId::BusInEx3, 1455}},
        };
        page.boxes.push_back(framedQuestion(
            "txtEquip", FIELD(Equip),
            "List any equipment, furniture, etc., you plan to buy in the next 1-2 years and the estimated cost:", 0,
            {120, 240, 3420, 690}, {120, 960, 3420, 1200}));
        page.boxes.push_back(framedQuestion("txtCharge", FIELD(Charge),
                                            "List each product/service and the amount you plan to charge for each:",
                                            0, {120, 2280, 3420, 450}, {120, 2760, 3420, 1200}));
        page.boxes.push_back(framedQuestion(
            "txtSell", FIELD(Sell),
            "List how many of each product/service you estimate you will need to sell per month to cover the cost "
            "of production and basic monthly expenses.  State whether or not it is a realistic goal for each "
            "product/service and why.  If it's not a realistic goal, state what would be.",
            1, {120, 240, 3435, 1815}, {120, 2085, 3435, 1875}));
        pages.push_back(page);
    }

    // Step 11, part 3.
    {
        TextPageDesc page{
            .id = PageId::BusInEx3,
            .caption = "Quorvane - Income & Expenses - Part 3",
            .width = 7275,
            .height = 4935,
            .frames = {{120, 120, 3450, 4035}, {3690, 120, 3465, 4035}},
            .focusFirstWhenBlank = true,
            .buttonTop = 4305,
            .chain = {{"cmdBack", "Go &Back to Part 2", "Click here to go back to Part 2.", PageId::BusInEx2, 1695}},
        };
        twoQuestions(page.boxes, 0, 3450, 690, 1050, "txtMoIncome", FIELD(MoIncome),
                     "List your businesses's current monthly income and what this income is generally from:",
                     "txtYrIncome", FIELD(YrIncome),
                     "List the projected monthly income from your business for each of the next 12 months:");
        twoQuestions(page.boxes, 1, 3465, 690, 1050, "txtMoExpenses", FIELD(MoExpenses),
                     "List the projected monthly expenses for your business for each of the next 12 months:",
                     "txtInGoals", FIELD(InGoals),
                     "Describe how your current advertising strategy will help you meet your income goals:");
        pages.push_back(page);
    }

    // Step 12: one question above one box.
    pages.push_back({
        .id = PageId::Other,
        .caption = "Quorvane - Other Information",
        .width = 5910,
        .height = 3135,
        .boxes =
            {
                {.name = "txtInfo", .field = FIELD(Info),
                 .label = "List any other information you feel is important regarding your business that was not "
                          "covered previously:",
                 .labelRect = {120, 120, 5670, 480}, .boxRect = {120, 660, 5670, 1740}, .multiLine = true},
            },
        .focusFirstWhenBlank = true,
        .buttonTop = 2520,
    });

    return pages;
}

#undef FIELD

// Pages keep a reference to their description for the whole run.
const std::vector<TextPageDesc> &textPageDescs()
{
    static const std::vector<TextPageDesc> descs = buildDescs();
    return descs;
}

} // namespace

void registerTextStepPages(Navigator &nav)
{
    for (const TextPageDesc &desc : textPageDescs())
        nav.registerPage(QString::fromLatin1(desc.id), [&desc](AppContext &c) { return new TextStepPage(c, desc); });
}
