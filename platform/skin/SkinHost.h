#pragma once

#include <QWidget>

class WindowImplBase;

// The native top-level window of a skinned window. Every event it gets goes to the window object's
// HandleMessage, which does the standard handling first (BaseEvent) and its own after it. Key
// presses and mouse moves inside its child controls, the web view's among them, reach the window
// object too, as they would reach a windowless-control window.
class SkinHost final : public QWidget
{
    Q_OBJECT

public:
    SkinHost(WindowImplBase* window, QWidget* parent, Qt::WindowFlags flags);
    ~SkinHost() override;

    // The window object goes away before its native window: no event may reach it after this.
    void Detach();

    bool BaseEvent(QEvent* event) { return QWidget::event(event); }

    // A hidden window lets go of its native window and its pixels; showing it makes them anew.
    void ReleaseNativeWindow();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowImplBase* m_window;
};
