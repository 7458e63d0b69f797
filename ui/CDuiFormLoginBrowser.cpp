#include "ui/CDuiFormLoginBrowser.h"

#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "settings/Settings.h"
#include "ui/RefreshKeys.h"

#include <QWidget>

CDuiFormLoginBrowser::CDuiFormLoginBrowser(const QString& skinFile) : CXMLWnd(skinFile) {}

CDuiFormLoginBrowser::~CDuiFormLoginBrowser() = default;

bool CDuiFormLoginBrowser::CreateAt(QWidget* owner, const QRect& ownerRect)
{
    if (!Create(owner, QStringLiteral("LoginBrowser"), WS_VISIBLE))
        return false;
    GetHWND()->move(ownerRect.topLeft() + kCreateOffset);
    return true;
}

void CDuiFormLoginBrowser::MoveTo(int x, int y)
{
    if (QWidget* wnd = GetHWND())
        wnd->move(x + kBrowserArea.x(), y + kBrowserArea.y());
}

bool CDuiFormLoginBrowser::LoadUrl(const QString& address, std::function<void()> whenLoaded)
{
    const auto browser = g_pLoginHandler->GetBrowser();
    if (!browser)
        return false;
    browser->LoadURL(address, std::move(whenLoaded));
    return true;
}

void CDuiFormLoginBrowser::Discard(std::function<void()> whenDiscarded)
{
    if (const auto browser = g_pLoginHandler->GetBrowser())
        browser->Discard([this, whenDiscarded = std::move(whenDiscarded)] {
            ReleaseNativeWindow();
            if (whenDiscarded)
                whenDiscarded();
        });
}

void CDuiFormLoginBrowser::InitWindow()
{
    m_strLoginUrl = settings::GameLoginUrl();
    engine::BrowserSettings browserSettings;
    browserSettings.fileAccessFromFileUrls = true;
    browserSettings.localStorage = true;
    engine::CreateBrowser(GetHWND(), QRect(QPoint(0, 0), kBrowserArea.size()), g_pLoginHandler, m_strLoginUrl,
                          browserSettings);
    m_refreshKeys = std::make_unique<RefreshKeys>(*GetHWND(), [] { return g_pLoginHandler->GetBrowser(); });
}
