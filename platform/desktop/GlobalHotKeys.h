#pragma once

#include <QAbstractNativeEventFilter>
#include <QKeyCombination>
#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace desktop {

class GlobalShortcutsPortal;

// System-wide hot keys. A pressed hot key is reported with its id, whatever window has the
// keyboard. Two backends:
// - In a Wayland session whose desktop offers the portal's global shortcuts, the portal
//   (GlobalShortcutsPortal).
// - Otherwise X11 key grabs on the root window; under XWayland they act only while a window of
//   the program has the keyboard. NumLock, CapsLock and ScrollLock don't matter. A change of the
//   keyboard mapping grabs the keys again under their new codes. Grabs are released when the
//   object goes, unless another object of the program holds the same key: a window that goes never
//   takes the key of the window that replaced it.
// With neither there are no global hot keys; this is said once.
class GlobalHotKeys final : public QAbstractNativeEventFilter
{
public:
    explicit GlobalHotKeys(std::function<void(int id)> onHotKey);
    ~GlobalHotKeys() override;
    GlobalHotKeys(const GlobalHotKeys&) = delete;
    GlobalHotKeys& operator=(const GlobalHotKeys&) = delete;

    // The id of a hot-key name: the X atom of the name, so the same name gives the same id.
    static int IdForName(const QString& name);

    // Grabs a key (Escape, F1 to F35, a digit or a letter) with its Ctrl, Shift and Alt under id.
    // Returns false, and says once on stderr, when the key has no X key or another program holds it.
    bool Register(int id, QKeyCombination key);
    void Unregister(int id);
    bool IsRegistered(int id) const;

    // Whether this is a Wayland session (the program may still run through XWayland).
    static bool InWaylandSession();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab
    {
        unsigned long keysym;
        unsigned keycode;
        unsigned modifiers; // X modifier mask
        QString name;       // for messages
    };
    // Grabs the key under its current code; false when another program holds it.
    static bool Acquire(Grab& grab);
    static void Release(const Grab& grab);
    void RegrabAll();

    std::function<void(int)> m_onHotKey;
    std::map<int, Grab> m_grabs;
    std::unique_ptr<GlobalShortcutsPortal> m_portal;
};

} // namespace desktop
