#include "platform/engine/Browser.h"

#include "platform/engine/BrowserClient.h"
#include "platform/engine/Engine.h"
#include "platform/engine/Page.h"

#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace engine {

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

void Browser::Discard()
{
    // After the hide has reached the page.
    QTimer::singleShot(0, this, [this] {
        if (m_page && !m_page->isVisible() &&
            m_page->lifecycleState() != QWebEnginePage::LifecycleState::Discarded)
            m_page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
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

void Browser::Create(QWidget* parent, const QRect& rect, const QString& address,
                     const BrowserSettings& settings)
{
    m_page = new Page(Profile(), *this, *m_client);
    QWebEngineSettings* s = m_page->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, settings.fileAccessFromFileUrls);
    s->setAttribute(QWebEngineSettings::LocalStorageEnabled, settings.localStorage);
    auto* view = new QWebEngineView(parent);
    view->setPage(m_page);
    view->setGeometry(rect);
    m_view = view;
    connect(view, &QObject::destroyed, this, &Browser::OnViewDestroyed);
    view->show();
    m_page->load(QUrl(address));
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
