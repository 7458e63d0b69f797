#include "platform/desktop/GlobalShortcutsPortal.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QKeySequence>

#include <cstdio>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// One shortcut of BindShortcuts: its id and its properties, a(sa{sv}) on the bus.
struct Shortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(Shortcut)

namespace desktop {

GlobalShortcutsPortal::GlobalShortcutsPortal(std::function<void(int)> onActivated)
    : m_onActivated(std::move(onActivated))
{
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    QDBusConnection::sessionBus().connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                                          SLOT(OnActivated(QDBusMessage)));
}

GlobalShortcutsPortal::~GlobalShortcutsPortal()
{
    if (!m_session.isEmpty()) {
        QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(kService, m_session,
                                           QStringLiteral("org.freedesktop.portal.Session"),
                                           QStringLiteral("Close")),
            QDBus::NoBlock);
    }
}

bool GlobalShortcutsPortal::IsAvailable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(kService))
        return false;
    // The portal runs; whether its desktop offers global shortcuts is its interface's version.
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QString GlobalShortcutsPortal::Trigger(QKeyCombination key)
{
    QString trigger;
    const Qt::KeyboardModifiers modifiers = key.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        trigger += QStringLiteral("CTRL+");
    if (modifiers & Qt::AltModifier)
        trigger += QStringLiteral("ALT+");
    if (modifiers & Qt::ShiftModifier)
        trigger += QStringLiteral("SHIFT+");
    const Qt::Key k = key.key();
    if (k == Qt::Key_Escape)
        return trigger + QStringLiteral("Escape");
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return trigger + QChar(u'a' + (k - Qt::Key_A));
    return trigger + QKeySequence(k).toString(QKeySequence::PortableText); // F9, 1
}

void GlobalShortcutsPortal::Register(int id, QKeyCombination key)
{
    Key& entry = m_keys[id];
    entry.active = true;
    if (entry.bound && entry.combination == key)
        return;
    entry.combination = key;
    entry.bound = false;
    if (m_session.isEmpty())
        CreateSession();
    else
        Bind();
}

void GlobalShortcutsPortal::Unregister(int id)
{
    const auto it = m_keys.find(id);
    if (it != m_keys.end())
        it->second.active = false;
}

bool GlobalShortcutsPortal::IsRegistered(int id) const
{
    const auto it = m_keys.find(id);
    return it != m_keys.end() && it->second.active;
}

QString GlobalShortcutsPortal::NextToken()
{
    return QStringLiteral("vantor%1").arg(++m_tokens);
}

QString GlobalShortcutsPortal::RequestPath(const QString& token) const
{
    // The portal names its objects after the caller's unique name, without ':' and with '_' for '.'.
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(u'.', u'_');
    return kPath + QStringLiteral("/request/") + sender + u'/' + token;
}

void GlobalShortcutsPortal::CreateSession()
{
    if (m_creating)
        return;
    m_creating = true;
    const QString token = NextToken();
    // The answer comes as the request's Response signal: listen before asking.
    QDBusConnection::sessionBus().connect(kService, RequestPath(token), kRequest, QStringLiteral("Response"),
                                          this, SLOT(OnSessionCreated(uint, QVariantMap)));
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), token}};
    QDBusConnection::sessionBus().asyncCall(call);
}

void GlobalShortcutsPortal::OnSessionCreated(uint response, const QVariantMap& results)
{
    m_creating = false;
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    m_session = handle.userType() == qMetaTypeId<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                                    : handle.toString();
    if (response != 0 || m_session.isEmpty()) {
        m_session.clear();
        std::fputs("vantor: the desktop refused a global-shortcuts session; hot keys act only while a "
                   "window of the program has the keyboard\n",
                   stderr);
        return;
    }
    Bind();
}

void GlobalShortcutsPortal::Bind()
{
    QList<Shortcut> shortcuts;
    for (auto& [id, key] : m_keys) {
        shortcuts << Shortcut{QString::number(id),
                              {{QStringLiteral("description"),
                                QKeySequence(key.combination).toString(QKeySequence::NativeText)},
                               {QStringLiteral("preferred_trigger"), Trigger(key.combination)}}};
        key.bound = true;
    }
    const QString token = NextToken();
    QDBusConnection::sessionBus().connect(kService, RequestPath(token), kRequest, QStringLiteral("Response"),
                                          this, SLOT(OnBound(uint, QVariantMap)));
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token}};
    QDBusConnection::sessionBus().asyncCall(call);
}

void GlobalShortcutsPortal::OnBound(uint response, const QVariantMap&)
{
    if (response != 0)
        std::fputs("vantor: the desktop did not bind the program's global shortcuts\n", stderr);
}

void GlobalShortcutsPortal::OnActivated(const QDBusMessage& message)
{
    // (o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2 || args[0].value<QDBusObjectPath>().path() != m_session)
        return;
    bool ok = false;
    const int id = args[1].toString().toInt(&ok);
    if (ok && IsRegistered(id) && m_onActivated)
        m_onActivated(id);
}

} // namespace desktop
