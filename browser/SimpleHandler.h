#pragma once

#include "platform/engine/BrowserClient.h"

#include <QPointer>

#include <functional>
#include <list>
#include <memory>

class QWidget;

// The client of an embedded browser: it tracks the browsers it serves, reports navigations to
// the game address to the login window, shows the error page and copies titles.
class SimpleHandler final : public engine::BrowserClient
{
public:
    // The first browser of the list, or null while there is none.
    std::shared_ptr<engine::Browser> GetBrowser() const;

    void OnAfterCreated(engine::Browser& browser) override;
    void OnBeforeClose(engine::Browser& browser) override;
    bool OnBeforeBrowse(engine::Browser& browser, const QUrl& url, bool isMainFrame,
                        bool isRedirect) override;
    void OnLoadError(engine::Browser& browser, int errorCode, const QString& errorText, const QUrl& failedUrl,
                     int retryInMs) override;
    void OnTitleChange(engine::Browser& browser, const QString& title) override;
    bool CanGoFullScreen() const override { return static_cast<bool>(m_onFullScreen); }
    bool OnFullScreenRequest(engine::Browser& browser, bool on) override;

    // Who grants the pages' own full screen: the game window does; without one it is refused.
    void SetFullScreenHandler(std::function<void(bool on)> handler) { m_onFullScreen = std::move(handler); }

    // While a game window is open the login browser's page stays on the login page: a platform
    // that sends a logged-in player straight on to the game would otherwise start a hidden second
    // copy of the game at every reload of the login page. Marker navigations are then cancelled
    // and not reported.
    void SetHoldGameAddresses(bool hold) { m_bHoldGameAddresses = hold; }

private:
    bool m_bHoldGameAddresses = false;
    std::function<void(bool)> m_onFullScreen;
    std::list<std::shared_ptr<engine::Browser>> browserList;
};

// The login window, to which game addresses are reported; set once at start-up.
extern QPointer<QWidget> g_hWndLogin;
// The handler of the login browser window's browser.
extern std::shared_ptr<SimpleHandler> g_pLoginHandler;
