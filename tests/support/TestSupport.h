#pragma once

#include "app/AppContext.h"
#include "app/Page.h"
#include "ProgramPages.h"
#include "support/ScriptedPrompts.h"

#include <QTest>

#include <memory>

// Finds a named control or fails the test.
#define FIND(var, Type, parent, name)                                                                  \
    auto *var = (parent)->findChild<Type *>(QStringLiteral(name));                                     \
    QVERIFY2(var != nullptr, "no control named " name)

// The named control, or a stand-in after recording the failure, so a missing control
// fails the test cleanly instead of crashing it.
template <typename T = QWidget>
T *child(const QWidget *parent, const QString &name)
{
    if (T *w = parent->findChild<T *>(name))
        return w;
    QTest::qFail(qPrintable(QStringLiteral("no control named %1").arg(name)), __FILE__, __LINE__);
    static T *standIn = new T;
    return standIn;
}

// Fails the test when a prompt was unexpected, different or left unanswered.
#define VERIFY_PROMPTS(prompts)                                                                        \
    do {                                                                                               \
        const QStringList problems_ = (prompts).problems();                                            \
        QVERIFY2(problems_.isEmpty(), qPrintable(problems_.join(QLatin1Char('\n'))));                \
    } while (false)

// One program run over scripted prompts: every page registered, ending recorded
// instead of leaving the event loop.
struct TestRun {
    ScriptedPrompts prompts;
    std::unique_ptr<AppContext> ctx;
    bool quit = false;

    TestRun()
    {
        ctx = std::make_unique<AppContext>(prompts);
        registerProgramPages(ctx->nav);
        ctx->nav.setQuitHandler([this] { quit = true; });
    }

    Page *page(const char *id) const { return ctx->nav.loaded(QString::fromLatin1(id)); }
    Page *open(const char *id) { return ctx->nav.show(QString::fromLatin1(id)); }
    bool visible(const char *id) const
    {
        Page *p = page(id);
        return p && p->isVisible();
    }
};

// The names of the first n controls that Tab reaches, starting at `first`.
inline QStringList tabOrder(QWidget *first, int n)
{
    QStringList names;
    for (QWidget *w = first; w && names.size() < n; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !names.contains(w->objectName()))
            names << w->objectName();
        if (w->nextInFocusChain() == first)
            break;
    }
    return names;
}

// A plan field by its name; a name that is not a field ends the test program.
inline const PlanField &planField(const QString &name)
{
    for (const PlanField &f : planFields())
        if (f.name == name)
            return f;
    qFatal("no plan field %s", qPrintable(name));
}

// Every field of the plan, in order, for comparing a whole plan at once.
inline QStringList planValues(const PlanRecord &plan)
{
    QStringList values;
    for (const PlanField &f : planFields())
        values << f.get(plan);
    return values;
}
