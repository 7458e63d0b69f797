// The one decision on what a page may reach, as a table: schemes, local files and the local network.
#include "platform/engine/RequestPolicy.h"

#include <QTest>

using engine::Requester;

class TestRequestPolicy final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void localNetworkHost_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("local");
        for (const char* host :
             {"localhost", "LOCALHOST", "a.localhost", "localhost.", "127.0.0.1", "127.8.9.1", "0.0.0.0",
              "10.1.2.3", "172.16.0.1", "172.31.255.255", "192.168.1.1", "169.254.1.1", "::1", "[::1]",
              "fc00::1", "fd12::3", "fe80::1", "::ffff:127.0.0.1"})
            QTest::newRow(host) << QString::fromLatin1(host) << true;
        for (const char* host : {"game.test", "example.com", "8.8.8.8", "172.32.0.1", "172.15.0.1",
                                 "192.169.0.1", "11.0.0.1", "2001:db8::1", "localhost.example.com", ""})
            QTest::newRow(host) << QString::fromLatin1(host) << false;
    }
    void localNetworkHost()
    {
        QFETCH(QString, host);
        QFETCH(bool, local);
        QCOMPARE(engine::IsLocalNetworkHost(host), local);
    }

    void mayRequest_data()
    {
        QTest::addColumn<Requester>("requester");
        QTest::addColumn<QUrl>("origin");
        QTest::addColumn<QUrl>("target");
        QTest::addColumn<bool>("allowed");
        const QUrl publicPage("http://game.test/");
        const QUrl localPage("http://127.0.0.1:8512/");
        const QUrl filePage("file:///opt/platform/login.html");
        const QUrl opaque;
        QTest::newRow("program: operator's file page") << Requester::Program << QUrl() << filePage << true;
        QTest::newRow("program: qrc") << Requester::Program << QUrl() << QUrl("qrc:/x") << true;
        QTest::newRow("web: file") << Requester::Web << publicPage << QUrl("file:///etc/passwd") << false;
        QTest::newRow("local web: file")
            << Requester::Web << localPage << QUrl("file:///etc/passwd") << false;
        QTest::newRow("web: qrc") << Requester::Web << localPage << QUrl("qrc:/engine/crashpage.html")
                                  << false;
        QTest::newRow("web: mailto") << Requester::Web << publicPage << QUrl("mailto:a@b.c") << false;
        QTest::newRow("web: desktop scheme")
            << Requester::Web << publicPage << QUrl("steam://run/1") << false;
        QTest::newRow("file page: its own files")
            << Requester::LocalFile << filePage << QUrl("file:///opt/platform/a.png") << true;
        QTest::newRow("file page: qrc") << Requester::LocalFile << filePage << QUrl("qrc:/x") << false;
        QTest::newRow("file page: loopback")
            << Requester::LocalFile << filePage << QUrl("http://127.0.0.1:1/") << true;
        for (const char* scheme : {"http", "https", "ws", "wss"}) {
            QTest::addRow("public: %s loopback", scheme)
                << Requester::Web << publicPage
                << QUrl(QStringLiteral("%1://127.0.0.1:631/").arg(QLatin1StringView(scheme))) << false;
        }
        QTest::newRow("public: private")
            << Requester::Web << publicPage << QUrl("http://192.168.1.1/") << false;
        QTest::newRow("public: localhost")
            << Requester::Web << publicPage << QUrl("http://localhost:8080/") << false;
        QTest::newRow("public: public")
            << Requester::Web << publicPage << QUrl("https://cdn.example/a.js") << true;
        QTest::newRow("opaque: loopback")
            << Requester::Web << opaque << QUrl("http://127.0.0.1:631/") << false;
        QTest::newRow("local: loopback")
            << Requester::Web << localPage << QUrl("http://127.0.0.1:631/") << true;
        QTest::newRow("LAN page: LAN")
            << Requester::Web << QUrl("http://10.0.0.5/") << QUrl("http://10.0.0.6/") << true;
        for (const char* scheme : {"data", "blob", "about", "ruffle"}) {
            QTest::addRow("public: %s", scheme)
                << Requester::Web << publicPage << QUrl(QStringLiteral("%1:x").arg(QLatin1StringView(scheme)))
                << true;
        }
    }
    void mayRequest()
    {
        QFETCH(Requester, requester);
        QFETCH(QUrl, origin);
        QFETCH(QUrl, target);
        QFETCH(bool, allowed);
        QCOMPARE(engine::MayRequest(requester, origin, target), allowed);
    }

    void programsOwnEndpointIsTheOneException()
    {
        const QUrl publicPage("https://game.test/");
        QVERIFY(!engine::MayRequest(Requester::Web, publicPage, QUrl("ws://127.0.0.1:40123/x")));
        engine::AllowLocalEndpoint(QStringLiteral("127.0.0.1"), 40123);
        QVERIFY(engine::MayRequest(Requester::Web, publicPage, QUrl("ws://127.0.0.1:40123/x")));
        QVERIFY(!engine::MayRequest(Requester::Web, publicPage, QUrl("ws://127.0.0.1:40124/x")));
    }
};

QTEST_GUILESS_MAIN(TestRequestPolicy)
#include "tst_requestpolicy.moc"
