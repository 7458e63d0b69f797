#pragma once

#include <QPoint>
#include <QPointer>
#include <QString>

#include <map>

class QEvent;
class QWidget;
class SkinHost;

// A control's notification to its window; "click" is the one the windows use.
struct TNotifyUI
{
    QString sType;
    QWidget* pSender = nullptr;

    QString GetName() const;
};

// Window styles of Create.
enum WindowStyle : unsigned
{
    WS_VISIBLE = 1u << 0,
    WS_EX_TOOLWINDOW = 1u << 1, // no taskbar entry
    WS_EX_APPWINDOW = 1u << 2,  // its own taskbar entry, also when it has an owner
    WS_EX_TOPMOST = 1u << 3,    // stays above other windows
    WS_EX_NOACTIVATE = 1u << 4, // never takes the keyboard from the window the player uses
};

// System commands of OnSysCommand.
enum SysCommand
{
    SC_MINIMIZE,
    SC_MAXIMIZE,
    SC_RESTORE
};

// A skinned window: a frameless top-level window whose controls come from a skin file. The object
// owns its native window and outlives it; it is never deleted when its window goes, only by its
// creator. Deleting the object destroys the window first, so no event reaches a deleted object.
class WindowImplBase
{
public:
    WindowImplBase();
    virtual ~WindowImplBase();
    WindowImplBase(const WindowImplBase&) = delete;
    WindowImplBase& operator=(const WindowImplBase&) = delete;

    virtual QString GetWindowClassName() const = 0;
    virtual QString GetSkinFile() const = 0;
    virtual QString GetSkinFolder() const = 0;

    // Creates the window from the skin and calls InitWindow once before it returns. An owner makes
    // the window an owned window: it stays above its owner and is destroyed with it. On failure no
    // window exists and LastError() tells why.
    bool Create(QWidget* owner, const QString& title, unsigned style);
    QString LastError() const { return m_lastError; }

    void ShowWindow(bool show = true, bool takeFocus = true);
    // While hidden, lets go of the native window and its pixels; ShowWindow makes them anew, in the
    // same place. Does nothing while shown.
    void ReleaseNativeWindow();
    void CenterWindow();
    void Close();
    // Shows the window and runs the event loop until the window is gone or the program quits.
    int ShowModal();

    QWidget* GetHWND() const;
    QWidget* FindControl(const QString& name) const;

    // Standard handling of every event of the window; windows override it, call it first, and
    // then do their own handling. Returns whether the event was handled.
    virtual bool HandleMessage(QEvent* event);
    virtual void Notify(TNotifyUI& msg);
    virtual void OnClick(TNotifyUI& msg);
    virtual void OnSysCommand(SysCommand command);
    virtual QWidget* CreateControl(const QString& className);

    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    // The id given to SetTimer of a timer event of this window; 0 for any other event.
    int TimerIdOf(const QEvent* event) const;

protected:
    virtual void InitWindow() {}
    // The native window is being destroyed; the object lives on.
    virtual void OnFinalMessage() {}
    // Called from InitWindow when the window can't work: Create then fails with this error.
    void SetCreateError(const QString& error) { m_lastError = error; }

private:
    friend class SkinHost;
    void OnHostDestroyed();
    void ForwardChildInput(QEvent* event);
    bool HandleCaption(QEvent* event);
    void UpdateCaptionButtons();

    QPointer<SkinHost> m_host;
    QWidget* m_root = nullptr;
    QString m_lastError;
    int m_captionHeight = 0;
    int m_sizeBorder = 0;
    bool m_forwarding = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
    std::map<int, int> m_timers; // window's id -> Qt timer id
};

// Sends a window message: handled before the call returns.
bool SendMessage(QWidget* window, QEvent* event);
// Posts a window message: handled later by the event loop, which takes ownership of the event.
void PostMessage(QWidget* window, QEvent* event);
// Ends the program's event loop with the exit code.
void PostQuitMessage(int exitCode);
