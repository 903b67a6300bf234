#pragma once

#include "app/Page.h"

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// What every step page shares: the unsaved-edits mark, leaving with the save question,
// and the exit question on a close request.
class StepPage : public Page {
    Q_OBJECT
public:
    StepPage(AppContext &ctx, const char *name, int widthTwips, int heightTwips);

    bool closeRequested() override;

    // "Y" while the page holds edits not stored since it was last loaded or saved.
    const QString &changedFlag() const { return ChangedFlag; }

protected:
    // Copies the page's boxes into the plan record (the body of Save).
    virtual void storeToPlan() = 0;
    // Whether leaving must ask the save question.
    virtual bool hasUnsavedChanges() const { return ChangedFlag == QLatin1String("Y"); }
    // Whether Yes to the save question can store the page's edits; a page that cannot
    // tells the user why and stays open, so nothing typed is lost.
    virtual bool canStoreOnLeave() { return true; }
    // No to the save question: a page whose controls show a pending choice puts the
    // stored one back.
    virtual void discardOnLeave() {}

    // Save: store, then mark clean.
    virtual void save();
    // Leave towards another page: ask the save question when there are unsaved
    // changes (Yes saves, No stores nothing), then show the target and hide this page.
    // Stays when Yes cannot store (canStoreOnLeave).
    void leaveTo(const QString &target);
    void returnToMain();

    // Every text change of the box marks the page changed.
    void watch(QLineEdit *box);
    void watch(QPlainTextEdit *box);

    // The two common buttons, wired to save() and returnToMain().
    QPushButton *makeSaveButton(const QString &caption = QStringLiteral("&Save Information"));
    QPushButton *makeReturnButton();

    void markChanged() { ChangedFlag = QStringLiteral("Y"); }
    void markClean() { ChangedFlag = QStringLiteral("N"); }

    QString ChangedFlag = QStringLiteral("N");
};

// A multi-line answer box as the step pages use it: wraps, scrolls vertically, and
// lets Tab move on to the next control.
QPlainTextEdit *makeMultiLineBox(QWidget *parent, const char *name);
// The text of a multi-line box as typed: no-break spaces and line separators kept, only
// paragraph ends made "\n".
QString multiLineText(const QPlainTextEdit *box);
// A single-line answer box without a length limit; `box` when given, else a plain one.
QLineEdit *makeLineBox(QWidget *parent, const char *name, QLineEdit *box = nullptr);
