// The browser client handler with the real engine: game-address detection, pop-ups, the error
// page and titles.
#include "WindowTest.h"
#include "browser/EnterGameEvent.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "ui/AppMessages.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QWidget>

namespace {

// A local port that nothing listens on (and that the engine doesn't refuse as unsafe).
QString ClosedPortUrl(const QString& path = QStringLiteral("/"))
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path);
}

// Stands in for the login window and records the game addresses reported to it.
class Receiver final : public QWidget
{
public:
    QStringList addresses;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == WM_ENTER_GAME)
            addresses << static_cast<EnterGameEvent*>(e)->Address();
        return QWidget::event(e);
    }
};

} // namespace

class TestBrowser final : public QObject
{
    Q_OBJECT

    Receiver m_receiver;
    std::unique_ptr<QWidget> m_host;
    std::shared_ptr<SimpleHandler> m_handler;

    std::shared_ptr<engine::Browser> Open(const QString& address)
    {
        return wt::OpenBrowser(m_host, m_handler, address);
    }

    static bool WaitForText(const std::shared_ptr<engine::Browser>& browser, const QString& part,
                            int ms = 10000)
    {
        return QTest::qWaitFor([&] { return wt::PageText(browser->GetWindowHandle()).contains(part); }, ms);
    }

private Q_SLOTS:
    void initTestCase() { g_hWndLogin = &m_receiver; }
    void init() { m_receiver.addresses.clear(); }
    void cleanup()
    {
        m_host.reset();
        if (m_handler)
            QCOMPARE(m_handler->GetBrowser(), nullptr); // the closed browser left the list
        wt::WriteIni({});
    }

