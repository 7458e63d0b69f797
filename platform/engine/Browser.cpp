#include "platform/engine/Browser.h"

#include "platform/desktop/FreedMemory.h"
#include "platform/engine/BrowserClient.h"
#include "platform/engine/Engine.h"
#include "platform/engine/Page.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace engine {
namespace {

// How long after a load or a discard the engine's freed memory is handed back: by then it has
// let go of what the load or the page needed.
constexpr int kMemorySettleMs = 5000;

// One timer for all browsers: a new load puts the hand-back off.
void ReturnFreedMemoryLater()
{
    static QTimer* timer = [] {
        auto* t = new QTimer(QCoreApplication::instance());
        t->setSingleShot(true);
        t->setInterval(kMemorySettleMs);
        QObject::connect(t, &QTimer::timeout, [] { desktop::ReturnFreedMemory(); });
        return t;
    }();
    timer->start();
}

} // namespace

Browser::Browser(std::shared_ptr<BrowserClient> client) : m_client(std::move(client)) {}

Browser::~Browser()
{
    delete m_view.data();
    delete m_page;
}

QWidget* Browser::GetWindowHandle() const
{
    return m_view.data();
}

void Browser::LoadURL(const QString& address, std::function<void()> whenLoaded)
{
    QTimer::singleShot(0, this, [this, address, whenLoaded = std::move(whenLoaded)] {
        if (!m_page)
            return;
        if (!m_view)
            CreateView();            // it went with a discard
        m_page->load(QUrl(address)); // a discarded page comes back with it
        if (!whenLoaded)
            return;
        // Once: at the end of this load, or when it takes too long.
        auto done = std::make_shared<std::function<void()>>(whenLoaded);
        auto once = [done] {
            if (const auto f = std::exchange(*done, nullptr))
                f();
        };
        connect(m_page, &QWebEnginePage::loadFinished, m_page, once, Qt::SingleShotConnection);
        QTimer::singleShot(kLoadWaitMs, m_page, once);
    });
}

void Browser::Discard(std::function<void()> whenDiscarded)
{
    // After the hide has reached the page.
    QTimer::singleShot(0, this, [this, whenDiscarded = std::move(whenDiscarded)] {
        if (!m_page || !m_view || m_page->isVisible())
            return;
        if (m_page->lifecycleState() != QWebEnginePage::LifecycleState::Discarded)
            m_page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
        // The view keeps the page's last picture and its own graphics buffers; the page stays,
        // with its history and settings, and gets a new view when it loads again.
        m_rect = m_view->geometry();
        disconnect(m_view, &QObject::destroyed, this, &Browser::OnViewDestroyed);
        delete m_view.data();
        ReturnFreedMemoryLater();
        if (whenDiscarded)
            whenDiscarded();
    });
}

void Browser::LoadString(const QString& html, const QUrl& address)
{
    QTimer::singleShot(0, this, [this, html, address] {
        if (m_page)
            m_page->ShowOwnPage(html, address);
    });
}

void Browser::ExitFullScreen()
{
    if (m_page)
        m_page->triggerAction(QWebEnginePage::ExitFullScreen);
}

QUrl Browser::GetURL() const
{
    return m_page ? m_page->url() : QUrl();
}

void Browser::SetAudioMuted(bool muted)
{
    if (m_page)
        m_page->setAudioMuted(muted);
}

bool Browser::IsAudioMuted() const
{
    return m_page && m_page->isAudioMuted();
}

void Browser::Reload(bool bypassCache)
{
    if (m_page)
        m_page->Reload(bypassCache);
}

void Browser::Create(QWidget* parent, const QRect& rect, const QString& address,
                     const BrowserSettings& settings)
{
    m_page = new Page(Profile(), *this, *m_client);
    connect(m_page, &QWebEnginePage::loadFinished, this, [] { ReturnFreedMemoryLater(); });
    QWebEngineSettings* s = m_page->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, settings.fileAccessFromFileUrls);
    s->setAttribute(QWebEngineSettings::LocalStorageEnabled, settings.localStorage);
    m_host = parent;
    m_rect = rect;
    // A host that goes while the view is let go ends the browser, as the view would have.
    connect(parent, &QObject::destroyed, this, [this] {
        if (!m_view && m_page)
            OnViewDestroyed();
    });
    CreateView();
    m_page->load(QUrl(address));
}

void Browser::CreateView()
{
    if (!m_host)
        return;
    auto* view = new QWebEngineView(m_host);
    view->setPage(m_page);
    view->setGeometry(m_rect);
    m_view = view;
    connect(view, &QObject::destroyed, this, &Browser::OnViewDestroyed);
    view->show();
}

void Browser::OnViewDestroyed()
{
    const auto keepAlive = shared_from_this();
    m_view = nullptr; // it is being destroyed
    // The view has let go of its page; pages must go before the engine shuts down.
    delete m_page;
    m_page = nullptr;
    m_client->OnBeforeClose(*this);
    m_self.reset();
}

bool CreateBrowser(QWidget* parent, const QRect& rect, std::shared_ptr<BrowserClient> client,
                   const QString& address, const BrowserSettings& settings)
{
    if (!parent || !client)
        return false;
    std::shared_ptr<Browser> browser(new Browser(std::move(client)));
    browser->m_self = browser;
    QPointer<QWidget> host(parent);
    QTimer::singleShot(0, browser.get(), [browser, host, rect, address, settings] {
        if (!host) {
            browser->m_self.reset();
            return;
        }
        browser->Create(host, rect, address, settings);
        browser->m_client->OnAfterCreated(*browser);
    });
    return true;
}

} // namespace engine
