#pragma once

#include <QIcon>
#include <QString>

#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace desktop {

// The program's icon in the notification area. Mouse actions on it are reported as the mouse
// messages of a notification icon.
class TrayIcon final
{
public:
    static constexpr int kLeftButtonUp = 0x202;
    static constexpr int kLeftButtonDoubleClick = 0x203;
    static constexpr int kRightButtonUp = 0x205;
    static constexpr int kMiddleButtonUp = 0x208;

    explicit TrayIcon(std::function<void(int mouseMessage)> onMouse);
    ~TrayIcon();

    // Shows the icon; false when no notification area is there to take it.
    bool Add(const QString& tip, const QIcon& icon);
    bool Remove();

private:
    std::function<void(int)> m_onMouse;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace desktop
