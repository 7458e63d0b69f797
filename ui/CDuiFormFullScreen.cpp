#include "ui/CDuiFormFullScreen.h"

#include "platform/desktop/Screen.h"
#include "ui/AppMessages.h"

#include <QKeyEvent>
#include <QWidget>

bool CDuiFormFullScreen::CreateBar(QWidget* owner)
{
    // The bar never takes the keyboard: the player goes on typing into the game.
    if (!Create(owner, QStringLiteral("FormGame"),
                WS_VISIBLE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE))
        return false;
    GetHWND()->move(desktop::ScreenRect().width() / 2 - kWidth / 2, 0);
    return true;
}

void CDuiFormFullScreen::InitWindow()
{
    SetTimer(ID_TIMER_HIDE_BAR, kHideDelayMs);
}

void CDuiFormFullScreen::Slide(int y)
{
    QWidget* bar = GetHWND();
    if (!bar)
        return;
    // Centred on the work area; a work area narrower than the bar moves it left by the difference
    // once more.
    const QRect work = desktop::WorkArea();
    const int workRight = work.x() + work.width();
    int x = (workRight - kWidth) / 2;
    if (kWidth > workRight)
        x += workRight - kWidth;
    bar->setGeometry(x, y, kWidth, kHeight);
    ShowWindow(true, false);
    bar->update();
}

void CDuiFormFullScreen::HideBar()
{
    Slide(1 - kHeight);
    m_bBarShown = false;
}

void CDuiFormFullScreen::ShowBar()
{
    if (m_bBarShown)
        return;
    Slide(-1);
    m_bBarShown = true;
    SetTimer(ID_TIMER_HIDE_BAR, kHideDelayMs);
}

void CDuiFormFullScreen::RequestExit()
{
    PostMessage(m_hGameWnd, new QEvent(WM_EXIT_FULL_SCREEN));
}

bool CDuiFormFullScreen::HandleMessage(QEvent* event)
{
    const bool result = CXMLWnd::HandleMessage(event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            RequestExit();
        break;
    case QEvent::Timer:
        if (TimerIdOf(event) == ID_TIMER_HIDE_BAR) {
            KillTimer(ID_TIMER_HIDE_BAR);
            HideBar();
        }
        break;
    case QEvent::MouseMove:
        ShowBar();
        break;
    default:
        break;
    }
    return result;
}

void CDuiFormFullScreen::OnClick(TNotifyUI& msg)
{
    if (msg.GetName() == u"fullscreenbtn")
        RequestExit();
    else if (msg.GetName() == u"mutebtn")
        PostMessage(m_hGameWnd, new QEvent(WM_TOGGLE_MUTE));
    CXMLWnd::OnClick(msg);
}
