#pragma once

#include <QDBusMessage>
#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>

namespace desktop {

// System-wide hot keys through the desktop portal's GlobalShortcuts interface
// (org.freedesktop.portal.GlobalShortcuts), for Wayland sessions where no program may grab keys.
// The desktop may ask the player to confirm the keys once. A bound key stays bound for the
// session; Unregister only stops reporting it, so that leaving full screen doesn't bring up the
// desktop's dialog again when full screen comes back.
class GlobalShortcutsPortal final : public QObject
{
    Q_OBJECT

public:
    explicit GlobalShortcutsPortal(std::function<void(int id)> onActivated);
    ~GlobalShortcutsPortal() override;

    // Whether the session bus has a portal that offers global shortcuts.
    static bool IsAvailable();

    // Binds the key under id (at once or when the session is ready) and reports its presses.
    void Register(int id, QKeyCombination key);
    void Unregister(int id);
    bool IsRegistered(int id) const;

    // The key in the shortcut text of the XDG shortcuts spec ("CTRL+SHIFT+a", "F9").
    static QString Trigger(QKeyCombination key);

private Q_SLOTS:
    void OnSessionCreated(uint response, const QVariantMap& results);
    void OnBound(uint response, const QVariantMap& results);
    void OnActivated(const QDBusMessage& message);

private:
    struct Key
    {
        QKeyCombination combination;
        bool bound = false;
        bool active = false;
    };

    void CreateSession();
    void Bind();
    // The object path of the request made with token, as the portal names it.
    QString RequestPath(const QString& token) const;
    QString NextToken();

    std::function<void(int)> m_onActivated;
    std::map<int, Key> m_keys;
    QString m_session;
    bool m_creating = false;
    int m_tokens = 0;
};

} // namespace desktop
