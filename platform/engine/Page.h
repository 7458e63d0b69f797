#pragma once

#include <QElapsedTimer>
#include <QWebEnginePage>

namespace engine {

class Browser;
class BrowserClient;

// The one place where a browser's navigation policy lives: every navigation goes to the client,
// pop-ups never open, load errors and titles are reported, and a crashed page recovers.
class Page final : public QWebEnginePage
{
    Q_OBJECT

public:
    Page(QWebEngineProfile* profile, Browser& browser, BrowserClient& client);

    // Shows a page text of our own (error or crash page) under an address. Its load is not a
    // navigation of the site and is not reported to the client.
    void ShowOwnPage(const QString& html, const QUrl& address);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    void OnLoadingChanged(const class QWebEngineLoadingInfo& info);
    void OnRenderProcessTerminated(RenderProcessTerminationStatus status, int exitCode);

    Browser& m_browser;
    BrowserClient& m_client;
    bool m_ownPagePending = false;
    QString m_lastTitle;
    QElapsedTimer m_sinceCrashReload;
};

} // namespace engine
