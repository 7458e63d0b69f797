#pragma once

#include <QKeyCombination>

#include <memory>
#include <optional>

class QIcon;
class QString;
class WindowImplBase;
namespace desktop {
class GlobalHotKeys;
class TrayIcon;
} // namespace desktop

// The boss key: a system-wide key that hides the game window to an icon in the notification area
// and brings it back; a click on the icon brings it back too.
class BossKey final
{
public:
    explicit BossKey(WindowImplBase& window);
    ~BossKey();
    BossKey(const BossKey&) = delete;
    BossKey& operator=(const BossKey&) = delete;

    // Grabs the key through keys; none grabs nothing.
    void Register(desktop::GlobalHotKeys& keys, std::optional<QKeyCombination> key);
    int HotKeyId() const { return m_hotKeyId; }
    void Unregister(desktop::GlobalHotKeys* keys);
    // The window is going: the icon goes with it.
    void RemoveIcon();

    // Whether the player hid the game; set by the boss key or button, cleared by the icon.
    bool IsHidden() const { return m_hidden; }
    void SetHidden(bool hidden) { m_hidden = hidden; }

    // The key was pressed: hides a shown window, shows a hidden one.
    void Toggle();
    void HideToTray();
    bool AddTrayIcon(const QString& tip, const QIcon& icon);
    bool RemoveTrayIcon();
    // A mouse message of the icon, as desktop::TrayIcon reports it.
    void OnTrayIcon(int mouseMessage);

private:
    WindowImplBase& m_window;
    std::unique_ptr<desktop::TrayIcon> m_tray;
    bool m_trayIcon = false;
    bool m_hidden = false;
    int m_hotKeyId = 0;
};
