#pragma once

#include <QEvent>
#include <QString>

// The application's window messages, as event types of their own numbers.
inline constexpr QEvent::Type WM_SHOW_LOGIN = static_cast<QEvent::Type>(2027);
inline constexpr QEvent::Type WM_ENTER_GAME = static_cast<QEvent::Type>(2028);
inline constexpr QEvent::Type WM_TRAY_ICON = static_cast<QEvent::Type>(2029);
inline constexpr QEvent::Type WM_EXIT_FULL_SCREEN = static_cast<QEvent::Type>(2030);

// WM_ENTER_GAME carries the game address; it is sent, so the address lives as long as the call.
class EnterGameEvent final : public QEvent
{
public:
    explicit EnterGameEvent(QString address) : QEvent(WM_ENTER_GAME), m_address(std::move(address)) {}
    const QString& Address() const { return m_address; }

private:
    QString m_address;
};

// WM_TRAY_ICON: a mouse action on the game window's notification-area icon.
class TrayIconEvent final : public QEvent
{
public:
    TrayIconEvent(int iconId, int mouseMessage) : QEvent(WM_TRAY_ICON), wParam(iconId), lParam(mouseMessage)
    {
    }
    const int wParam;
    const int lParam;
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
