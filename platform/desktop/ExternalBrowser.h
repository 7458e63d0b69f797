#pragma once

#include <QString>

namespace desktop {

// Opens an address in the user's browser through the desktop (xdg-open). When the desktop can't
// open it, the first fallback browser command that exists (x-www-browser, then sensible-browser)
// is started with the address as its argument. Returns at once; the browser outlives the program.
void OpenInExternalBrowser(const QString& address);

} // namespace desktop
