#include "platform/engine/Page.h"

#include "platform/engine/BrowserClient.h"
#include "platform/engine/RequestPolicy.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QNetworkInformation>
#include <QNetworkProxy>
#include <QPointer>
#include <QTimer>
#include <QWebEngineFileSystemAccessRequest>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif
#include <QWebEngineFullScreenRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace engine {
namespace {

// A renderer that crashes again this soon after the automatic reload is not reloaded again: the
// crash page lets the player decide.
constexpr qint64 kCrashReloadWindowMs = 30'000;

// An origin that opens more dialogs than this within the window gets no more in this browser:
// each dialog holds its window, so a loop of them would hold the player.
constexpr int kDialogsPerWindow = 3;
constexpr qint64 kDialogWindowMs = 10'000;
// A page's text in a dialog is cut here; the dialog is for a short message, not a document.
constexpr int kDialogTextLimit = 2000;

constexpr int kErrAborted = -3;
constexpr int kErrBlockedByClient = -20;

constexpr int kFirstRetryMs = 2'000;
constexpr int kLongestRetryMs = 30'000;

// The system's word that the network is back, where it has a backend that says so
// (NetworkManager): loaded at the first failure, so that no start-up waits for it.
QNetworkInformation* NetworkInformation()
{
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadDefaultBackend();
    return QNetworkInformation::instance();
}

QString CrashPage(const QUrl& address)
{
    QFile file(QStringLiteral(":/engine/crashpage.html"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll())
        .replace(QStringLiteral("{{URL}}"), address.toString(QUrl::FullyEncoded).toHtmlEscaped());
}

// The engine asks "leave this page?" through the confirm dialog, with this text of its own.
bool IsLeavePageQuestion(const QString& msg)
{
    return msg == QCoreApplication::translate(
                      "QWebEnginePage",
                      "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

} // namespace

Page::Page(QWebEngineProfile* profile, Browser& browser, BrowserClient& client)
    : QWebEnginePage(profile), m_browser(browser), m_client(client)
{
    m_clock.start();
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings()->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings()->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    // Addresses of schemes the engine doesn't know (mailto:, desktop programs') are never handed
    // to the desktop; the navigation just doesn't happen.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
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
    // Every permission a page asks for is refused at once: no prompt, no promise left pending.
    // Qt 6.8 hands the request over as an object of its own (and deprecates the older calls).
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    connect(this, &QWebEnginePage::permissionRequested, this,
            [](QWebEnginePermission permission) { permission.deny(); });
#else
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
#endif
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    // The page's own full screen (a movie's, or requestFullscreen()) is the host window's to grant.
    // Where the host never grants it, the engine refuses at once, so no page waits on an answer.
    settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, m_client.CanGoFullScreen());
    connect(this, &QWebEnginePage::fullScreenRequested, this, [this](QWebEngineFullScreenRequest request) {
        if (m_client.OnFullScreenRequest(m_browser, request.toggleOn())) {
            request.accept();
            return;
        }
        request.reject();
    });
    // window.close() is ignored: the page's host window decides when the browser goes.

    // The proxy's own user and password (Network/Proxy), once for each request: a proxy that
    // refuses them is refused in turn, rather than asked again and again.
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl&, QAuthenticator* authenticator, const QString& proxyHost) {
                const QNetworkProxy proxy = QNetworkProxy::applicationProxy();
                if (proxy.hostName() != proxyHost || proxy.user().isEmpty() || m_proxyAsked) {
                    *authenticator = QAuthenticator(); // cancelled
                    return;
                }
                m_proxyAsked = true;
                authenticator->setUser(proxy.user());
                authenticator->setPassword(proxy.password());
            });

    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &Page::RetryNow);
    // A hidden page doesn't try again; once it shows, it tries at once.
    connect(this, &QWebEnginePage::visibleChanged, this, [this](bool visible) {
        if (!visible && m_retryTimer.isActive()) {
            m_retryTimer.stop();
            m_retryPutOff = true;
        } else if (visible && m_retryPutOff) {
            m_retryPutOff = false;
            m_retryTimer.start(0);
        }
    });
}

