#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QNetworkInformation>
#include <QSet>
#include <QTimer>
#include <QWebEnginePage>

namespace engine {

class Browser;
class BrowserClient;

// The one place where a browser's navigation policy lives: every navigation goes to the client,
// pop-ups never open, load errors and titles are reported, and a crashed page recovers. What a
// page may reach is decided here for navigations and by the profile's request interceptor for
// everything else; dialogs are capped and permission requests refused. A main-frame load that
// failed on the network is tried again by itself, at growing intervals.
class Page final : public QWebEnginePage
{
    Q_OBJECT

public:
    Page(QWebEngineProfile* profile, Browser& browser, BrowserClient& client);

    // Shows a page text of our own (error or crash page) under an address. Its load is not a
    // navigation of the site and is not reported to the client.
    void ShowOwnPage(const QString& html, const QUrl& address);

    // Loads the page again (bypassCache: every resource from the network). On an error page of
    // ours, loads the address that failed.
    void Reload(bool bypassCache);

    // How long after its attempt'th failure in a row (from 0) a load is tried again: 2 s, doubling
    // to at most 30 s.
    static int RetryDelayMs(int attempt);
    // Whether a main-frame load that failed with this engine error is tried again by itself: the
    // network's failures are, the page's, the policy's and an aborted load's aren't.
    static bool IsRetriedError(int errorCode);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;

private:
    bool MayNavigate(const QUrl& url, NavigationType type, bool isMainFrame);
    // Whether a dialog of this origin may show now; counts it when it may.
    bool MayShowDialog(const QUrl& securityOrigin);
    QWidget* DialogParent() const;
    void OnLoadingChanged(const class QWebEngineLoadingInfo& info);
    void OnRenderProcessTerminated(RenderProcessTerminationStatus status, int exitCode);
    // The retry delay for this failed load, counting it; -1 when it isn't tried again.
    int ScheduleRetry(const QWebEngineLoadingInfo& info);
    void RetryNow();
    void OnReachabilityChanged(QNetworkInformation::Reachability reachability);

    Browser& m_browser;
    BrowserClient& m_client;
    bool m_ownPagePending = false;
    bool m_showingOwnPage = false;
    bool m_proxyAsked = false;   // the proxy had our user and password once
    QUrl m_ownPageAddress;       // the address our page shows under
    QUrl m_mainNavigation;       // the address the main frame is on its way to
    bool m_mainFromForm = false; // that load sends a form: it is never sent again unasked
    QUrl m_retryUrl;             // the address that failed, while it is to be tried again
    int m_retries = 0;           // its failures in a row
    bool m_retryPutOff = false;  // a try waits for the page to show
    QTimer m_retryTimer;
    QString m_lastTitle;
    QElapsedTimer m_sinceCrashReload;
    QHash<QString, QList<qint64>> m_dialogTimes; // per origin: when its last dialogs showed
    QSet<QString> m_silencedOrigins;             // origins that get no more dialogs
    QElapsedTimer m_clock;
};

} // namespace engine
