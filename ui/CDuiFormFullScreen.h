#pragma once

#include "ui/CXMLWnd.h"

// The small bar at the top centre of the screen in full-screen mode, with the button that leaves
// it. It slides up out of view three seconds after it is shown, leaving one pixel row, and a
// mouse move over that row brings it back for another three seconds.
class CDuiFormFullScreen final : public CXMLWnd
{
public:
    explicit CDuiFormFullScreen(const QString& skinFile) : CXMLWnd(skinFile) {}

    bool CreateBar(QWidget* owner);
    void SetGameWindow(QWidget* gameWnd) { m_hGameWnd = gameWnd; }
    void ShowBar();
    void HideBar();

    bool HandleMessage(QEvent* event) override;
    void OnClick(TNotifyUI& msg) override;

    static constexpr int kWidth = 210;
    static constexpr int kHeight = 34;
    static constexpr int kHideDelayMs = 3000;

protected:
    void InitWindow() override;

private:
    void Slide(int y);
    void RequestExit();

    static constexpr int ID_TIMER_HIDE_BAR = 1;
    QWidget* m_hGameWnd = nullptr;
    bool m_bBarShown = false;
};
