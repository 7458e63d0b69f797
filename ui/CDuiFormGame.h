#pragma once

#include "ui/CXMLWnd.h"
#include "ui/HotKeyCode.h"
#include "ui/SiteButtons.h"

#include <QPointer>
#include <QRect>

#include <memory>
#include <optional>

class CDuiFormFullScreen;
class SimpleHandler;
namespace desktop {
class GlobalHotKeys;
class TrayIcon;
} // namespace desktop

// The window the game is played in: a top bar with caption and site buttons over the game's own
// browser, full-screen mode, the boss key and the notification-area icon.
class CDuiFormGame final : public CXMLWnd
{
public:
    explicit CDuiFormGame(const QString& skinFile);
    ~CDuiFormGame() override;

    // Stores the game address and creates the window on it, owned by parent.
    bool CreateFrame(QWidget* parent, const QString& gameUrl);
    void SetLoginWindow(QWidget* loginWnd) { m_hLoginWnd = loginWnd; }
    void SetGameUrl(const QString& gameUrl) { m_strGameUrl = gameUrl; }

    void ResizeBrowser();

    void EnterFullScreen();
    void ExitFullScreen();

    void RegisterHotKeys();
    void UnregisterHotKeys();
    void HideToTray();
    bool AddTrayIcon(const QString& tip, const QIcon& icon, int id);
    bool RemoveTrayIcon();
    int OnTrayIcon(int wParam, int lParam);

    bool HandleMessage(QEvent* event) override;
    void OnClick(TNotifyUI& msg) override;
    void OnSysCommand(SysCommand command) override;

    // For tests and the layout: the state the player sees.
    bool IsFullScreen() const { return m_bFullScreen; }
    bool IsBossHidden() const { return m_bBossHidden; }
    CDuiFormFullScreen* FullScreenBar() const { return m_pFullScreenWnd; }
    std::shared_ptr<SimpleHandler> Handler() const { return m_pHandler; }
    int FullScreenHotKeyId() const { return m_nFullScreenHotKeyId; }
    int BossHotKeyId() const { return m_nBossHotKeyId; }

    static constexpr int kWidth = 1250;
    static constexpr int kHeight = 700;
    static constexpr int ID_TRAY_ICON = 102;

protected:
    void InitWindow() override;
    void OnFinalMessage() override;

private:
    // The placement saved on entering full screen.
    struct Placement
    {
        QRect normal;
        bool maximized = false;
    };

    void CenterInWorkArea();
    void OnHotKey(int id);
    void ApplyCloseRule();

    QPointer<QWidget> m_hLoginWnd;
    QString m_strGameUrl;
    bool m_bTrayIcon = false;
    bool m_bBossHidden = false;
    bool m_bFullScreen = false;
    bool m_bLaidOut = false; // the layout follows the window once InitWindow has run
    std::optional<Placement> m_wpNormal;
    CDuiFormFullScreen* m_pFullScreenWnd = nullptr;
    std::shared_ptr<SimpleHandler> m_pHandler;
    QPointer<QWidget> m_pTopBg;
    int m_nFullScreenHotKeyId = 0;
    int m_nBossHotKeyId = 0;
    std::optional<HotKeyCombo> m_fullScreenHotKey;
    std::unique_ptr<desktop::GlobalHotKeys> m_hotKeys;
    std::unique_ptr<desktop::TrayIcon> m_tray;
    SiteButtons m_siteButtons;
};
