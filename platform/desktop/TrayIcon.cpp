#include "platform/desktop/TrayIcon.h"

#include <QSystemTrayIcon>

namespace desktop {

TrayIcon::TrayIcon(std::function<void(int)> onMouse) : m_onMouse(std::move(onMouse)) {}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::Add(const QString& tip, const QIcon& icon)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>();
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             if (reason == QSystemTrayIcon::Trigger)
                                 m_onMouse(kLeftButtonUp);
                             else if (reason == QSystemTrayIcon::DoubleClick)
                                 m_onMouse(kLeftButtonDoubleClick);
                         });
    }
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip.left(127));
    m_icon->show();
    return true;
}

bool TrayIcon::Remove()
{
    if (!m_icon || !m_icon->isVisible())
        return false;
    m_icon->hide();
    return true;
}

bool TrayIcon::ShowMessage(const QString& title, const QString& text)
{
    if (!m_icon || !m_icon->isVisible())
        return false;
    m_icon->showMessage(title, text, QSystemTrayIcon::Information, 8000);
    return true;
}

} // namespace desktop
