#pragma once

#include <QString>

#include <optional>

namespace desktop {

// The form in which an address goes to the user's browser: an http: or https: address with a host,
// fully encoded, so that it always starts with its scheme and can never read as an option. Anything
// else gives nothing.
std::optional<QString> ExternalBrowserArgument(const QString& address);

// Opens a web address in the user's browser through the desktop (xdg-open). When the desktop can't
// open it, the first fallback browser command that exists (x-www-browser, then sensible-browser)
// is started with the address as its argument. Returns at once; the browser outlives the program.
// Returns false, and opens nothing, for an address that ExternalBrowserArgument refuses.
bool OpenInExternalBrowser(const QString& address);

} // namespace desktop
