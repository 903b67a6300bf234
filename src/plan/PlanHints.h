#pragma once

// Guidance for every answer of the plan: a one-sentence hint (what a reader of the plan
// wants to learn from the answer) and an example answer. The examples all describe one
// fictional business, Juniper Hearth Bakery & Café, so together they make a whole plan.

#include "plan/PlanRecord.h"

#include <QString>
#include <QStringView>

#include <vector>

struct FieldHint {
    QString field;   // plan field name, as in planFields()
    QString hint;
    QString example; // the value exactly as the field would hold it
};

// One row per field of the record, in record order.
const std::vector<FieldHint> &fieldHints();
// The row of a field, or null when the field has none.
const FieldHint *findFieldHint(QStringView field);

// The text shown for a question: "Hint: <hint>", an empty line, "Example: <example>".
QString hintText(const QString &hint, const QString &example);
QString hintText(const FieldHint &row);

// A plan record holding every example answer.
PlanRecord examplePlan();
