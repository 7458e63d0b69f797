#pragma once

#include <QKeyCombination>
#include <QRect>

#include <functional>
#include <optional>

class CDuiFormFullScreen;
class WindowImplBase;
namespace desktop {
class GlobalHotKeys;
}

// The game window's full-screen mode: the placement saved on entering it, the bar that leaves it,
// and the system-wide key that leaves it, grabbed only while full screen is on (the rest of the
// time the key belongs to the other programs).
class FullScreenMode final
{
public:
    // layout lays the window's content out again; it asks IsOn() which way.
    FullScreenMode(WindowImplBase& window, std::function<void()> layout);
    ~FullScreenMode();
    FullScreenMode(const FullScreenMode&) = delete;
    FullScreenMode& operator=(const FullScreenMode&) = delete;

    bool IsOn() const { return m_normal.has_value(); }
    CDuiFormFullScreen* Bar() const { return m_bar; }

    // The key that leaves full screen; none takes no key. keys grab it while full screen is on.
    void SetHotKey(std::optional<QKeyCombination> key);
    int HotKeyId() const { return m_hotKeyId; }
    void ForgetHotKey(desktop::GlobalHotKeys* keys);

    // False when there was nothing to do: already on, or not on.
    bool Enter(desktop::GlobalHotKeys* keys);
    bool Exit(desktop::GlobalHotKeys* keys);
    // The window is going: the bar goes with it.
    void CloseBar();

private:
    // The placement saved on entering full screen.
    struct Placement
    {
        QRect normal;
        bool maximized = false;
    };

    WindowImplBase& m_window;
    std::function<void()> m_layout;
    std::optional<Placement> m_normal;
    CDuiFormFullScreen* m_bar = nullptr;
    std::optional<QKeyCombination> m_hotKey;
    int m_hotKeyId = 0;
};
