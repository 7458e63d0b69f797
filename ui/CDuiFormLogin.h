#pragma once

#include "ui/CXMLWnd.h"
#include "ui/SiteButtons.h"

class CDuiFormGame;
class CDuiFormLoginBrowser;

// The program's main window: the frame around the login page, the site buttons, and the
// hand-over to the game window and back.
class CDuiFormLogin final : public CXMLWnd
{
public:
    explicit CDuiFormLogin(const QString& skinFile) : CXMLWnd(skinFile) {}
    ~CDuiFormLogin() override;

    bool HandleMessage(QEvent* event) override;
    void OnClick(TNotifyUI& msg) override;

    CDuiFormLoginBrowser* LoginBrowser() const { return m_pLoginBrowser; }
    CDuiFormGame* GameWindow() const { return m_pGameWnd; }

protected:
    void InitWindow() override;

private:
    void EnterGame(const QString& wsEnterGame);
    void ShowLogin();
    void ReleaseWhenClosed(CDuiFormGame* game);
    void SetGameWindow(CDuiFormGame* game);
    static void SayIfLoginUrlIsGameUrl(const QString& loginUrl);

    CDuiFormLoginBrowser* m_pLoginBrowser = nullptr;
    SiteButtons m_siteButtons;
    CDuiFormGame* m_pGameWnd = nullptr;
    QString m_strLoginUrl;
};
