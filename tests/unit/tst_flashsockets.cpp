// The "Flash/Sockets" setting: which game servers movies may reach.
#include "settings/FlashSockets.h"

#include <QTest>

using engine::SocketEndpoint;

class TestFlashSockets final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("endpoints"); // host:port each
        QTest::addColumn<QStringList>("bad");
        QTest::newRow("none") << "" << QStringList() << QStringList();
        QTest::newRow("one") << "game.example:843" << QStringList{"game.example:843"} << QStringList();
        QTest::newRow("range and spaces")
            << " 10.0.0.2:7000-7002 , s1.example:443"
            << QStringList{"10.0.0.2:7000", "10.0.0.2:7001", "10.0.0.2:7002", "s1.example:443"}
            << QStringList();
        QTest::newRow("IPv6 in brackets") << "[::1]:843" << QStringList{"::1:843"} << QStringList();
        QTest::newRow("repeats once") << "a:1,a:1-2" << QStringList{"a:1", "a:2"} << QStringList();
        QTest::newRow("bad entries skipped")
            << "a:0,b:65536,c:x,:80,d,e:9-8,f:+5,::1:80,g h:1,ok:80,i:5-" << QStringList{"ok:80"}
            << QStringList{"a:0", "b:65536", "c:x", ":80", "d", "e:9-8", "f:+5", "::1:80", "g h:1", "i:5-"};
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, endpoints);
        QFETCH(QStringList, bad);
        const FlashSockets parsed = ParseFlashSockets(text);
        QStringList got;
        for (const SocketEndpoint& e : parsed.endpoints)
            got << e.host + u':' + QString::number(e.port);
        QCOMPARE(got, endpoints);
        QCOMPARE(parsed.badEntries, bad);
        QVERIFY(!parsed.truncated);
    }

    void atMost1024Endpoints()
    {
        const FlashSockets parsed = ParseFlashSockets(QStringLiteral("a:1000-2999,b:1"));
        QCOMPARE(parsed.endpoints.size(), kMaxSocketEndpoints);
        QCOMPARE(parsed.endpoints.last().port, quint16(1000 + kMaxSocketEndpoints - 1));
        QVERIFY(parsed.truncated);
        QVERIFY(parsed.badEntries.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFlashSockets)
#include "tst_flashsockets.moc"
