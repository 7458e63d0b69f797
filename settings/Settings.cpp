#include "settings/Settings.h"

#include "platform/desktop/ProgramFolder.h"
#include "platform/profile/ProfileReader.h"
#include "settings/FlashSockets.h"
#include "settings/HotKeyCode.h"
#include "settings/ProxySetting.h"

QString GetIniFilePath()
{
    return GetAppFolder() + QStringLiteral("Vantor.ini");
}

QString ReadIniString(const QString& section, const QString& key, const QString& defaultValue,
                      const QString& filePath)
{
    return profile::ReadProfileString(section, key, defaultValue,
                                      filePath.isEmpty() ? GetIniFilePath() : filePath);
}

int ReadIniInt(const QString& section, const QString& key, int defaultValue, const QString& filePath)
{
    return profile::ReadProfileInt(section, key, defaultValue,
                                   filePath.isEmpty() ? GetIniFilePath() : filePath);
}

QString DefaultHomeUrl()
{
    return QStringLiteral(VANTOR_HOME_URL);
}

QString DefaultLoginUrl()
{
    return QStringLiteral(VANTOR_LOGIN_URL);
}

namespace settings {
namespace {

enum Id
{
    kOfficial,
    kRecharge,
    kForum,
    kService,
    kGameLoginUrl,
    kGameParam,
    kGotoLoginPage,
    kFullScreenHotKey,
    kBossHotKey,
    kScreenshotHotKey,
    kKeepLogin,
    kFlashSockets,
    kProxy,
};

QString ReadString(Id id)
{
    const Entry& entry = Entries().at(id);
    return ReadIniString(entry.section, entry.key, entry.defaultValue);
}

int ReadInt(Id id)
{
    const Entry& entry = Entries().at(id);
    return ReadIniInt(entry.section, entry.key, entry.defaultValue.toInt());
}

} // namespace

const QList<Entry>& Entries()
{
    // In the order of Id.
    static const QList<Entry> entries{
        {QStringLiteral("Common"), QStringLiteral("official"), DefaultHomeUrl()},
        {QStringLiteral("Common"), QStringLiteral("recharge"), DefaultHomeUrl()},
        {QStringLiteral("Common"), QStringLiteral("forum"), DefaultHomeUrl()},
        {QStringLiteral("Common"), QStringLiteral("service"), DefaultHomeUrl()},
        {QStringLiteral("Common"), QStringLiteral("gameLoginUrl"), DefaultLoginUrl()},
        {QStringLiteral("Common"), QStringLiteral("gameparam"), QStringLiteral("sid=")},
        {QStringLiteral("Common"), QStringLiteral("gotoLoginPage"), QStringLiteral("0")},
        {QStringLiteral("Config"), QStringLiteral("FullScreenHotKey"), QStringLiteral("27")},
        {QStringLiteral("Config"), QStringLiteral("BossHotKey"), QStringLiteral("120")},
        {QStringLiteral("Config"), QStringLiteral("ScreenshotHotKey"), QStringLiteral("0")},
        {QStringLiteral("Config"), QStringLiteral("KeepLogin"), QStringLiteral("0")},
        {QStringLiteral("Flash"), QStringLiteral("Sockets"), QString()},
        {QStringLiteral("Network"), QStringLiteral("Proxy"), QString()},
    };
    return entries;
}

QString OfficialUrl()
{
    return ReadString(kOfficial);
}

QString RechargeUrl()
{
    return ReadString(kRecharge);
}

QString ForumUrl()
{
    return ReadString(kForum);
}

QString ServiceUrl()
{
    return ReadString(kService);
}

QString GameLoginUrl()
{
    return ReadString(kGameLoginUrl);
}

QString GameMarker()
{
    return ReadString(kGameParam);
}

QString GotoLoginPage()
{
    return ReadString(kGotoLoginPage);
}

std::optional<QKeyCombination> FullScreenHotKey()
{
    return DecodeHotKey(ReadInt(kFullScreenHotKey), true);
}

std::optional<QKeyCombination> BossHotKey()
{
    return DecodeHotKey(ReadInt(kBossHotKey), false);
}

std::optional<QKeyCombination> ScreenshotHotKey()
{
    return DecodeHotKey(ReadInt(kScreenshotHotKey), false);
}

bool KeepLogin()
{
    return ReadInt(kKeepLogin) == 1;
}

QList<engine::SocketEndpoint> FlashSockets()
{
    return ReadFlashSockets(ReadString(kFlashSockets));
}

std::optional<QNetworkProxy> Proxy()
{
    return ReadProxy(ReadString(kProxy));
}

} // namespace settings
