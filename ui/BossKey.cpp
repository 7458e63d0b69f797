#include "ui/BossKey.h"

#include "platform/desktop/GlobalHotKeys.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/TrayIcon.h"
#include "platform/skin/WindowImplBase.h"
#include "ui/AppMessages.h"

#include <QWidget>

BossKey::BossKey(WindowImplBase& window) : m_window(window) {}

BossKey::~BossKey() = default;

void BossKey::Register(desktop::GlobalHotKeys& keys, std::optional<QKeyCombination> key)
{
    if (!key)
        return;
    m_hotKeyId = desktop::GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_Boss"));
    keys.Register(m_hotKeyId, *key);
}

void BossKey::Unregister(desktop::GlobalHotKeys* keys)
{
    if (m_hotKeyId != 0 && keys)
        keys->Unregister(m_hotKeyId);
    m_hotKeyId = 0;
}

void BossKey::Toggle()
{
    QWidget* wnd = m_window.GetHWND();
    if (wnd && wnd->isVisible()) {
        m_hidden = true;
        HideToTray();
    } else {
        m_window.ShowWindow(true, true);
        RemoveTrayIcon();
    }
}

void BossKey::HideToTray()
{
    AddTrayIcon(QStringLiteral("微端"), desktop::ProgramIcon());
    m_window.ShowWindow(false);
}

bool BossKey::AddTrayIcon(const QString& tip, const QIcon& icon)
{
    if (!m_tray) {
        // Posted, so the icon's own signal has returned before the window changes.
        m_tray = std::make_unique<desktop::TrayIcon>(
            [this](int mouseMessage) { PostMessage(m_window.GetHWND(), new TrayIconEvent(mouseMessage)); });
    }
    m_trayIcon = m_tray->Add(tip, icon);
    return m_trayIcon;
}

bool BossKey::RemoveTrayIcon()
{
    if (!m_trayIcon || !m_tray)
        return false;
    return m_tray->Remove();
}

void BossKey::OnTrayIcon(int mouseMessage)
{
    if (mouseMessage == desktop::TrayIcon::kLeftButtonUp ||
        mouseMessage == desktop::TrayIcon::kLeftButtonDoubleClick) {
        m_hidden = false;
        m_window.ShowWindow(true, true);
        RemoveTrayIcon();
    }
}

void BossKey::RemoveIcon()
{
    m_tray.reset();
}
