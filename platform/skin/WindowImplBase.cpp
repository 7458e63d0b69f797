#include "platform/skin/WindowImplBase.h"

#include "platform/skin/PaintManager.h"
#include "platform/skin/SkinHost.h"
#include "platform/skin/SkinLoader.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

QString TNotifyUI::GetName() const
{
    return pSender ? pSender->objectName() : QString();
}

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase()
{
    if (m_host) {
        m_host->Detach();
        delete m_host.data();
    }
}

bool WindowImplBase::Create(QWidget* owner, const QString& title, unsigned style)
{
    m_lastError.clear();
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (style & WS_EX_TOOLWINDOW)
        flags |= Qt::Tool;
    if (style & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    if (style & WS_EX_NOACTIVATE)
        flags |= Qt::WindowDoesNotAcceptFocus;
    // A window with its own taskbar entry is not made transient for its owner (window managers
    // hide transients from the taskbar); it is still destroyed with the owner.
    const bool ownTaskbarEntry = owner && (style & WS_EX_APPWINDOW);
    auto* host = new SkinHost(this, ownTaskbarEntry ? nullptr : owner, flags);
    if (ownTaskbarEntry)
        QObject::connect(owner, &QObject::destroyed, host, [host] { delete host; });
    host->setAttribute(Qt::WA_DeleteOnClose);
    host->setAttribute(Qt::WA_ShowWithoutActivating, (style & WS_EX_NOACTIVATE) != 0);
    host->setWindowTitle(title);
    host->setMouseTracking(true);

    const QString folder = GetSkinFolder().isEmpty() ? CPaintManagerUI::GetResourcePath() : GetSkinFolder();
    const SkinLoadResult skin = LoadSkin(folder + GetSkinFile(), host,
                                         [this](const QString& cls, QWidget*) { return CreateControl(cls); });
    if (!skin.root) {
        m_lastError = skin.error;
        host->Detach();
        delete host;
        return false;
    }
    m_host = host;
    m_root = skin.root;
    m_captionHeight = m_root->property("captionHeight").toInt();
    m_sizeBorder = m_root->property("sizeBorder").toInt();
    host->resize(m_root->size());
    m_root->move(0, 0);
    for (auto* button : m_root->findChildren<QAbstractButton*>()) {
        QObject::connect(button, &QAbstractButton::clicked, host, [this, button] {
            TNotifyUI msg{QStringLiteral("click"), button};
            Notify(msg);
        });
    }
    for (auto* child : m_root->findChildren<QWidget*>())
        child->setMouseTracking(true);
    m_root->setMouseTracking(true);
    UpdateCaptionButtons();

    InitWindow();
    if (!m_lastError.isEmpty() && m_host) {
        m_host->Detach();
        delete m_host.data();
        m_host = nullptr;
        m_root = nullptr;
    }
    if (!m_host)
        return false;
    if ((style & WS_VISIBLE) && !m_host->isVisible())
        m_host->show();
    return true;
}

void WindowImplBase::ShowWindow(bool show, bool takeFocus)
{
    if (!m_host)
        return;
    if (!show) {
        m_host->hide();
        return;
    }
    // Shown for the player to use: a minimised window comes back as it was before (maximised or not).
    if (takeFocus && m_host->isMinimized())
        m_host->setWindowState(m_host->windowState() & ~Qt::WindowMinimized);
    m_host->show();
    if (takeFocus && !m_host->testAttribute(Qt::WA_ShowWithoutActivating)) {
        m_host->raise();
        m_host->activateWindow();
    }
}

void WindowImplBase::ReleaseNativeWindow()
{
    if (m_host)
        m_host->ReleaseNativeWindow();
}

void WindowImplBase::CenterWindow()
{
    if (!m_host)
        return;
    QScreen* screen = m_host->screen() ? m_host->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = m_host->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    m_host->move(frame.topLeft());
}

void WindowImplBase::Close()
{
    if (m_host)
        m_host->close();
}

int WindowImplBase::ShowModal()
{
    if (!m_host)
        return -1;
    ShowWindow(true, true);
    QEventLoop loop;
    QObject::connect(m_host, &QObject::destroyed, &loop, [&loop] { loop.exit(0); });
    return loop.exec();
}

QWidget* WindowImplBase::GetHWND() const
{
    return m_host.data();
}

QWidget* WindowImplBase::FindControl(const QString& name) const
{
    return m_root ? m_root->findChild<QWidget*>(name) : nullptr;
}

bool WindowImplBase::HandleMessage(QEvent* event)
{
    if (m_forwarding || !m_host)
        return false; // input of a child control: the control handles it itself
    switch (event->type()) {
    case QEvent::Resize:
        if (m_root)
            m_root->resize(m_host->size());
        break;
    case QEvent::WindowStateChange:
        UpdateCaptionButtons();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (HandleCaption(event))
            return true;
        break;
    default:
        break;
    }
    return m_host->BaseEvent(event);
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    if (msg.sType == u"click")
        OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg)
{
    const QString name = msg.GetName();
    if (name == u"closebtn")
        Close();
    else if (name == u"minbtn")
        OnSysCommand(SC_MINIMIZE);
    else if (name == u"maxbtn")
        OnSysCommand(SC_MAXIMIZE);
    else if (name == u"restorebtn")
        OnSysCommand(SC_RESTORE);
}

void WindowImplBase::OnSysCommand(SysCommand command)
{
    if (!m_host)
        return;
    switch (command) {
    case SC_MINIMIZE:
        m_host->showMinimized();
        break;
    case SC_MAXIMIZE:
        m_host->showMaximized();
        break;
    case SC_RESTORE:
        m_host->showNormal();
        break;
    }
}

QWidget* WindowImplBase::CreateControl(const QString&)
{
    return nullptr;
}

void WindowImplBase::SetTimer(int id, int milliseconds)
{
    if (!m_host)
        return;
    KillTimer(id);
    m_timers[id] = m_host->startTimer(milliseconds);
}

void WindowImplBase::KillTimer(int id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    if (m_host)
        m_host->killTimer(it->second);
    m_timers.erase(it);
}

int WindowImplBase::TimerIdOf(const QEvent* event) const
{
    if (event->type() != QEvent::Timer)
        return 0;
    const int qtId = static_cast<const QTimerEvent*>(event)->timerId();
    for (const auto& [id, timer] : m_timers) {
        if (timer == qtId)
            return id;
    }
    return 0;
}

void WindowImplBase::OnHostDestroyed()
{
    OnFinalMessage();
    m_host = nullptr;
    m_root = nullptr;
    m_timers.clear();
}

void WindowImplBase::ForwardChildInput(QEvent* event)
{
    m_forwarding = true;
    HandleMessage(event);
    m_forwarding = false;
}

bool WindowImplBase::HandleCaption(QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    const QRect inner = m_host->rect().adjusted(m_sizeBorder, m_sizeBorder, -m_sizeBorder, -m_sizeBorder);
    const bool resizable = m_sizeBorder > 0 && !m_host->isMaximized() && !m_host->isFullScreen();
    Qt::Edges edges;
    if (resizable && !inner.contains(pos)) {
        if (pos.x() < inner.left())
            edges |= Qt::LeftEdge;
        if (pos.x() > inner.right())
            edges |= Qt::RightEdge;
        if (pos.y() < inner.top())
            edges |= Qt::TopEdge;
        if (pos.y() > inner.bottom())
            edges |= Qt::BottomEdge;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (edges && m_host->windowHandle() && m_host->windowHandle()->startSystemResize(edges))
            return true;
        if (pos.y() >= m_captionHeight)
            return false;
        if (m_host->windowHandle() && m_host->windowHandle()->startSystemMove())
            return true;
        // No window manager to move it: move it ourselves.
        m_dragging = true;
        m_dragOffset = mouse->globalPosition().toPoint() - m_host->pos();
        return true;
    case QEvent::MouseMove:
        if (m_dragging) {
            m_host->move(mouse->globalPosition().toPoint() - m_dragOffset);
            return true;
        }
        if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
            m_host->setCursor(Qt::SizeFDiagCursor);
        else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
            m_host->setCursor(Qt::SizeBDiagCursor);
        else if (edges & (Qt::LeftEdge | Qt::RightEdge))
            m_host->setCursor(Qt::SizeHorCursor);
        else if (edges)
            m_host->setCursor(Qt::SizeVerCursor);
        else
            m_host->unsetCursor();
        return false;
    case QEvent::MouseButtonRelease:
        if (!m_dragging)
            return false;
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

void WindowImplBase::UpdateCaptionButtons()
{
    const bool maximized = m_host && m_host->isMaximized();
    if (QWidget* max = FindControl(QStringLiteral("maxbtn")))
        max->setVisible(!maximized);
    if (QWidget* restore = FindControl(QStringLiteral("restorebtn")))
        restore->setVisible(maximized);
}

bool SendMessage(QWidget* window, QEvent* event)
{
    return window && QCoreApplication::sendEvent(window, event);
}

void PostMessage(QWidget* window, QEvent* event)
{
    if (window)
        QCoreApplication::postEvent(window, event);
    else
        delete event;
}

void PostQuitMessage(int exitCode)
{
    QCoreApplication::exit(exitCode);
}
