#include "ui/CDuiFormGame.h"

#include "browser/SimpleHandler.h"
#include "platform/desktop/GlobalHotKeys.h"
#include "platform/desktop/Screen.h"
#include "platform/engine/Browser.h"
#include "settings/Settings.h"
#include "ui/AppMessages.h"
#include "ui/BossKey.h"
#include "ui/CDuiFormFullScreen.h"
#include "ui/FullScreenMode.h"
#include "ui/GameSound.h"
#include "ui/RefreshKeys.h"
#include "ui/Screenshot.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

#include <cstdio>

namespace {
// The top bar's height: the browser sits right under it.
constexpr int kTopBarHeight = 32;
} // namespace

CDuiFormGame::CDuiFormGame(const QString& skinFile)
    : CXMLWnd(skinFile), m_pHandler(std::make_shared<SimpleHandler>()),
      m_fullScreen(std::make_unique<FullScreenMode>(*this, [this] { ResizeBrowser(); })),
      m_bossKey(std::make_unique<BossKey>(*this)),
      m_sound(std::make_unique<GameSound>([handler = m_pHandler] { return handler->GetBrowser(); })),
      m_screenshot(std::make_unique<Screenshot>())
{
}

CDuiFormGame::~CDuiFormGame()
{
    OnFinalMessage();
}

bool CDuiFormGame::CreateFrame(QWidget* parent, const QString& gameUrl)
{
    m_strGameUrl = gameUrl;
    return Create(parent, QString(), WS_VISIBLE | WS_EX_APPWINDOW);
}

void CDuiFormGame::InitWindow()
{
    RegisterHotKeys();
    // A movie or page that goes full screen takes the window's own full-screen mode, bar and keys
    // included; leaving it from either side leaves both.
    m_pHandler->SetFullScreenHandler([this](bool on) {
        if (on)
            EnterFullScreen();
        else
            ExitFullScreen();
    });
    engine::BrowserSettings browserSettings;
    browserSettings.fileAccessFromFileUrls = true;
    browserSettings.localStorage = true;
    engine::CreateBrowser(GetHWND(), QRect(0, kTopBarHeight, 627, 374), m_pHandler, m_strGameUrl,
                          browserSettings);
    m_refreshKeys =
        std::make_unique<RefreshKeys>(*GetHWND(), [handler = m_pHandler] { return handler->GetBrowser(); });
    m_pTopBg = FindControl(QStringLiteral("topBg"));
    m_siteButtons.Read();
    m_bLaidOut = true;
    CenterInWorkArea();
}

void CDuiFormGame::OnFinalMessage()
{
    // Grabs belong to the program's display connection, not to the window: they, the icon and
    // the bar go with the window.
    UnregisterHotKeys();
    m_hotKeys.reset();
    m_bossKey->RemoveIcon();
    m_pHandler->SetFullScreenHandler(nullptr); // the handler may outlive this window
    m_fullScreen->CloseBar();
    m_bLaidOut = false;
}

void CDuiFormGame::CenterInWorkArea()
{
    // Only the work area's right and bottom edges count, so a small work area gives a negative
    // position, and the window is placed there all the same.
    const QRect work = desktop::WorkArea();
    const int x = (work.x() + work.width() - kWidth) / 2;
    const int y = (work.y() + work.height() - kHeight) / 2;
    GetHWND()->setGeometry(x, y, kWidth, kHeight);
    ShowWindow(true, true);
    ResizeBrowser();
}

void CDuiFormGame::ResizeBrowser()
{
    QWidget* wnd = GetHWND();
    if (!wnd)
        return;
    const int W = wnd->width();
    const int H = wnd->height();
    const QRect screen = desktop::ScreenRect();
    const bool fullScreen = m_fullScreen->IsOn();
    if (fullScreen)
        wnd->setGeometry(screen);
    else if (m_pTopBg)
        m_pTopBg->setGeometry(0, 0, W, m_pTopBg->height());
    if (const auto browser = m_pHandler->GetBrowser()) {
        if (QWidget* view = browser->GetWindowHandle()) {
            if (fullScreen)
                view->setGeometry(0, 0, screen.width(), screen.height());
            else
                view->setGeometry(2, kTopBarHeight, W - 3, H - 34);
        }
    }
    wnd->update();
    wnd->show();
}

bool CDuiFormGame::HandleMessage(QEvent* event)
{
    const bool result = CXMLWnd::HandleMessage(event);
    const auto type = event->type();
    if (type == QEvent::Move) {
        if (m_bLaidOut)
            ResizeBrowser();
    } else if (type == QEvent::Resize) {
        if (m_bLaidOut && !IsFullScreen())
            ResizeBrowser();
        PostMessage(GetHWND(), new QEvent(WM_ACTIVATE));
    } else if (type == QEvent::WindowActivate || type == WM_ACTIVATE) {
        if (m_bLaidOut && !IsBossHidden() && !IsFullScreen())
            ResizeBrowser();
    } else if (type == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && IsFullScreen())
            ExitFullScreen();
    } else if (type == QEvent::Close) {
        // Closed by the desktop rather than by "closebtn": the same rule, so the player is never
        // left with a hidden login window and no window at all.
        if (event->spontaneous())
            ApplyCloseRule();
    } else if (type == WM_HOTKEY) {
        OnHotKey(static_cast<HotKeyEvent*>(event)->wParam);
    } else if (type == WM_TRAY_ICON) {
        m_bossKey->OnTrayIcon(static_cast<TrayIconEvent*>(event)->mouseMessage);
        ShowSoundState();
    } else if (type == WM_TOGGLE_MUTE) {
        ToggleMute();
    } else if (type == WM_EXIT_FULL_SCREEN) {
        ExitFullScreen();
    }
    return result;
}