int Page::RetryDelayMs(int attempt)
{
    return attempt >= 4 ? kLongestRetryMs : std::min(kFirstRetryMs << attempt, kLongestRetryMs);
}

bool Page::IsRetriedError(int errorCode)
{
    switch (errorCode) {
    case -7:   // ERR_TIMED_OUT
    case -21:  // ERR_NETWORK_CHANGED
    case -100: // ERR_CONNECTION_CLOSED
    case -101: // ERR_CONNECTION_RESET
    case -102: // ERR_CONNECTION_REFUSED
    case -103: // ERR_CONNECTION_ABORTED
    case -104: // ERR_CONNECTION_FAILED
    case -105: // ERR_NAME_NOT_RESOLVED
    case -106: // ERR_INTERNET_DISCONNECTED
    case -109: // ERR_ADDRESS_UNREACHABLE
    case -118: // ERR_CONNECTION_TIMED_OUT
    case -130: // ERR_PROXY_CONNECTION_FAILED
    case -137: // ERR_NAME_RESOLUTION_FAILED
    case -324: // ERR_EMPTY_RESPONSE: a server going down or coming up
        return true;
    default:
        return false;
    }
}

void Page::ShowOwnPage(const QString& html, const QUrl& address)
{
    m_ownPagePending = true;
    m_ownPageAddress = address;
    // Our page takes the origin of its base address: it never gets that of a local file.
    setHtml(html, IsWebAddress(address) ? address : QUrl(QStringLiteral("about:blank")));
}

void Page::Reload(bool bypassCache)
{
    if (m_showingOwnPage) {
        if (IsWebAddress(m_ownPageAddress))
            load(m_ownPageAddress);
        return;
    }
    triggerAction(bypassCache ? ReloadAndBypassCache : QWebEnginePage::Reload);
}

bool Page::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (m_ownPagePending && isMainFrame && url.scheme() == u"data") {
        m_ownPagePending = false;
        m_showingOwnPage = true;
        return true;
    }
    if (!MayNavigate(url, type, isMainFrame)) {
        if (isMainFrame)
            m_client.OnLoadError(m_browser, kErrBlockedByClient, QStringLiteral("ERR_BLOCKED_BY_CLIENT"), url,
                                 -1);
        return false;
    }
    if (m_client.OnBeforeBrowse(m_browser, url, isMainFrame, type == NavigationTypeRedirect))
        return false;
    if (isMainFrame) {
        m_mainNavigation = url;
        m_showingOwnPage = false;
        if (type != NavigationTypeRedirect)
            m_mainFromForm = type == NavigationTypeFormSubmitted;
        // The player's or the page's own load replaces a pending try: one load at a time.
        m_retryTimer.stop();
        m_retryPutOff = false;
    }
    return true;
}

bool Page::MayNavigate(const QUrl& url, NavigationType type, bool isMainFrame)
{
    const bool redirect = type == NavigationTypeRedirect;
    // A typed address is the program's own load (settings, build defaults, the reload after a
    // crash): pages can't make one. It may be a file: page of the operator's.
    if (isMainFrame && type == NavigationTypeTyped)
        return MayRequest(Requester::Program, QUrl(), url);
    // The document behind the navigation: for a redirect the address it was on its way to, else
    // the page's own. A frame's own origin is checked again by the request interceptor.
    const QUrl origin = isMainFrame && redirect ? m_mainNavigation : this->url();
    const Requester requester = origin.scheme() == u"file" ? Requester::LocalFile : Requester::Web;
    return MayRequest(requester, origin, url);
}

QWebEnginePage* Page::createWindow(WebWindowType)
{
    // Pop-ups are never opened: the game and the login page each live in their one window.
    return nullptr;
}

QWidget* Page::DialogParent() const
{
    QWebEngineView* view = QWebEngineView::forPage(this);
    // A page whose window the player can't see can't ask the player anything.
    return view && view->isVisible() ? view->window() : nullptr;
}

