#pragma once

#include <QString>
#include <QUrl>

namespace engine {

class Browser;

// What the engine tells the client of a browser. Every call arrives on the main thread, after the
// engine has done its own part; a browser is reported created (OnAfterCreated) only after
// CreateBrowser has returned.
class BrowserClient
{
public:
    virtual ~BrowserClient() = default;

    virtual void OnAfterCreated(Browser& browser) = 0;
    // The browser's view is being destroyed; the browser can't show anything any more.
    virtual void OnBeforeClose(Browser& browser) = 0;
    // Every navigation of every frame, redirects included. Return true to cancel it.
    virtual bool OnBeforeBrowse(Browser& browser, const QUrl& url, bool isMainFrame, bool isRedirect) = 0;
    // A load of the main frame failed: errorCode is the engine's negative network error number
    // (-3 for an aborted load), errorText its name. The page tries the address again by itself in
    // retryInMs, or never when it is negative.
    virtual void OnLoadError(Browser& browser, int errorCode, const QString& errorText, const QUrl& failedUrl,
                             int retryInMs) = 0;
    virtual void OnTitleChange(Browser& browser, const QString& title) = 0;
    // Whether the browser's host window can show its page full screen at all.
    virtual bool CanGoFullScreen() const { return false; }
    // The page asks to enter (on) or leave its full screen. Return true to go along; the host
    // window then shows the browser full screen, or stops. Refused by default.
    virtual bool OnFullScreenRequest(Browser& browser, bool on)
    {
        (void)browser;
        (void)on;
        return false;
    }
};

} // namespace engine
