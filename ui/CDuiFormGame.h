#pragma once

#include "ui/CXMLWnd.h"
#include "ui/SiteButtons.h"

#include <QPointer>

#include <memory>

class BossKey;
class CDuiFormFullScreen;
class FullScreenMode;
class GameSound;
class Screenshot;
class RefreshKeys;
class SimpleHandler;
namespace desktop {
class GlobalHotKeys;
}

// The window the game is played in: a top bar with caption and site buttons over the game's own
// browser. Full-screen mode and the boss key with its tray icon are classes of their own; the
// window offers their operations and decides when they apply.
class CDuiFormGame final : public CXMLWnd
{
public:
    explicit CDuiFormGame(const QString& skinFile);
    ~CDuiFormGame() override;

    // Stores the game address and creates the window on it, owned by parent.
    bool CreateFrame(QWidget* parent, const QString& gameUrl);
    void SetLoginWindow(QWidget* loginWnd) { m_hLoginWnd = loginWnd; }

    void EnterFullScreen();
    void ExitFullScreen();

    void RegisterHotKeys();
    void UnregisterHotKeys();
    void HideToTray();
    // Saves what the game view shows; the path, or empty when nothing was saved.
    QString TakeScreenshot();

    bool HandleMessage(QEvent* event) override;
    void OnClick(TNotifyUI& msg) override;
    void OnSysCommand(SysCommand command) override;

    // For tests: the state the player sees.
    bool IsFullScreen() const;
    bool IsBossHidden() const;
    // What the last screenshot's message to the player said.
    QString ScreenshotMessage() const;
    CDuiFormFullScreen* FullScreenBar() const;
    std::shared_ptr<SimpleHandler> Handler() const { return m_pHandler; }

    static constexpr int kWidth = 1250;
    static constexpr int kHeight = 700;

protected:
    void InitWindow() override;
    void OnFinalMessage() override;

private:
    void CenterInWorkArea();
    void ResizeBrowser();
    void OnHotKey(int id);
    void ApplyCloseRule();
    void ToggleMute();
    // The mute buttons (the window's and the bar's) show the player's choice; the boss key's
    // hiding silences the game.
    void ShowSoundState();

    QPointer<QWidget> m_hLoginWnd;
    QString m_strGameUrl;
    bool m_bLaidOut = false; // the layout follows the window once InitWindow has run
    std::shared_ptr<SimpleHandler> m_pHandler;
    QPointer<QWidget> m_pTopBg;
    std::unique_ptr<desktop::GlobalHotKeys> m_hotKeys;
    const std::unique_ptr<FullScreenMode> m_fullScreen;
    const std::unique_ptr<BossKey> m_bossKey;
    std::unique_ptr<RefreshKeys> m_refreshKeys;
    const std::unique_ptr<GameSound> m_sound;
    const std::unique_ptr<Screenshot> m_screenshot;
    int m_screenshotHotKeyId = 0;
    SiteButtons m_siteButtons;
};
