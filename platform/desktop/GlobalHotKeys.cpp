#include "platform/desktop/GlobalHotKeys.h"

#include "platform/desktop/GlobalShortcutsPortal.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QList>
#include <QSet>

#include <X11/X.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

namespace desktop {
namespace {

struct X11
{
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
};

X11 Connection()
{
    X11 x;
    auto* native = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!native || !native->connection())
        return x;
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
        SayOnce(QStringLiteral("global hot keys are unavailable: no X11 display and no desktop portal for "
                               "global shortcuts"));
    return x;
}

unsigned long KeySym(Qt::Key key)
{
    if (key == Qt::Key_Escape)
        return XK_Escape;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return XK_F1 + static_cast<unsigned long>(key - Qt::Key_F1);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return XK_0 + static_cast<unsigned long>(key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return XK_a + static_cast<unsigned long>(key - Qt::Key_A);
    return NoSymbol;
}

unsigned ModifierMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? unsigned(ShiftMask) : 0u) |
           (modifiers & Qt::ControlModifier ? unsigned(ControlMask) : 0u) |
           (modifiers & Qt::AltModifier ? unsigned(Mod1Mask) : 0u);
}

constexpr unsigned kRelevantModifiers = ShiftMask | ControlMask | Mod1Mask;

// The code of the key that carries a keysym now, from the server's own map (Xlib's copy of it
// may be stale after a mapping change); 0 when no key has it.
unsigned KeycodeFor(const X11& x, unsigned long keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(x.connection);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        x.connection, xcb_get_keyboard_mapping(x.connection, setup->min_keycode, static_cast<uint8_t>(count)),
        nullptr);
    if (!reply)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int perKey = reply->keysyms_per_keycode;
    unsigned found = 0;
    for (int i = 0; i < count && !found; ++i) {
        for (int j = 0; j < perKey && j < 2; ++j) { // unshifted and shifted
            if (syms[i * perKey + j] == keysym) {
                found = static_cast<unsigned>(first + i);
                break;
            }
        }
    }
    std::free(reply);
    return found;
}

// The modifier bits of NumLock and ScrollLock, as the server's modifier map has them today.
unsigned ModifierOf(const X11& x, unsigned long keysym)
{
    const unsigned keycode = KeycodeFor(x, keysym);
    if (!keycode)
        return 0;
    xcb_get_modifier_mapping_reply_t* reply =
        xcb_get_modifier_mapping_reply(x.connection, xcb_get_modifier_mapping(x.connection), nullptr);
    if (!reply)
        return 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply);
    unsigned mask = 0;
    for (int mod = 0; mod < 8 && !mask; ++mod) {
        for (int k = 0; k < reply->keycodes_per_modifier; ++k) {
            if (codes[mod * reply->keycodes_per_modifier + k] == keycode) {
                mask = 1u << mod;
                break;
            }
        }
    }
    std::free(reply);
    return mask;
}

// Every combination of the lock modifiers, so that a hot key works whatever locks are on.
QList<unsigned> LockVariants(const X11& x)
{
    const unsigned locks[] = {LockMask, ModifierOf(x, XK_Num_Lock), ModifierOf(x, XK_Scroll_Lock)};
    QList<unsigned> variants{0};
    for (unsigned lock : locks) {
        if (!lock || lock & kRelevantModifiers)
            continue;
        for (qsizetype i = 0, n = variants.size(); i < n; ++i) {
            if (!variants.contains(variants[i] | lock))
                variants.append(variants[i] | lock);
        }
    }
    return variants;
}

// The grabs of the whole program, counted: two hot-key objects of the program may hold the same
// key while one window replaces another, and only the last one to let go ungrabs it.
std::map<std::pair<unsigned, unsigned>, int>& HeldGrabs()
{
    static std::map<std::pair<unsigned, unsigned>, int> held;
    return held;
}

} // namespace

