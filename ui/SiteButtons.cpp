#include "ui/SiteButtons.h"

#include "platform/desktop/ExternalBrowser.h"
#include "settings/Settings.h"

void SiteButtons::Read()
{
    const QString common = QStringLiteral("Common");
    m_strOfficialUrl = ReadIniString(common, QStringLiteral("official"), DefaultHomeUrl());
    m_strRechargeUrl = ReadIniString(common, QStringLiteral("recharge"), DefaultHomeUrl());
    m_strForumUrl = ReadIniString(common, QStringLiteral("forum"), DefaultHomeUrl());
    m_strServiceUrl = ReadIniString(common, QStringLiteral("service"), DefaultHomeUrl());
}

bool SiteButtons::Open(const QString& controlName) const
{
    const QString* address = nullptr;
    if (controlName == u"officialbtn")
        address = &m_strOfficialUrl;
    else if (controlName == u"rechargebtn")
        address = &m_strRechargeUrl;
    else if (controlName == u"forumbtn")
        address = &m_strForumUrl;
    else if (controlName == u"servicebtn")
        address = &m_strServiceUrl;
    if (!address)
        return false;
    desktop::OpenInExternalBrowser(*address);
    return true;
}
