#include "settings/Settings.h"

#include "platform/profile/ProfileReader.h"

#include <QFile>

QString GetAppFolder()
{
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const auto slash = exe.lastIndexOf(u'/');
    return slash < 0 ? QString() : exe.left(slash + 1);
}

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

QString ReadGameMarker()
{
    return ReadIniString(QStringLiteral("Common"), QStringLiteral("gameparam"), QStringLiteral("sid="));
}

QString DefaultHomeUrl()
{
    return QStringLiteral(VANTOR_HOME_URL);
}

QString DefaultLoginUrl()
{
    return QStringLiteral(VANTOR_LOGIN_URL);
}