void CDuiFormGame::OnSysCommand(SysCommand command)
{
    if (m_bLaidOut)
        PostMessage(GetHWND(), new QEvent(WM_ACTIVATE));
    CXMLWnd::OnSysCommand(command);
}

void CDuiFormGame::OnClick(TNotifyUI& msg)
{
    const QString name = msg.GetName();
    if (m_siteButtons.Open(name)) {
        // opened in the user's browser
    } else if (name == u"closebtn") {
        ApplyCloseRule();
    } else if (name == u"bosskeybtn") {
        m_bossKey->SetHidden(true);
        HideToTray();
    } else if (name == u"mutebtn") {
        ToggleMute();
    } else if (name == u"screenshotbtn") {
        TakeScreenshot();
    } else if (name == u"fullscreenbtn") {
        EnterFullScreen();
    } else if (name == u"refreshbtn" && m_refreshKeys) {
        m_refreshKeys->Reload(false);
    }
    CXMLWnd::OnClick(msg);
}

void CDuiFormGame::ApplyCloseRule()
{
    const QString gotoLoginPage = settings::GotoLoginPage();
    if (gotoLoginPage == u"1" && m_hLoginWnd) {
        PostMessage(m_hLoginWnd, new QEvent(WM_SHOW_LOGIN));
        return;
    }
    if (gotoLoginPage != u"0" && gotoLoginPage != u"1")
        std::fprintf(stderr, "vantor: gotoLoginPage=%s is neither 0 nor 1; ending the program\n",
                     qPrintable(gotoLoginPage));
    PostQuitMessage(0); // the engine shuts down at the end of the program, once every browser is gone
}

bool CDuiFormGame::IsFullScreen() const
{
    return m_fullScreen->IsOn();
}

bool CDuiFormGame::IsBossHidden() const
{
    return m_bossKey->IsHidden();
}

CDuiFormFullScreen* CDuiFormGame::FullScreenBar() const
{
    return m_fullScreen->Bar();
}

void CDuiFormGame::EnterFullScreen()
{
    if (m_fullScreen->Enter(m_hotKeys.get()))
        ShowSoundState();
}

void CDuiFormGame::ExitFullScreen()
{
    if (!m_fullScreen->Exit(m_hotKeys.get()))
        return;
    if (const auto browser = m_pHandler->GetBrowser())
        browser->ExitFullScreen();
}

void CDuiFormGame::RegisterHotKeys()
{
    UnregisterHotKeys();
    if (!m_hotKeys) {
        m_hotKeys = std::make_unique<desktop::GlobalHotKeys>([this](int id) {
            HotKeyEvent message(id);
            SendMessage(GetHWND(), &message);
        });
    }
    m_fullScreen->SetHotKey(settings::FullScreenHotKey());
    m_bossKey->Register(*m_hotKeys, settings::BossHotKey());
    if (const auto key = settings::ScreenshotHotKey()) {
        m_screenshotHotKeyId = desktop::GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_Screenshot"));
        m_hotKeys->Register(m_screenshotHotKeyId, *key);
    }
}

void CDuiFormGame::UnregisterHotKeys()
{
    m_fullScreen->ForgetHotKey(m_hotKeys.get());
    m_bossKey->Unregister(m_hotKeys.get());
    if (m_screenshotHotKeyId != 0 && m_hotKeys)
        m_hotKeys->Unregister(m_screenshotHotKeyId);
    m_screenshotHotKeyId = 0;
}

void CDuiFormGame::OnHotKey(int id)
{
    if (id == m_fullScreen->HotKeyId())
        ExitFullScreen();
    else if (id == m_bossKey->HotKeyId())
        m_bossKey->Toggle();
    else if (id == m_screenshotHotKeyId && GetHWND() && GetHWND()->isVisible())
        TakeScreenshot(); // a hidden game is nobody's to see
    ShowSoundState();
}

QString CDuiFormGame::TakeScreenshot()
{
    const auto browser = m_pHandler->GetBrowser();
    return m_screenshot->Take(browser ? browser->GetWindowHandle() : nullptr);
}

QString CDuiFormGame::ScreenshotMessage() const
{
    return m_screenshot->Message();
}

void CDuiFormGame::HideToTray()
{
    m_bossKey->HideToTray();
    ShowSoundState();
}

void CDuiFormGame::ToggleMute()
{
    m_sound->SetMuted(!m_sound->IsMuted());
    ShowSoundState();
}

void CDuiFormGame::ShowSoundState()
{
    QWidget* wnd = GetHWND();
    m_sound->SetBossHidden(m_bossKey->IsHidden() && !(wnd && wnd->isVisible()));
    const bool muted = m_sound->IsMuted();
    for (WindowImplBase* window :
         {static_cast<WindowImplBase*>(this), static_cast<WindowImplBase*>(FullScreenBar())}) {
        auto* button =
            window ? qobject_cast<QAbstractButton*>(window->FindControl(QStringLiteral("mutebtn"))) : nullptr;
        if (!button)
            continue;
        button->setCheckable(true);
        button->setChecked(muted);
        button->setToolTip(muted ? QStringLiteral("打开游戏声音") : QStringLiteral("关闭游戏声音"));
    }
}
