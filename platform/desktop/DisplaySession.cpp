#include "platform/desktop/DisplaySession.h"

#include "platform/desktop/GlobalHotKeys.h"

#include <QByteArray>

#include <cstdio>

void PreferX11InWaylandSession()
{
    if (!desktop::GlobalHotKeys::InWaylandSession() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fputs("vantor: no XWayland display in this Wayland session; the login page may not keep to the "
                   "login window\n",
                   stderr);
        return;
    }
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}
