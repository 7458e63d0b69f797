#include "platform/desktop/GlobalHotKeysX11.h"

#include <QGuiApplication>
#include <QSet>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

namespace desktop {
namespace {

struct X11
{
    Display* display = nullptr;
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
};

X11 Connection()
{
    X11 x;
    auto* native = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!native || !native->connection())
        return x;
    x.display = native->display();
    x.connection = native->connection();
    if (const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.connection)).data)
        x.root = screen->root;
    return x;
}

void SayOnce(const QString& what)
{
    static QSet<QString> said;
    if (said.contains(what))
        return;
    said.insert(what);
    std::fprintf(stderr, "vantor: %s\n", qPrintable(what));
}

X11 ConnectionOrSay()
{
    const X11 x = Connection();
    if (!x.connection)
        SayOnce(QStringLiteral("global hot keys are unavailable outside an X11 session"));
    return x;
}

unsigned long KeySym(int vk)
{
    if (vk == 0x1B)
        return XK_Escape;
    if (vk >= 0x70 && vk <= 0x7C)
        return XK_F1 + static_cast<unsigned long>(vk - 0x70);
    if (vk >= 0x30 && vk <= 0x39)
        return XK_0 + static_cast<unsigned long>(vk - 0x30);
    if (vk >= 0x41 && vk <= 0x5A)
        return XK_a + static_cast<unsigned long>(vk - 0x41);
    return NoSymbol;
}

constexpr unsigned kLockVariants[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};
constexpr unsigned kRelevantModifiers = ShiftMask | ControlMask | Mod1Mask;

} // namespace

QString VirtualKeyName(int vk)
{
    if (vk == 0x1B)
        return QStringLiteral("Escape");
    if (vk >= 0x70 && vk <= 0x7C)
        return QStringLiteral("F%1").arg(vk - 0x70 + 1);
    if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A))
        return QString(QChar(vk));
    return QStringLiteral("key 0x%1").arg(vk, 2, 16, QChar(u'0'));
}

GlobalHotKeys::GlobalHotKeys(std::function<void(int)> onHotKey) : m_onHotKey(std::move(onHotKey))
{
    if (qApp)
        qApp->installNativeEventFilter(this);
}

GlobalHotKeys::~GlobalHotKeys()
{
    while (!m_grabs.empty())
        Unregister(m_grabs.begin()->first);
    if (qApp)
        qApp->removeNativeEventFilter(this);
}

int GlobalHotKeys::IdForName(const QString& name)
{
    const X11 x = Connection();
    if (!x.connection)
        return static_cast<int>(qHash(name) & 0xFFFF) | 1;
    const QByteArray bytes = name.toUtf8();
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        x.connection,
        xcb_intern_atom(x.connection, 0, static_cast<uint16_t>(bytes.size()), bytes.constData()), nullptr);
    const int atom = reply ? static_cast<int>(reply->atom) : 0;
    std::free(reply);
    return atom;
}

bool GlobalHotKeys::Register(int id, unsigned modifiers, int virtualKey)
{
    Unregister(id);
    const X11 x = ConnectionOrSay();
    if (!x.connection)
        return false;
    const unsigned long sym = KeySym(virtualKey);
    const unsigned keycode = sym == NoSymbol ? 0 : XKeysymToKeycode(x.display, sym);
    QString name = VirtualKeyName(virtualKey);
    if (modifiers & MOD_SHIFT)
        name.prepend(QStringLiteral("Shift+"));
    if (modifiers & MOD_ALT)
        name.prepend(QStringLiteral("Alt+"));
    if (modifiers & MOD_CONTROL)
        name.prepend(QStringLiteral("Ctrl+"));
    if (keycode == 0) {
        SayOnce(QStringLiteral("the hot key %1 has no key on this keyboard").arg(name));
        return false;
    }
    Grab grab{keycode, ((modifiers & MOD_SHIFT) ? unsigned(ShiftMask) : 0u) |
                           ((modifiers & MOD_CONTROL) ? unsigned(ControlMask) : 0u) |
                           ((modifiers & MOD_ALT) ? unsigned(Mod1Mask) : 0u)};
    bool ok = true;
    for (unsigned lock : kLockVariants) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            x.connection, 0, x.root, static_cast<uint16_t>(grab.modifiers | lock),
            static_cast<xcb_keycode_t>(keycode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(x.connection, cookie)) {
            std::free(error);
            ok = false;
        }
    }
    if (!ok) {
        Ungrab(grab);
        SayOnce(QStringLiteral("the hot key %1 is held by another program and is not available").arg(name));
        return false;
    }
    m_grabs[id] = grab;
    return true;
}

void GlobalHotKeys::Unregister(int id)
{
    const auto it = m_grabs.find(id);
    if (it == m_grabs.end())
        return;
    Ungrab(it->second);
    m_grabs.erase(it);
}

void GlobalHotKeys::Ungrab(const Grab& grab)
{
    const X11 x = Connection();
    if (!x.connection)
        return;
    for (unsigned lock : kLockVariants)
        xcb_ungrab_key(x.connection, static_cast<xcb_keycode_t>(grab.keycode), x.root,
                       static_cast<uint16_t>(grab.modifiers | lock));
    xcb_flush(x.connection);
}

bool GlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (key->event != key->root)
        return false; // an ordinary key press in one of our windows
    for (const auto& [id, grab] : m_grabs) {
        if (key->detail == grab.keycode && (key->state & kRelevantModifiers) == grab.modifiers) {
            if (type == XCB_KEY_PRESS && m_onHotKey)
                m_onHotKey(id);
            return true;
        }
    }
    return false;
}

} // namespace desktop
