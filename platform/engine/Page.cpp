#include "platform/engine/Page.h"

#include "platform/engine/BrowserClient.h"

#include <QFile>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>

namespace engine {
namespace {

// A renderer that crashes again this soon after the automatic reload is not reloaded again: the
// crash page lets the player decide.
constexpr qint64 kCrashReloadWindowMs = 30'000;

constexpr int kErrAborted = -3;

QString CrashPage(const QUrl& address)
{
    QFile file(QStringLiteral(":/engine/crashpage.html"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll())
        .replace(QStringLiteral("{{URL}}"), address.toString(QUrl::FullyEncoded).toHtmlEscaped());
}

} // namespace

Page::Page(QWebEngineProfile* profile, Browser& browser, BrowserClient& client)
    : QWebEnginePage(profile), m_browser(browser), m_client(client)
{
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings()->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    connect(this, &QWebEnginePage::loadingChanged, this, &Page::OnLoadingChanged);
    connect(this, &QWebEnginePage::renderProcessTerminated, this, &Page::OnRenderProcessTerminated);
    connect(
        this, &QWebEnginePage::titleChanged, this,
        [this](const QString& title) {
            if (title == m_lastTitle)
                return;
            m_lastTitle = title;
            m_client.OnTitleChange(m_browser, title);
        },
        Qt::QueuedConnection);
    // window.close() is ignored: the page's host window decides when the browser goes.
}

void Page::ShowOwnPage(const QString& html, const QUrl& address)
{
    m_ownPagePending = true;
    setHtml(html, address);
}

bool Page::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (m_ownPagePending && isMainFrame && url.scheme() == u"data") {
        m_ownPagePending = false;
        return true;
    }
    return !m_client.OnBeforeBrowse(m_browser, url, isMainFrame, type == NavigationTypeRedirect);
}

QWebEnginePage* Page::createWindow(WebWindowType)
{
    m_client.OnBeforePopup(m_browser, QUrl());
    return nullptr;
}

void Page::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) {
        m_client.OnLoadError(m_browser, kErrAborted, QStringLiteral("ERR_ABORTED"), info.url());
        return;
    }
    // An HTTP error status still brings the server's own page; only failures without a page count.
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus ||
        info.errorDomain() == QWebEngineLoadingInfo::HttpErrorDomain)
        return;
    m_client.OnLoadError(m_browser, info.errorCode(), info.errorString(), info.url());
}

void Page::OnRenderProcessTerminated(RenderProcessTerminationStatus status, int)
{
    if (status == NormalTerminationStatus)
        return;
    const QUrl address = url();
    const bool crashedSoonAfterReload =
        m_sinceCrashReload.isValid() && m_sinceCrashReload.elapsed() < kCrashReloadWindowMs;
    QTimer::singleShot(0, this, [this, address, crashedSoonAfterReload] {
        if (crashedSoonAfterReload) {
            ShowOwnPage(CrashPage(address), address);
            return;
        }
        m_sinceCrashReload.start();
        load(address);
    });
}

} // namespace engine
