#pragma once

#include <QEvent>

// The windows' own messages, as event types of their own numbers. WM_ENTER_GAME, which the
// browser floor sends, lives there (browser/EnterGameEvent.h).
inline constexpr QEvent::Type WM_SHOW_LOGIN = static_cast<QEvent::Type>(2027);
inline constexpr QEvent::Type WM_TRAY_ICON = static_cast<QEvent::Type>(2029);
inline constexpr QEvent::Type WM_EXIT_FULL_SCREEN = static_cast<QEvent::Type>(2030);
// The full-screen bar's mute button, to the game window, which owns the sound.
inline constexpr QEvent::Type WM_TOGGLE_MUTE = static_cast<QEvent::Type>(2031);

// WM_TRAY_ICON: a mouse action on the game window's notification-area icon.
class TrayIconEvent final : public QEvent
{
public:
    explicit TrayIconEvent(int message) : QEvent(WM_TRAY_ICON), mouseMessage(message) {}
    const int mouseMessage;
};

// A system-wide hot key was pressed; wParam is its id.
inline const QEvent::Type WM_HOTKEY = static_cast<QEvent::Type>(QEvent::registerEventType());
class HotKeyEvent final : public QEvent
{
public:
    explicit HotKeyEvent(int id) : QEvent(WM_HOTKEY), wParam(id) {}
    const int wParam;
};

// The activation message that a window posts to itself to run its layout once more later.
inline const QEvent::Type WM_ACTIVATE = static_cast<QEvent::Type>(QEvent::registerEventType());
