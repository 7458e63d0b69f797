#pragma once

#include "platform/engine/SocketEndpoint.h"

#include <QKeyCombination>
#include <QList>
#include <QNetworkProxy>
#include <QString>

#include <optional>

// Every setting lives in Vantor.ini beside the executable. Nothing is cached: each read opens the
// file again, so an edit takes effect at the next read without a restart. Nothing is ever written.

// The program's folder followed directly by "Vantor.ini".
QString GetIniFilePath();

// A text value of section and key, or the default. An empty file path selects GetIniFilePath().
QString ReadIniString(const QString& section, const QString& key, const QString& defaultValue,
                      const QString& filePath = {});

// An integer value of section and key, or the default. An empty file path selects GetIniFilePath().
int ReadIniInt(const QString& section, const QString& key, int defaultValue, const QString& filePath = {});

// The deployment's addresses, used as the defaults of the site buttons and the login page.
QString DefaultHomeUrl();
QString DefaultLoginUrl();

namespace settings {

// One entry of Vantor.ini. Every entry is declared once, in Settings.cpp, and read through its
// typed reader below.
struct Entry
{
    QString section;
    QString key;
    QString defaultValue;
};

// Every entry, in the order the README's settings table lists them.
const QList<Entry>& Entries();

// The addresses of the site buttons (Common/official, recharge, forum, service).
QString OfficialUrl();
QString RechargeUrl();
QString ForumUrl();
QString ServiceUrl();
// The login window's page (Common/gameLoginUrl).
QString GameLoginUrl();
// The text that marks a game address (Common/gameparam).
QString GameMarker();
// The game window's close rule as written (Common/gotoLoginPage): "1" returns to the login window.
QString GotoLoginPage();
// The system-wide keys (Config/FullScreenHotKey, Config/BossHotKey, Config/ScreenshotHotKey); none
// when the code names no key that may be one.
std::optional<QKeyCombination> FullScreenHotKey();
std::optional<QKeyCombination> BossHotKey();
std::optional<QKeyCombination> ScreenshotHotKey();
// Whether the platform's cookies are kept between runs (Config/KeepLogin=1).
bool KeepLogin();
// The game servers Flash movies may open sockets to (Flash/Sockets); bad entries are named once.
QList<engine::SocketEndpoint> FlashSockets();

// The proxy of Network/Proxy; none (the desktop's own settings) when empty or malformed.
std::optional<QNetworkProxy> Proxy();

} // namespace settings
