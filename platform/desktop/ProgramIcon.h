#pragma once

#include <QIcon>

namespace desktop {

// The program's icon, carried inside the executable.
QIcon ProgramIcon();

} // namespace desktop
