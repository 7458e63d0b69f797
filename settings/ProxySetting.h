#pragma once

#include <QNetworkProxy>
#include <QString>

#include <optional>

// The proxy that the pages and the Flash socket bridge's connections go through: section
// "Network", key "Proxy", http://host:port or socks5://host:port, with user:password@ before the
// host where the proxy asks for them. Empty: the desktop's own proxy settings, as without it.
//
// The text's user and password are percent-decoded. Parse gives why a text is not one, never
// repeating the text, which may hold a password.
std::optional<QNetworkProxy> ParseProxy(const QString& text, QString* why);

// The proxy of the setting's text; a malformed one is named once on stderr (without its password)
// and ignored.
std::optional<QNetworkProxy> ReadProxy(const QString& text);
