// A page whose load failed on the network comes back by itself: tried again at growing intervals
// against a server of the test's own, at once when it shows again, and never for what the network
// didn't cause (a server's error status, the policy's refusal, a form, an aborted load).
#include "TestHttpServer.h"
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"

#include <QTcpServer>
#include <QWebEngineView>

namespace {

const QString kRetryLine = QStringLiteral("秒后自动重试");

} // namespace

class TestPageRetry final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_host;
    std::shared_ptr<SimpleHandler> m_handler;

    std::shared_ptr<engine::Browser> Open(const QString& address)
    {
        return wt::OpenBrowser(m_host, m_handler, address);
    }
    QString Text() { return wt::PageText(m_handler->GetBrowser()->GetWindowHandle()); }
    bool WaitForText(const QString& part, int ms = 10000)
    {
        return QTest::qWaitFor([&] { return Text().contains(part); }, ms);
    }

private Q_SLOTS:
    void cleanup() { m_host.reset(); }

    void triesAgainLaterEachTimeUntilBack()
    {
        TestHttpServer server;
        server.status = 0;
        QVERIFY(Open(server.Url()));
        QVERIFY2(WaitForText(QStringLiteral("2 秒后自动重试")), qPrintable(Text()));
        QVERIFY(QTest::qWaitFor([&] { return server.requests.size() == 3; }, 12000));
        QVERIFY(WaitForText(QStringLiteral("8 秒后自动重试")));
        // 2 s, then 4 s.
        const qint64 first = server.requests[1].ms - server.requests[0].ms,
                     second = server.requests[2].ms - server.requests[1].ms;
        QVERIFY2(first > 1500 && first < 3500, qPrintable(QString::number(first)));
        QVERIFY2(second > 3500 && second < 5500, qPrintable(QString::number(second)));
        // The player's "retry" tries at once; the server is back by then.
        server.status = 200;
        QVERIFY(wt::RunJs(m_handler->GetBrowser()->GetWindowHandle(),
                          QStringLiteral("document.querySelector('a').click(); true"))
                    .toBool());
        QVERIFY(WaitForText(QStringLiteral("page"), 3000));
        QCOMPARE(server.requests.size(), 4);
        // Back: no more tries.
        QTest::qWait(9000);
        QCOMPARE(server.requests.size(), 4);
    }

    void hiddenPageWaitsAndTriesOnceShown()
    {
        TestHttpServer server;
        server.status = 0;
        QVERIFY(Open(server.Url()));
        QVERIFY(WaitForText(kRetryLine));
        m_host->hide();
        QTest::qWait(200);
        const qsizetype hidden = server.requests.size();
        QTest::qWait(4500);
        QCOMPARE(server.requests.size(), hidden);
        server.status = 200;
        m_host->show();
        QVERIFY(WaitForText(QStringLiteral("page"), 1500));
        QCOMPARE(server.requests.size(), hidden + 1);
    }

    void whatIsTriedAgain_data()
    {
        QTest::addColumn<int>("status");    // the server's answer: 0 cuts the connection off
        QTest::addColumn<QString>("how");   // how the page is loaded: "load", "form", "policy", "stop"
        QTest::addColumn<QString>("shown"); // a text of what the page shows then
        QTest::addColumn<bool>("triedAgain");
        QTest::newRow("connection cut off") << 0 << "load"
                                            << "Failed to load URL" << true;
        QTest::newRow("connection refused") << -1 << "load"
                                            << "(-102)" << true;
        QTest::newRow("server error status") << 500 << "load"
                                             << "page" << false;
        QTest::newRow("not found status") << 404 << "load"
                                          << "page" << false;
        QTest::newRow("a form sent") << 0 << "form"
                                     << "Failed to load URL" << false;
        QTest::newRow("refused by the policy") << 200 << "policy"
                                               << "(-20)" << false;
    }

    void whatIsTriedAgain()
    {
        QFETCH(int, status);
        QFETCH(QString, how);
        QFETCH(QString, shown);
        QFETCH(bool, triedAgain);
        TestHttpServer server;
        server.status = std::max(status, 0);
        QString address = server.Url();
        if (status < 0) { // a port that nothing listens on
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost);
            address = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
        }
        if (how == u"load") {
            QVERIFY(Open(address));
        } else {
            QVERIFY(Open(wt::DemoUrl(QStringLiteral("/extra/title.html"))));
            QVERIFY(WaitForText(QStringLiteral("title")));
            const QString script =
                how == u"form"
                    ? QStringLiteral("var f = document.createElement('form'); f.method = 'post';"
                                     "f.action = '%1'; document.body.appendChild(f); f.submit(); true")
                    : QStringLiteral("location.href = 'file:///etc/hostname'; true");
            QVERIFY(wt::RunJs(m_handler->GetBrowser()->GetWindowHandle(), script.arg(address)).toBool());
        }
        QVERIFY2(WaitForText(shown), qPrintable(Text()));
        QCOMPARE(Text().contains(kRetryLine), triedAgain);
        if (status < 0)
            return;
        const qsizetype before = server.requests.size();
        if (triedAgain) {
            QVERIFY(QTest::qWaitFor([&] { return server.requests.size() > before; }, 7000));
        } else {
            QTest::qWait(4500);
            QCOMPARE(server.requests.size(), before);
        }
    }

    void abortedLoadIsNotTriedAgain()
    {
        QVERIFY(Open(wt::DemoUrl(QStringLiteral("/extra/title.html"))));
        QVERIFY(WaitForText(QStringLiteral("title")));
        m_handler->GetBrowser()->LoadURL(wt::DemoUrl(QStringLiteral("/hang?seconds=20")));
        QTest::qWait(800);
        auto* view = qobject_cast<QWebEngineView*>(m_handler->GetBrowser()->GetWindowHandle());
        view->page()->triggerAction(QWebEnginePage::Stop);
        QTest::qWait(3000);
        const QString text = Text();
        QVERIFY2(!text.contains(QStringLiteral("Failed to load")), qPrintable(text));
    }
};

VANTOR_WINDOW_TEST_MAIN(TestPageRetry)
#include "tst_pageretry.moc"
