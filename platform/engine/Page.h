#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QWebEnginePage>

namespace engine {

class Browser;
class BrowserClient;

// The one place where a browser's navigation policy lives: every navigation goes to the client,
// pop-ups never open, load errors and titles are reported, and a crashed page recovers. What a
// page may reach is decided here for navigations and by the profile's request interceptor for
// everything else; dialogs are capped and permission requests refused.
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

    Browser& m_browser;
    BrowserClient& m_client;
    bool m_ownPagePending = false;
    QUrl m_mainNavigation; // the address the main frame is on its way to
    QString m_lastTitle;
    QElapsedTimer m_sinceCrashReload;
    QHash<QString, QList<qint64>> m_dialogTimes; // per origin: when its last dialogs showed
    QSet<QString> m_silencedOrigins;             // origins that get no more dialogs
    QElapsedTimer m_clock;
};

} // namespace engine
