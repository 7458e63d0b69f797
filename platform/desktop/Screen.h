#pragma once

#include <QRect>

namespace desktop {

// The primary screen's rectangle, in global pixels.
QRect ScreenRect();
// The primary screen's work area: the screen less the panels that reserve space.
QRect WorkArea();

} // namespace desktop
