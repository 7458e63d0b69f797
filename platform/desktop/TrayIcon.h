#pragma once

#include <QIcon>
#include <QString>

#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace desktop {

// The program's icon in the notification area. Left clicks on it are reported as the mouse
// messages of a notification icon; other buttons do nothing.
class TrayIcon final
{
public:
    static constexpr int kLeftButtonUp = 0x202;
    static constexpr int kLeftButtonDoubleClick = 0x203;

    explicit TrayIcon(std::function<void(int mouseMessage)> onMouse);
    ~TrayIcon();

    // Shows the icon; false when no notification area is there to take it.
    bool Add(const QString& tip, const QIcon& icon);
    bool Remove();
    // A short message from the shown icon; false when it isn't shown.
    bool ShowMessage(const QString& title, const QString& text);

private:
    std::function<void(int)> m_onMouse;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace desktop
