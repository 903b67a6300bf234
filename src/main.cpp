#include "ProgramPages.h"
#include "app/AppContext.h"
#include "app/Identity.h"
#include "app/Prompts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    identifyApplication();
    // Pages are hidden, not closed, as the user moves between them; the program ends
    // only through its own exit.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPrompts prompts;
    AppContext ctx(prompts);
    registerProgramPages(ctx.nav);
    startProgram(ctx);
    return QApplication::exec();
}
