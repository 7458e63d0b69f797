#include "ui/RefreshKeys.h"

#include "platform/engine/Browser.h"

#include <QShortcut>
#include <QWidget>

namespace {
void ReloadOf(const RefreshKeys::BrowserOf& browserOf, bool bypassCache)
{
    if (const auto browser = browserOf())
        browser->Reload(bypassCache);
}
} // namespace

RefreshKeys::RefreshKeys(QWidget& window, BrowserOf browserOf) : m_browser(std::move(browserOf))
{
    // Children of the window, which go with it; they hold what they need themselves.
    for (const bool bypassCache : {false, true}) {
        auto* key = new QShortcut(
            bypassCache ? QKeySequence(Qt::CTRL | Qt::Key_F5) : QKeySequence(Qt::Key_F5), &window);
        key->setContext(Qt::WindowShortcut);
        QObject::connect(key, &QShortcut::activated, &window,
                         [browserOf = m_browser, bypassCache] { ReloadOf(browserOf, bypassCache); });
    }
}

void RefreshKeys::Reload(bool bypassCache) const
{
    ReloadOf(m_browser, bypassCache);
}