GlobalHotKeys::GlobalHotKeys(std::function<void(int)> onHotKey) : m_onHotKey(std::move(onHotKey))
{
    if (InWaylandSession() && GlobalShortcutsPortal::IsAvailable()) {
        m_portal = std::make_unique<GlobalShortcutsPortal>([this](int id) { m_onHotKey(id); });
        return;
    }
    if (InWaylandSession() && Connection().connection)
        SayOnce(QStringLiteral("the desktop offers no global shortcuts: hot keys act only while a window of "
                               "the program has the keyboard"));
    if (qApp)
        qApp->installNativeEventFilter(this);
}

bool GlobalHotKeys::InWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland";
}

bool GlobalHotKeys::IsRegistered(int id) const
{
    return m_portal ? m_portal->IsRegistered(id) : m_grabs.count(id) != 0;
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

bool GlobalHotKeys::Register(int id, QKeyCombination key)
{
    if (m_portal) {
        m_portal->Register(id, key);
        return true;
    }
    Unregister(id);
    const X11 x = ConnectionOrSay();
    if (!x.connection)
        return false;
    Grab grab{KeySym(key.key()), 0, ModifierMask(key.keyboardModifiers()),
              QKeySequence(key).toString(QKeySequence::PortableText)};
    if (!Acquire(grab))
        return false;
    m_grabs[id] = grab;
    return true;
}

bool GlobalHotKeys::Acquire(Grab& grab)
{
    const X11 x = Connection();
    grab.keycode = grab.keysym == NoSymbol ? 0 : KeycodeFor(x, grab.keysym);
    if (grab.keycode == 0) {
        SayOnce(QStringLiteral("the hot key %1 has no key on this keyboard").arg(grab.name));
        return false;
    }
    bool ok = true;
    for (unsigned lock : LockVariants(x)) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            x.connection, 0, x.root, static_cast<uint16_t>(grab.modifiers | lock),
            static_cast<xcb_keycode_t>(grab.keycode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(x.connection, cookie)) {
            std::free(error);
            ok = false;
        }
    }
    ++HeldGrabs()[{grab.keycode, grab.modifiers}];
    if (!ok) {
        Release(grab);
        SayOnce(
            QStringLiteral("the hot key %1 is held by another program and is not available").arg(grab.name));
    }
    return ok;
}

void GlobalHotKeys::Unregister(int id)
{
    if (m_portal) {
        m_portal->Unregister(id);
        return;
    }
    const auto it = m_grabs.find(id);
    if (it == m_grabs.end())
        return;
    Release(it->second);
    m_grabs.erase(it);
}

void GlobalHotKeys::Release(const Grab& grab)
{
    const auto held = HeldGrabs().find({grab.keycode, grab.modifiers});
    if (held != HeldGrabs().end() && --held->second > 0)
        return; // another object of the program still has this key
    if (held != HeldGrabs().end())
        HeldGrabs().erase(held);
    const X11 x = Connection();
    if (!x.connection)
        return;
    // Every lock modifier bit, whatever the map says now: it may have changed since the grab.
    for (unsigned lock = 0; lock < 256; ++lock) {
        if (lock & (kRelevantModifiers | ~0xFFu))
            continue;
        xcb_ungrab_key(x.connection, static_cast<xcb_keycode_t>(grab.keycode), x.root,
                       static_cast<uint16_t>(grab.modifiers | lock));
    }
    xcb_flush(x.connection);
}

void GlobalHotKeys::RegrabAll()
{
    for (auto it = m_grabs.begin(); it != m_grabs.end();) {
        Release(it->second);
        if (Acquire(it->second))
            ++it;
        else
            it = m_grabs.erase(it);
    }
}

bool GlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type == XCB_MAPPING_NOTIFY) {
        // The keys moved (setxkbmap, xmodmap): grab them again where they are now. Qt needs the
        // event too.
        if (reinterpret_cast<xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER)
            RegrabAll();
        return false;
    }
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
