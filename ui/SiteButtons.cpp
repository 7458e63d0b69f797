#include "ui/SiteButtons.h"

#include "platform/desktop/ExternalBrowser.h"
#include "settings/Settings.h"

#include <QSet>

#include <cstdio>

void SiteButtons::Read()
{
    m_strOfficialUrl = settings::OfficialUrl();
    m_strRechargeUrl = settings::RechargeUrl();
    m_strForumUrl = settings::ForumUrl();
    m_strServiceUrl = settings::ServiceUrl();
}

bool SiteButtons::Open(const QString& controlName) const
{
    const struct
    {
        const char16_t* control;
        const char* key;
        const QString& address;
    } buttons[] = {
        {u"officialbtn", "official", m_strOfficialUrl},
        {u"rechargebtn", "recharge", m_strRechargeUrl},
        {u"forumbtn", "forum", m_strForumUrl},
        {u"servicebtn", "service", m_strServiceUrl},
    };
    for (const auto& button : buttons) {
        if (controlName != button.control)
            continue;
        if (!desktop::OpenInExternalBrowser(button.address)) {
            // Only web addresses go to the user's browser; a setting that isn't one is named once.
            static QSet<QByteArray> said;
            if (!said.contains(button.key)) {
                said.insert(button.key);
                std::fprintf(
                    stderr,
                    "vantor: Common/%s is not an http or https address, so its button opens nothing\n",
                    button.key);
            }
        }
        return true;
    }
    return false;
}
