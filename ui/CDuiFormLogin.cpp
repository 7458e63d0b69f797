#include "ui/CDuiFormLogin.h"

#include "browser/EnterGameEvent.h"
#include "browser/SimpleHandler.h"
#include "settings/Settings.h"
#include "ui/AppMessages.h"
#include "ui/CDuiFormGame.h"
#include "ui/CDuiFormLoginBrowser.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>

CDuiFormLogin::~CDuiFormLogin()
{
    delete m_pGameWnd;
    SetGameWindow(nullptr);
    delete m_pLoginBrowser;
}

void CDuiFormLogin::InitWindow()
{
    CenterWindow();
    m_siteButtons.Read();

    const QRect LoginRect = GetHWND()->frameGeometry();
    m_pLoginBrowser = new CDuiFormLoginBrowser(QStringLiteral("FormLoginBrowser.xml"));
    if (!m_pLoginBrowser->CreateAt(GetHWND(), LoginRect)) {
        SetCreateError(m_pLoginBrowser->LastError());
        return;
    }
    m_pLoginBrowser->ShowWindow(true, true);
}

bool CDuiFormLogin::HandleMessage(QEvent* event)
{
    const bool result = CXMLWnd::HandleMessage(event);
    const auto type = event->type();
    if (type == QEvent::Move && m_pLoginBrowser) {
        const QPoint topLeft = GetHWND()->frameGeometry().topLeft();
        m_pLoginBrowser->MoveTo(topLeft.x(), topLeft.y());
    } else if (type == WM_SHOW_LOGIN) {
        ShowLogin();
    } else if (type == WM_ENTER_GAME) {
        EnterGame(static_cast<EnterGameEvent*>(event)->Address());
    }
    return result;
}

void CDuiFormLogin::OnClick(TNotifyUI& msg)
{
    const QString name = msg.GetName();
    if (!m_siteButtons.Open(name) && name == u"closebtn")
        PostQuitMessage(0); // the engine shuts down at the end of the program, once every browser is gone
    CXMLWnd::OnClick(msg);
}

void CDuiFormLogin::ShowLogin()
{
    m_pGameWnd = nullptr; // the game window is closing; ReleaseWhenClosed deletes it
    // The login page was let go while the game ran: it loads again, and the windows come back
    // once it has, so the player finds it loaded. Until then the hold stays, so that a platform
    // that sends a logged-in player straight on to the game doesn't start it again.
    const auto show = [this] {
        ShowWindow(true, true);
        if (m_pLoginBrowser)
            m_pLoginBrowser->ShowWindow(true, true);
        g_pLoginHandler->SetHoldGameAddresses(m_pGameWnd != nullptr);
    };
    if (!m_pLoginBrowser || m_strLoginUrl.isEmpty() || !m_pLoginBrowser->LoadUrl(m_strLoginUrl, show))
        show();
}

void CDuiFormLogin::EnterGame(const QString& wsEnterGame)
{
    ShowWindow(false, true);
    if (m_pLoginBrowser)
        m_pLoginBrowser->ShowWindow(false, true);
    m_strLoginUrl = settings::GameLoginUrl();
    SayIfLoginUrlIsGameUrl(m_strLoginUrl);
    // The hidden login page costs nothing while the game runs; it loads again on the way back.
    if (m_pLoginBrowser)
        m_pLoginBrowser->Discard([this] { ReleaseNativeWindow(); });
    if (m_pGameWnd)
        return;

    auto* game = new CDuiFormGame(QStringLiteral("FormGame.xml"));
    if (!game->CreateFrame(GetHWND(), wsEnterGame)) {
        // Without a game window the player would be left with no window at all.
        std::fprintf(stderr, "vantor: can't open the game window: %s\n", qPrintable(game->LastError()));
        delete game;
        ShowLogin();
        return;
    }
    SetGameWindow(game);
    ReleaseWhenClosed(game);
    game->SetLoginWindow(GetHWND());
    game->ShowWindow(true, true);
}

void CDuiFormLogin::SetGameWindow(CDuiFormGame* game)
{
    m_pGameWnd = game;
    // While a game window is open, the hidden login page keeps to the login page.
    g_pLoginHandler->SetHoldGameAddresses(game != nullptr);
}

void CDuiFormLogin::SayIfLoginUrlIsGameUrl(const QString& loginUrl)
{
    static bool said = false;
    const QString marker = settings::GameMarker();
    if (said || marker.isEmpty() || !loginUrl.contains(marker, Qt::CaseSensitive))
        return;
    said = true;
    std::fprintf(stderr,
                 "vantor: the login page address holds the game marker \"%s\": the game opens once, and "
                 "the login window keeps its page while the game runs\n",
                 qPrintable(marker));
}

void CDuiFormLogin::ReleaseWhenClosed(CDuiFormGame* game)
{
    // The object goes once its window is gone, after the window's last event has been handled.
    QWidget* host = GetHWND();
    QObject::connect(game->GetHWND(), &QObject::destroyed, host, [this, host, game] {
        QTimer::singleShot(0, host, [this, game] {
            if (m_pGameWnd == game)
                SetGameWindow(nullptr);
            delete game;
        });
    });
}
