#include "platform/desktop/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace desktop {

QRect ScreenRect()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect WorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace desktop
