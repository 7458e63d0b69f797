#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;

namespace engine {

class BrowserClient;
class Page;

struct BrowserSettings
{
    bool fileAccessFromFileUrls = false;
    bool localStorage = true;
};

// One embedded browser: a web view that is a child widget of its host window, with its own page.
// It keeps itself alive while its view exists; its client is told when the view goes.
class Browser final : public QObject, public std::enable_shared_from_this<Browser>
{
    Q_OBJECT

public:
    ~Browser() override;

    // The browser's own child widget; null once it is gone.
    QWidget* GetWindowHandle() const;
    bool IsSame(const Browser& other) const { return this == &other; }

    // Both are asynchronous: they run after the caller has returned to the event loop, so a
    // client may call them from inside a navigation callback of the same browser. whenLoaded runs
    // once the load has finished, loaded or failed, or after kLoadWaitMs at the latest.
    void LoadURL(const QString& address, std::function<void()> whenLoaded = {});
    static constexpr int kLoadWaitMs = 5000;
    // Shows a page text under an address, without reporting it as a navigation.
    void LoadString(const QString& html, const QUrl& address);

    QUrl GetURL() const;

    // Silences the page's sound, or lets it play again.
    void SetAudioMuted(bool muted);
    bool IsAudioMuted() const;

    // Loads the page again, as the player's F5 does (bypassCache: Ctrl+F5, nothing from the cache).
    void Reload(bool bypassCache = false);

    // Tells the page that it is no longer full screen (its host window left it).
    void ExitFullScreen();

    // Lets go of the page's renderer and memory, and of the view with its pixels, while the view is
    // hidden; the next LoadURL brings both back in the same place. Does nothing while the view is
    // shown. whenDiscarded runs once the view is gone, so that its window can let go of its own.
    void Discard(std::function<void()> whenDiscarded = {});

private:
    friend bool CreateBrowser(QWidget*, const QRect&, std::shared_ptr<BrowserClient>, const QString&,
                              const BrowserSettings&);
    explicit Browser(std::shared_ptr<BrowserClient> client);
    void Create(QWidget* parent, const QRect& rect, const QString& address, const BrowserSettings& settings);
    void CreateView();
    void OnViewDestroyed();

    std::shared_ptr<BrowserClient> m_client;
    std::shared_ptr<Browser> m_self; // the engine's own reference, dropped when the view goes
    QPointer<QWidget> m_view;
    // Where the view is, kept while a discarded page has none.
    QPointer<QWidget> m_host;
    QRect m_rect;
    Page* m_page = nullptr;
};

// Creates a browser as a child widget of parent at rect (parent's pixels), on address. Creation
// completes later, on the event loop, and is reported through client->OnAfterCreated. Returns
// false when the request can't be made (no parent).
bool CreateBrowser(QWidget* parent, const QRect& rect, std::shared_ptr<BrowserClient> client,
                   const QString& address, const BrowserSettings& settings = {});

} // namespace engine
