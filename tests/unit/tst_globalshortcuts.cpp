// Global hot keys in a Wayland session through the desktop portal's global shortcuts, against a
// stand-in portal on a private session bus.
#include "platform/desktop/GlobalHotKeys.h"
#include "platform/desktop/GlobalShortcutsPortal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

using desktop::GlobalHotKeys;
using desktop::GlobalShortcutsPortal;

class TestGlobalShortcuts final : public QObject
{
    Q_OBJECT

    QProcess m_bus;
    QProcess m_portal;
    QString m_portalOutput;

    QString PortalOutput()
    {
        m_portalOutput += QString::fromUtf8(m_portal.readAllStandardOutput());
        return m_portalOutput;
    }

    static void Activate(const QString& shortcutId)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                                                           QStringLiteral("/org/freedesktop/portal/desktop"),
                                                           QStringLiteral("net.vantor.test.PortalStandIn"),
                                                           QStringLiteral("Activate"));
        call << shortcutId;
        QCOMPARE(QDBusConnection::sessionBus().call(call).type(), QDBusMessage::ReplyMessage);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // A session bus of the test's own, and a Wayland session as the program sees one.
        m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QByteArray address = m_bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        qputenv("WAYLAND_DISPLAY", "vantor-test");
        m_portal.start(QStringLiteral(VANTOR_BUILD_DIR "/tests/vantor-portal-standin"), {});
        QTRY_VERIFY_WITH_TIMEOUT(PortalOutput().contains("ready"), 10000);
        QVERIFY(GlobalShortcutsPortal::IsAvailable());
    }

    void cleanupTestCase()
    {
        m_portal.kill();
        m_portal.waitForFinished();
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void triggers_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("F9") << QKeyCombination(Qt::Key_F9) << "F9";
        QTest::newRow("Escape") << QKeyCombination(Qt::Key_Escape) << "Escape";
        QTest::newRow("Ctrl+Shift+A")
            << (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_A) << "CTRL+SHIFT+a";
        QTest::newRow("Alt+1") << (Qt::AltModifier | Qt::Key_1) << "ALT+1";
        QTest::newRow("Ctrl+Alt+Shift+Z")
            << (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::Key_Z) << "CTRL+ALT+SHIFT+z";
    }

    void triggers()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, trigger);
        QCOMPARE(GlobalShortcutsPortal::Trigger(key), trigger);
    }

    void boundReportedAndReleased()
    {
        QList<int> pressed;
        GlobalHotKeys keys([&](int id) { pressed << id; });
        QVERIFY(keys.Register(7, Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_A));
        QTRY_VERIFY(PortalOutput().contains("bind 7 CTRL+SHIFT+a"));
        QVERIFY(PortalOutput().contains("session "));
        QVERIFY(keys.Register(9, QKeyCombination(Qt::Key_F9)));
        QTRY_VERIFY(PortalOutput().contains("bind 9 F9"));

        Activate(QStringLiteral("9"));
        QTRY_COMPARE(pressed, QList<int>{9});
        // A key let go is not reported, though it stays bound with the desktop.
        keys.Unregister(9);
        QVERIFY(!keys.IsRegistered(9));
        Activate(QStringLiteral("9"));
        Activate(QStringLiteral("7"));
        QTRY_COMPARE(pressed, (QList<int>{9, 7}));
        // Taken again, it is reported again without a new binding (no new dialog on the desktop).
        const int bindings = PortalOutput().count(QStringLiteral("bind 9"));
        QVERIFY(keys.Register(9, QKeyCombination(Qt::Key_F9)));
        Activate(QStringLiteral("9"));
        QTRY_COMPARE(pressed, (QList<int>{9, 7, 9}));
        QCOMPARE(PortalOutput().count(QStringLiteral("bind 9")), bindings);
        // An id the program never registered is ignored.
        Activate(QStringLiteral("12345"));
        QTest::qWait(200);
        QCOMPARE(pressed.size(), 3);
    }

    void withoutPortalOrX11NothingIsGrabbed()
    {
        m_portal.kill();
        m_portal.waitForFinished();
        QTRY_VERIFY(!GlobalShortcutsPortal::IsAvailable());
        GlobalHotKeys keys([](int) {});
        QVERIFY(!keys.Register(9, QKeyCombination(Qt::Key_F9)));
        QVERIFY(!keys.IsRegistered(9));
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TestGlobalShortcuts test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_globalshortcuts.moc"
