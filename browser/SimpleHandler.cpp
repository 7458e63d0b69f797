#include "browser/SimpleHandler.h"

#include "browser/EnterGameEvent.h"
#include "browser/ErrorPage.h"
#include "platform/engine/Browser.h"
#include "platform/engine/RequestPolicy.h"
#include "platform/skin/WindowImplBase.h"
#include "settings/Settings.h"

#include <QWidget>

QPointer<QWidget> g_hWndLogin;
std::shared_ptr<SimpleHandler> g_pLoginHandler = std::make_shared<SimpleHandler>();

std::shared_ptr<engine::Browser> SimpleHandler::GetBrowser() const
{
    return browserList.empty() ? nullptr : browserList.front();
}

void SimpleHandler::OnAfterCreated(engine::Browser& browser)
{
    browserList.push_back(browser.shared_from_this());
}

void SimpleHandler::OnBeforeClose(engine::Browser& browser)
{
    for (auto it = browserList.begin(); it != browserList.end(); ++it) {
        if ((*it)->IsSame(browser)) {
            browserList.erase(it);
            break;
        }
    }
}

bool SimpleHandler::OnBeforeBrowse(engine::Browser&, const QUrl& url, bool, bool)
{
    // Only a web address is a game address: a local file, a data: or blob: document that holds
    // the marker opens nothing.
    if (!engine::IsWebAddress(url))
        return false;
    const QString strTrueOpenUrl = url.toString(QUrl::FullyEncoded);
    const QString gameInPartial = settings::GameMarker();
    if (!strTrueOpenUrl.contains(gameInPartial, Qt::CaseSensitive))
        return false;
    if (m_bHoldGameAddresses)
        return true;
    EnterGameEvent message(strTrueOpenUrl);
    SendMessage(g_hWndLogin, &message);
    // The game window has the address now: the hidden page doesn't load it a second time (a
    // platform's one-time ticket in the address would be spent before the game window's load).
    return m_bHoldGameAddresses;
}

void SimpleHandler::OnLoadError(engine::Browser& browser, int errorCode, const QString& errorText,
                                const QUrl& failedUrl, int retryInMs)
{
    if (errorCode == -3) // ERR_ABORTED: the frame keeps what it showed
        return;
    const QString address = failedUrl.toString(QUrl::FullyEncoded);
    browser.LoadString(BuildErrorPage(address, errorText, errorCode, retryInMs), failedUrl);
}

void SimpleHandler::OnTitleChange(engine::Browser& browser, const QString& title)
{
    if (QWidget* view = browser.GetWindowHandle())
        view->setWindowTitle(title);
}

bool SimpleHandler::OnFullScreenRequest(engine::Browser&, bool on)
{
    if (!m_onFullScreen)
        return false;
    m_onFullScreen(on);
    return true;
}
