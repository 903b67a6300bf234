#include "steps/ListStepPages.h"

#include "app/Navigator.h"
#include "app/PageIds.h"
#include "steps/EmployeesPage.h"
#include "steps/ProductsPage.h"
#include "steps/ProductsViewPage.h"
#include "steps/StepPageGroups.h"

#include <QLabel>
#include <QTextDocument>

void registerListStepPages(Navigator &nav)
{
    nav.registerPage(QString::fromLatin1(PageId::BusEmp), [](AppContext &c) { return new EmployeesPage(c); });
    nav.registerPage(QString::fromLatin1(PageId::BusDesc), [](AppContext &c) { return new ProductsPage(c); });
    nav.registerPage(QString::fromLatin1(PageId::View), [](AppContext &c) { return new ProductsViewPage(c); });
}

QLabel *makeAnswerLine(QWidget *parent, const QString &name, const QFont &font, const QRect &geometry)
{
    auto *line = new QLabel(parent);
    line->setObjectName(name);
    line->setFont(font);
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(false);
    // Top-aligned, so pasted text with line breaks shows its first line, not a middle one.
    line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    line->setGeometry(geometry);
    return line;
}

void showAnswer(QLabel *line, const QString &text)
{
    line->setText(text);
    // The tooltip would render anything that looks like markup; show the typed text.
    line->setToolTip(Qt::mightBeRichText(text)
                         ? QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(text.toHtmlEscaped())
                         : text);
}
