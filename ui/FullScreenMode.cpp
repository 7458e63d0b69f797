#include "ui/FullScreenMode.h"

#include "platform/desktop/GlobalHotKeys.h"
#include "platform/desktop/Screen.h"
#include "platform/skin/WindowImplBase.h"
#include "ui/CDuiFormFullScreen.h"

#include <QWidget>

#include <cstdio>

FullScreenMode::FullScreenMode(WindowImplBase& window, std::function<void()> layout)
    : m_window(window), m_layout(std::move(layout))
{
}

FullScreenMode::~FullScreenMode()
{
    CloseBar();
}

void FullScreenMode::SetHotKey(std::optional<QKeyCombination> key)
{
    m_hotKey = key;
    if (m_hotKey)
        m_hotKeyId = desktop::GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_FullScreen"));
}

void FullScreenMode::ForgetHotKey(desktop::GlobalHotKeys* keys)
{
    if (m_hotKeyId != 0 && keys)
        keys->Unregister(m_hotKeyId);
    m_hotKeyId = 0;
}

void FullScreenMode::CloseBar()
{
    delete m_bar;
    m_bar = nullptr;
}

bool FullScreenMode::Enter(desktop::GlobalHotKeys* keys)
{
    QWidget* wnd = m_window.GetHWND();
    if (!wnd || IsOn())
        return false;
    m_normal = Placement{wnd->isMaximized() ? wnd->normalGeometry() : wnd->geometry(), wnd->isMaximized()};
    if (m_normal->maximized)
        wnd->setWindowState(Qt::WindowNoState);
    wnd->setGeometry(desktop::ScreenRect());
    // A window manager keeps panels above a plain screen-sized window; the full-screen state
    // puts the game above them.
    wnd->setWindowState(Qt::WindowFullScreen);
    m_layout();

    auto* bar = new CDuiFormFullScreen(QStringLiteral("FormFullScreen.xml"));
    if (bar->CreateBar(wnd)) {
        bar->SetGameWindow(wnd);
        bar->ShowWindow(true, false);
        m_bar = bar;
    } else {
        // Escape and the full-screen hot key still leave full screen.
        std::fprintf(stderr, "vantor: no full-screen bar: %s\n", qPrintable(bar->LastError()));
        delete bar;
    }
    if (m_hotKey && keys)
        keys->Register(m_hotKeyId, *m_hotKey);
    return true;
}

bool FullScreenMode::Exit(desktop::GlobalHotKeys* keys)
{
    // Only a full screen that was entered can be left: there is no saved placement otherwise.
    QWidget* wnd = m_window.GetHWND();
    if (!wnd || !IsOn())
        return false;
    if (keys)
        keys->Unregister(m_hotKeyId);
    const Placement normal = *m_normal;
    m_normal.reset();
    wnd->setWindowState(Qt::WindowNoState);
    wnd->setGeometry(normal.normal);
    if (normal.maximized)
        wnd->setWindowState(Qt::WindowMaximized);
    m_layout();
    CloseBar();
    return true;
}
