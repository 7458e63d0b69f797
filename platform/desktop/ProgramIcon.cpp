#include "platform/desktop/ProgramIcon.h"

// The resources of a static library are registered by hand, outside any namespace.
static void InitDesktopResources()
{
    Q_INIT_RESOURCE(desktop);
}

namespace desktop {

QIcon ProgramIcon()
{
    static const bool registered = (InitDesktopResources(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/vantor/icon.svg"));
}

} // namespace desktop
