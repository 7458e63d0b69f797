#pragma once

#include <functional>
#include <memory>

class QWidget;
namespace engine {
class Browser;
}

// F5 loads a window's page again, Ctrl+F5 with nothing from the cache, as in every browser. The
// keys work while the window, or a window it owns, has the focus; the page never sees them.
class RefreshKeys final
{
public:
    using BrowserOf = std::function<std::shared_ptr<engine::Browser>()>;
    RefreshKeys(QWidget& window, BrowserOf browser);

    // What the window's own refresh button does.
    void Reload(bool bypassCache) const;

private:
    BrowserOf m_browser;
};
