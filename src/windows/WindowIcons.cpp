#include "windows/WindowIcons.h"

#include <QDir>

// The resources live in a static library, so nothing would pull them into
// the program unless they are registered by hand.
static void EnsureWindowResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(tarvenix);
        return true;
    }();
    (void)registered;
}

QIcon ChatWindowIcon() {
    EnsureWindowResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/tarvenix/chat-%1.png").arg(size), QSize(size, size));
    return icon;
}

QIcon ServiceWindowIcon() {
    EnsureWindowResources();
    return QIcon(QStringLiteral(":/tarvenix/service-32.png"));
}

QPixmap LoadingPicture() {
    EnsureWindowResources();
    return QPixmap(QStringLiteral(":/tarvenix/loading.png"));
}

QPixmap OpenInBrowserPicture() {
    EnsureWindowResources();
    return QPixmap(QStringLiteral(":/tarvenix/open-in-browser.png"));
}
