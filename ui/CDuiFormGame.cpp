#include "ui/CDuiFormGame.h"

#include "browser/SimpleHandler.h"
#include "platform/desktop/GlobalHotKeysX11.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/Screen.h"
#include "platform/desktop/TrayIcon.h"
#include "platform/engine/Browser.h"
#include "settings/Settings.h"
#include "ui/AppMessages.h"
#include "ui/CDuiFormFullScreen.h"

#include <QKeyEvent>
#include <QWidget>

#include <cstdio>

namespace {
// The top bar's height: the browser sits right under it.
constexpr int kTopBarHeight = 32;
} // namespace

CDuiFormGame::CDuiFormGame(const QString& skinFile)
    : CXMLWnd(skinFile), m_pHandler(std::make_shared<SimpleHandler>())
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
    m_tray.reset();
    m_pHandler->SetFullScreenHandler(nullptr); // the handler may outlive this window
    delete m_pFullScreenWnd;
    m_pFullScreenWnd = nullptr;
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
    if (m_bFullScreen)
        wnd->setGeometry(screen);
    else if (m_pTopBg)
        m_pTopBg->setGeometry(0, 0, W, m_pTopBg->height());
    if (const auto browser = m_pHandler->GetBrowser()) {
        if (QWidget* view = browser->GetWindowHandle()) {
            if (m_bFullScreen)
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
        if (m_bLaidOut && !m_bFullScreen)
            ResizeBrowser();
        PostMessage(GetHWND(), new QEvent(WM_ACTIVATE));
    } else if (type == QEvent::WindowActivate || type == WM_ACTIVATE) {
        if (m_bLaidOut && !m_bBossHidden && !m_bFullScreen)
            ResizeBrowser();
    } else if (type == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && m_bFullScreen)
            ExitFullScreen();
    } else if (type == QEvent::Close) {
        // Closed by the desktop rather than by "closebtn": the same rule, so the player is never
        // left with a hidden login window and no window at all.
        if (event->spontaneous())
            ApplyCloseRule();
    } else if (type == WM_HOTKEY) {
        OnHotKey(static_cast<HotKeyEvent*>(event)->wParam);
    } else if (type == WM_TRAY_ICON) {
        const auto* tray = static_cast<TrayIconEvent*>(event);
        OnTrayIcon(tray->wParam, tray->lParam);
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
        m_bBossHidden = true;
        HideToTray();
    } else if (name == u"fullscreenbtn") {
        EnterFullScreen();
    }
    CXMLWnd::OnClick(msg);
}

void CDuiFormGame::ApplyCloseRule()
{
    const QString gotoLoginPage =
        ReadIniString(QStringLiteral("Common"), QStringLiteral("gotoLoginPage"), QStringLiteral("0"));
    if (gotoLoginPage == u"1" && m_hLoginWnd) {
        PostMessage(m_hLoginWnd, new QEvent(WM_SHOW_LOGIN));
        return;
    }
    if (gotoLoginPage != u"0" && gotoLoginPage != u"1")
        std::fprintf(stderr, "vantor: gotoLoginPage=%s is neither 0 nor 1; ending the program\n",
                     qPrintable(gotoLoginPage));
    PostQuitMessage(0); // the engine shuts down at the end of the program, once every browser is gone
}

void CDuiFormGame::EnterFullScreen()
{
    QWidget* wnd = GetHWND();
    if (!wnd || m_bFullScreen)
        return;
    m_wpNormal = Placement{wnd->isMaximized() ? wnd->normalGeometry() : wnd->geometry(), wnd->isMaximized()};
    m_bFullScreen = true;
    if (m_wpNormal->maximized)
        wnd->setWindowState(Qt::WindowNoState);
    wnd->setGeometry(desktop::ScreenRect());
    // A window manager keeps panels above a plain screen-sized window; the full-screen state
    // puts the game above them.
    wnd->setWindowState(Qt::WindowFullScreen);
    ResizeBrowser();

    auto* bar = new CDuiFormFullScreen(QStringLiteral("FormFullScreen.xml"));
    if (bar->CreateBar(wnd)) {
        bar->SetGameWindow(wnd);
        bar->ShowWindow(true, false);
        m_pFullScreenWnd = bar;
    } else {
        // Escape and the full-screen hot key still leave full screen.
        std::fprintf(stderr, "vantor: no full-screen bar: %s\n", qPrintable(bar->LastError()));
        delete bar;
    }
    if (m_fullScreenHotKey && m_hotKeys)
        m_hotKeys->Register(m_nFullScreenHotKeyId, m_fullScreenHotKey->modifiers,
                            m_fullScreenHotKey->virtualKey);
}