    void engineSpeaksChinese()
    {
        // The engine's own texts come in the program's language: a page's dialog buttons and the
        // page's context-menu entries.
        // The dialog runs its own event loop: it is read and answered from a timer inside it.
        QString text, ok, cancel;
        QTimer answer;
        answer.setInterval(100);
        connect(&answer, &QTimer::timeout, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                text = box->text();
                ok = box->button(QMessageBox::Ok)->text();
                cancel = box->button(QMessageBox::Cancel)->text();
                answer.stop();
                box->button(QMessageBox::Ok)->click();
            }
        });
        answer.start();
        auto browser = Open(wt::DemoUrl("/extra/confirm.html"));
        QVERIFY(browser);
        QTRY_COMPARE_WITH_TIMEOUT(browser->GetWindowHandle()->windowTitle(), QStringLiteral("yes"), 15000);
        QCOMPARE(text, QStringLiteral("继续吗？"));
        QCOMPARE(ok, QStringLiteral("确定"));
        QCOMPARE(cancel, QStringLiteral("取消"));
        auto* page = qobject_cast<QWebEngineView*>(browser->GetWindowHandle())->page();
        QCOMPARE(page->action(QWebEnginePage::Back)->text(), QStringLiteral("后退"));
        QCOMPARE(page->action(QWebEnginePage::Reload)->text(), QStringLiteral("重新加载"));
    }

    void markerRules_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("reported");
        QTest::newRow("default marker") << QByteArray() << "?gid=512&sid=42" << true;
        QTest::newRow("no marker") << QByteArray() << "?gid=512" << false;
        QTest::newRow("capital letters") << QByteArray() << "?SID=42" << false;
        QTest::newRow("own marker") << QByteArray("[Common]\ngameparam=token=\n") << "?token=7" << true;
        QTest::newRow("default no longer counts")
            << QByteArray("[Common]\ngameparam=token=\n") << "?sid=42" << false;
        QTest::newRow("empty marker matches all")
            << QByteArray("[Common]\ngameparam=\n") << "?anything" << true;
    }

    void markerRules()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, query);
        QFETCH(bool, reported);
        auto browser = Open(wt::DemoUrl("/extra/title.html"));
        QVERIFY(browser);
        QVERIFY(WaitForText(browser, "title"));
        // The setting changes while the browser runs: the next navigation reads it anew.
        wt::WriteIni(ini);
        m_receiver.addresses.clear();
        const QString address = wt::DemoUrl("/forum/") + query;
        browser->LoadURL(address);
        QVERIFY(QTest::qWaitFor([&] { return browser->GetURL().toString() == address; }, 5000));
        QVERIFY(WaitForText(browser, "论坛"));
        if (reported)
            QVERIFY(m_receiver.addresses.contains(address)); // the full address, and the page still loads
        else
            QCOMPARE(m_receiver.addresses, QStringList());
    }

    void errorPages_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        QTest::newRow("refused") << ClosedPortUrl() << "with error net::ERR_CONNECTION_REFUSED (-102).";
        QTest::newRow("unresolvable") << "http://vantor-test.invalid/"
                                      << "(-105).";
    }

    void errorPages()
    {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        auto browser = Open(address);
        QVERIFY(browser);
        QVERIFY(WaitForText(browser, expected));
        QVERIFY(wt::PageText(browser->GetWindowHandle())
                    .startsWith(QStringLiteral("Failed to load URL ") + address));
        QCOMPARE(browser->GetURL().toString(), address); // shown under the failed address
    }

    void failedGameAddressIsReportedOnce()
    {
        auto browser = Open(wt::DemoUrl("/extra/title.html"));
        QVERIFY(WaitForText(browser, "title"));
        m_receiver.addresses.clear();
        // Hidden, the page doesn't try the address again meanwhile: each try is a navigation of
        // its own, reported as such. Only the error page's own load must not be.
        m_host->hide();
        const QString address = ClosedPortUrl(QStringLiteral("/game/?sid=1"));
        browser->LoadURL(address);
        QVERIFY(WaitForText(browser, "(-102)"));
        QTest::qWait(300);
        QCOMPARE(m_receiver.addresses, QStringList{address});
    }

    void hostileAddressShowsAsText()
    {
        const QString address = ClosedPortUrl(QStringLiteral("/?q=<script>document.title='pwned'</script>"));
        auto browser = Open(address);
        QVERIFY(WaitForText(browser, "(-102)"));
        const QString text = wt::PageText(browser->GetWindowHandle());
        QVERIFY2(text.contains(QStringLiteral("%3Cscript%3E")) || text.contains(QStringLiteral("<script>")),
                 qPrintable(text));
        QVERIFY(wt::RunJs(browser->GetWindowHandle(), "document.title").toString() != u"pwned");
        const QString scripts = "Array.from(document.scripts).some(s => s.textContent.includes('pwned'))";
        QCOMPARE(wt::RunJs(browser->GetWindowHandle(), scripts).toBool(), false);
    }

    void abortedLoadShowsNoErrorPage()
    {
        // A load that is stopped before it ends keeps what the frame showed.
        auto browser = Open(wt::DemoUrl("/extra/title.html"));
        QVERIFY(WaitForText(browser, "title"));
        browser->LoadURL(wt::DemoUrl("/hang?seconds=20"));
        QTest::qWait(1000);
        auto* view = qobject_cast<QWebEngineView*>(browser->GetWindowHandle());
        view->page()->triggerAction(QWebEnginePage::Stop);
        QTest::qWait(800);
        const QString text = wt::PageText(view);
        QVERIFY2(!text.contains(QStringLiteral("Failed to load")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("loading")) || text.contains(QStringLiteral("title")),
                 qPrintable(text));
    }

    void popupsOpenNothing()
    {
        wt::WriteIni("[Common]\ngameparam=popup-target\n"); // any navigation to a pop-up address shows here
        auto browser = Open(wt::DemoUrl("/extra/popups.html"));
        const int windowsBefore = QApplication::topLevelWidgets().size();
        QVERIFY(QTest::qWaitFor(
            [&] { return browser->GetWindowHandle()->windowTitle().startsWith("popups done"); }, 10000));
        QTest::qWait(500);
        QCOMPARE(browser->GetWindowHandle()->windowTitle(), QStringLiteral("popups done none open"));
        QCOMPARE(m_receiver.addresses, QStringList());
        QCOMPARE(browser->GetURL().path(), QStringLiteral("/extra/popups.html"));
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
    }

    void titleGoesToTheBrowsersOwnWidget()
    {
        auto browser = Open(wt::DemoUrl("/extra/title.html"));
        QTRY_COMPARE_WITH_TIMEOUT(browser->GetWindowHandle()->windowTitle(),
                                  QStringLiteral("Title Text 标题"), 10000);
        QCOMPARE(m_host->windowTitle(), QString());
    }
};

VANTOR_WINDOW_TEST_MAIN(TestBrowser)
#include "tst_browser.moc"
