#include "app/Identity.h"

#include "QuorvaneVersion.h"

#include <QGuiApplication>
#include <QIcon>

QIcon applicationIcon()
{
    // The resource lives in a static library, where nothing else would pull it in.
    Q_INIT_RESOURCE(appicon);
    QIcon icon;
    for (int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quorvane-%1.png").arg(size), QSize(size, size));
    return icon;
}

void identifyApplication()
{
    QGuiApplication::setApplicationName(QStringLiteral("Quorvane"));
    QGuiApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
    // Ties the windows to the installed menu entry (Wayland's app id, task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVANE_APP_ID));
    QGuiApplication::setWindowIcon(applicationIcon());
}
