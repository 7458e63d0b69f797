// A stand-in for the desktop portal's global shortcuts (org.freedesktop.portal.GlobalShortcuts),
// as its documentation describes them, on the session bus it is started on. It prints each call on
// stdout ("session PATH", "bind ID TRIGGER") and, for the tests, takes Activate(s id) on the
// interface net.vantor.test.PortalStandIn to send the Activated signal of that shortcut.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class Portal final : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QDBusConnection bus(connection);
        const QString member = message.member();
        if (message.interface() == u"org.freedesktop.DBus.Properties" && member == u"Get") {
            bus.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
            return true;
        }
        if (member == u"Activate") {
            QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("Activated"));
            signal << QVariant::fromValue(QDBusObjectPath(m_session))
                   << message.arguments().value(0).toString() << qulonglong(0) << QVariantMap();
            bus.send(signal);
            bus.send(message.createReply());
            return true;
        }
        if (member == u"Close") {
            Say(QStringLiteral("close %1").arg(message.path()));
            bus.send(message.createReply());
            return true;
        }
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        if (member == u"CreateSession") {
            const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().value(0));
            const QString request = Handle(QStringLiteral("request"), sender, options);
            m_session = kPath + QStringLiteral("/session/") + sender + u'/' +
                        options.value(QStringLiteral("session_handle_token")).toString();
            Say(QStringLiteral("session %1").arg(m_session));
            Respond(bus, message, request, {{QStringLiteral("session_handle"), m_session}});
            return true;
        }
        if (member == u"BindShortcuts") {
            const QList<QVariant> args = message.arguments();
            const QDBusArgument shortcuts = args.value(1).value<QDBusArgument>();
            shortcuts.beginArray();
            while (!shortcuts.atEnd()) {
                QString id;
                QVariantMap properties;
                shortcuts.beginStructure();
                shortcuts >> id >> properties;
                shortcuts.endStructure();
                Say(QStringLiteral("bind %1 %2")
                        .arg(id, properties.value(QStringLiteral("preferred_trigger")).toString()));
            }
            shortcuts.endArray();
            const QVariantMap options = qdbus_cast<QVariantMap>(args.value(3));
            Respond(bus, message, Handle(QStringLiteral("request"), sender, options), {});
            return true;
        }
        return false;
    }

private:
    static QString Handle(const QString& kind, const QString& sender, const QVariantMap& options)
    {
        return kPath + u'/' + kind + u'/' + sender + u'/' +
               options.value(QStringLiteral("handle_token")).toString();
    }

    static void Respond(QDBusConnection& bus, const QDBusMessage& call, const QString& request,
                        const QVariantMap& results)
    {
        bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << 0u << results;
        bus.send(response);
    }

    QString m_session;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Portal portal;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(kPath, &portal, QDBusConnection::SubPath) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fputs("portal stand-in: can't take the portal's name on the session bus\n", stderr);
        return 1;
    }
    Say(QStringLiteral("ready"));
    return app.exec();
}