void CDuiFormGame::ExitFullScreen()
{
    // Only a full screen that was entered can be left: there is no saved placement otherwise.
    QWidget* wnd = GetHWND();
    if (!wnd || !m_bFullScreen || !m_wpNormal)
        return;
    if (m_hotKeys)
        m_hotKeys->Unregister(m_nFullScreenHotKeyId);
    m_bFullScreen = false;
    wnd->setWindowState(Qt::WindowNoState);
    wnd->setGeometry(m_wpNormal->normal);
    if (m_wpNormal->maximized)
        wnd->setWindowState(Qt::WindowMaximized);
    ResizeBrowser();
    if (const auto browser = m_pHandler->GetBrowser())
        browser->ExitFullScreen();
    delete m_pFullScreenWnd;
    m_pFullScreenWnd = nullptr;
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
    // The full-screen key only acts in full screen, so it is grabbed only while full screen is
    // on; the rest of the time the key belongs to the other programs.
    m_fullScreenHotKey =
        DecodeHotKey(ReadIniInt(QStringLiteral("Config"), QStringLiteral("FullScreenHotKey"), 27), true);
    if (m_fullScreenHotKey)
        m_nFullScreenHotKeyId = desktop::GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_FullScreen"));
    if (const auto boss =
            DecodeHotKey(ReadIniInt(QStringLiteral("Config"), QStringLiteral("BossHotKey"), 120), false)) {
        m_nBossHotKeyId = desktop::GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_Boss"));
        m_hotKeys->Register(m_nBossHotKeyId, boss->modifiers, boss->virtualKey);
    }
}

void CDuiFormGame::UnregisterHotKeys()
{
    for (int* id : {&m_nFullScreenHotKeyId, &m_nBossHotKeyId}) {
        if (*id != 0 && m_hotKeys)
            m_hotKeys->Unregister(*id);
        *id = 0;
    }
}

void CDuiFormGame::OnHotKey(int id)
{
    if (id == m_nFullScreenHotKeyId) {
        if (m_bFullScreen)
            ExitFullScreen();
    } else if (id == m_nBossHotKeyId) {
        QWidget* wnd = GetHWND();
        if (wnd && wnd->isVisible()) {
            m_bBossHidden = true;
            HideToTray();
        } else {
            ShowWindow(true, true);
            RemoveTrayIcon();
        }
    }
}

void CDuiFormGame::HideToTray()
{
    AddTrayIcon(QStringLiteral("微端"), desktop::ProgramIcon(), ID_TRAY_ICON);
    ShowWindow(false);
}

bool CDuiFormGame::AddTrayIcon(const QString& tip, const QIcon& icon, int id)
{
    if (!m_tray) {
        m_tray = std::make_unique<desktop::TrayIcon>(
            [this, id](int mouseMessage) { PostMessage(GetHWND(), new TrayIconEvent(id, mouseMessage)); });
    }
    m_bTrayIcon = m_tray->Add(tip, icon);
    return m_bTrayIcon;
}

bool CDuiFormGame::RemoveTrayIcon()
{
    if (!m_bTrayIcon || !m_tray)
        return false;
    return m_tray->Remove();
}

int CDuiFormGame::OnTrayIcon(int, int lParam)
{
    if (lParam == desktop::TrayIcon::kLeftButtonUp || lParam == desktop::TrayIcon::kLeftButtonDoubleClick) {
        m_bBossHidden = false;
        ShowWindow(true, true);
        RemoveTrayIcon();
    }
    return 0;
}