bool Page::MayShowDialog(const QUrl& securityOrigin)
{
    const QString origin = securityOrigin.toString();
    if (m_silencedOrigins.contains(origin) || !DialogParent())
        return false;
    QList<qint64>& times = m_dialogTimes[origin];
    const qint64 now = m_clock.elapsed();
    times.removeIf([now](qint64 t) { return now - t > kDialogWindowMs; });
    if (times.size() >= kDialogsPerWindow) {
        m_silencedOrigins.insert(origin);
        m_dialogTimes.remove(origin);
        return false;
    }
    times.append(now);
    return true;
}

void Page::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    if (!MayShowDialog(securityOrigin))
        return;
    // Modal to the page's own window only: the other windows and their buttons keep working.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Information, securityOrigin.host(),
                                                msg.left(kDialogTextLimit), QMessageBox::Ok, DialogParent());
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::WindowModal);
    box->exec();
    delete box.data();
}

bool Page::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    // A silenced or hidden page is let go when it asks to stay: it can't hold the player on it.
    const bool leaveQuestion = IsLeavePageQuestion(msg);
    if (!MayShowDialog(securityOrigin))
        return leaveQuestion;
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::Question, securityOrigin.host(), msg.left(kDialogTextLimit),
                        QMessageBox::Ok | QMessageBox::Cancel, DialogParent());
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::WindowModal);
    const bool accepted = box->exec() == QMessageBox::Ok && box;
    delete box.data();
    return accepted;
}

bool Page::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                            QString* result)
{
    if (!MayShowDialog(securityOrigin)) {
        result->clear(); // answered with an empty text
        return true;
    }
    QPointer<QInputDialog> dialog = new QInputDialog(DialogParent());
    dialog->setWindowTitle(securityOrigin.host());
    dialog->setLabelText(msg.left(kDialogTextLimit));
    dialog->setTextValue(defaultValue.left(kDialogTextLimit));
    dialog->setWindowModality(Qt::WindowModal);
    const bool accepted = dialog->exec() == QDialog::Accepted && dialog;
    *result = accepted ? dialog->textValue() : QString();
    delete dialog.data();
    return accepted;
}

void Page::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) {
        m_client.OnLoadError(m_browser, kErrAborted, QStringLiteral("ERR_ABORTED"), info.url(), -1);
        return;
    }
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && !m_showingOwnPage) {
        m_retryUrl.clear();
        m_retries = 0;
    }
    // An HTTP error status (a positive code) still brings the server's own page; only failures
    // without a page count, the engine's HTTP-level ones (an unsafe or endless redirect) among them.
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus ||
        (info.errorDomain() == QWebEngineLoadingInfo::HttpErrorDomain && info.errorCode() > 0))
        return;
    m_client.OnLoadError(m_browser, info.errorCode(), info.errorString(), info.url(), ScheduleRetry(info));
}

int Page::ScheduleRetry(const QWebEngineLoadingInfo& info)
{
    // Engine errors are negative, whatever their domain (ERR_EMPTY_RESPONSE is an HTTP one).
    const bool retried = IsRetriedError(info.errorCode()) && !m_mainFromForm && IsWebAddress(info.url());
    if (!retried) {
        m_retryUrl.clear();
        return -1;
    }
    if (!info.url().matches(m_retryUrl, QUrl::None)) {
        m_retryUrl = info.url();
        m_retries = 0;
    }
    const int delay = RetryDelayMs(m_retries++);
    if (isVisible())
        m_retryTimer.start(delay);
    else
        m_retryPutOff = true;
    if (QNetworkInformation* network = NetworkInformation())
        connect(network, &QNetworkInformation::reachabilityChanged, this, &Page::OnReachabilityChanged,
                Qt::UniqueConnection);
    return delay;
}

void Page::OnReachabilityChanged(QNetworkInformation::Reachability reachability)
{
    if (reachability == QNetworkInformation::Reachability::Online && m_retryTimer.isActive())
        m_retryTimer.start(0);
}

void Page::RetryNow()
{
    if (!m_retryUrl.isValid() || !isVisible())
        return;
    load(m_retryUrl);
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
