#pragma once

#include <QString>

// The four site buttons that the login and game windows share: "officialbtn", "rechargebtn",
// "forumbtn" and "servicebtn" open the platform's pages in the user's browser.
struct SiteButtons
{
    QString m_strOfficialUrl;
    QString m_strRechargeUrl;
    QString m_strForumUrl;
    QString m_strServiceUrl;

    // Reads the four addresses; a window reads them once, when it opens.
    void Read();
    // Opens the address of the named button; false when the name is not a site button's.
    bool Open(const QString& controlName) const;
};
