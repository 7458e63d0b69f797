#include "platform/skin/SkinHost.h"

#include "platform/skin/WindowImplBase.h"

#include <QApplication>

SkinHost::SkinHost(WindowImplBase* window, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_window(window)
{
    qApp->installEventFilter(this);
}

SkinHost::~SkinHost()
{
    if (m_window)
        m_window->OnHostDestroyed();
}

void SkinHost::Detach()
{
    m_window = nullptr;
    qApp->removeEventFilter(this);
}

bool SkinHost::event(QEvent* event)
{
    return m_window ? m_window->HandleMessage(event) : QWidget::event(event);
}

bool SkinHost::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (m_window && (type == QEvent::KeyPress || type == QEvent::MouseMove) && watched != this &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this)
        m_window->ForwardChildInput(event);
    return false;
}

void SkinHost::ReleaseNativeWindow()
{
    if (!isVisible() && testAttribute(Qt::WA_WState_Created))
        destroy();
}
