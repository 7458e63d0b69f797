// F5, Ctrl+F5 and the refresh button load the game page again, through the real keys of the X
// server: F5 asks the server whether the page changed, Ctrl+F5 takes nothing from the cache, and
// what the page saved before is still there. F5 in the login window loads the login page again.
#include "TestHttpServer.h"
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "ui/CDuiFormGame.h"
#include "ui/CDuiFormLoginBrowser.h"

#include <QApplication>

class TestRefreshKeys final : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    std::unique_ptr<CDuiFormGame> m_game;
    QWidget* m_view = nullptr;

    QString Title() { return wt::RunJs(m_view, QStringLiteral("document.title")).toString(); }

private Q_SLOTS:
    void initTestCase()
    {
        // Each load counts itself in the page's local storage, and the page may be cached.
        m_server.headers = "Cache-Control: max-age=3600\r\n";
        m_server.body = "<!DOCTYPE html><title>-</title><script>var n = +(localStorage.n || 0) + 1;"
                        "localStorage.n = n; document.title = 'load ' + n;</script>";
        m_game = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        QVERIFY(m_game->CreateFrame(nullptr, m_server.Url(QStringLiteral("/game/?sid=1"))));
        m_game->ShowWindow(true, true);
        QTRY_VERIFY(wt::View(*m_game));
        m_view = wt::View(*m_game);
        QTRY_COMPARE(Title(), QStringLiteral("load 1"));
    }

    void cleanupTestCase() { m_game.reset(); }

    void loadsAgain_data()
    {
        QTest::addColumn<QString>("how");            // an xdotool key, or "button"
        QTest::addColumn<QByteArray>("cacheHeader"); // what the request says of the cache
        QTest::newRow("F5") << "F5" << QByteArray("Cache-Control: max-age=0");
        QTest::newRow("Ctrl+F5") << "ctrl+F5" << QByteArray("Cache-Control: no-cache");
        QTest::newRow("refresh button") << "button" << QByteArray("Cache-Control: max-age=0");
    }

    void loadsAgain()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, cacheHeader);
        const qsizetype before = m_server.requests.size();
        const int loads = Title().mid(5).toInt();
        if (how == u"button") {
            wt::ClickControl(*m_game, "refreshbtn");
        } else {
            // The keys go to the window that has the focus: the player clicked into the game.
            wt::Click(m_view->mapToGlobal(QPoint(300, 300)));
            QTRY_VERIFY(m_view->isAncestorOf(QApplication::focusWidget()));
            wt::Run(QStringLiteral("xdotool"), {QStringLiteral("key"), how});
        }
        QTRY_COMPARE(Title(), QStringLiteral("load %1").arg(loads + 1));
        QCOMPARE(m_server.requests.size(), before + 1);
        QVERIFY2(m_server.requests.last().head.contains(cacheHeader),
                 m_server.requests.last().head.constData());
    }

    void loginWindowLoadsItsPageAgain()
    {
        TestHttpServer login;
        login.body = "<!DOCTYPE html><script>document.title = 'login ' + performance.getEntriesByType("
                     "'navigation')[0].type;</script>";
        wt::WriteIni("[Common]\ngameLoginUrl=" + login.Url(QStringLiteral("/client/")).toUtf8() + "\n");
        QWidget owner;
        owner.setGeometry(100, 80, 764, 560);
        owner.show();
        CDuiFormLoginBrowser popup(QStringLiteral("FormLoginBrowser.xml"));
        QVERIFY(popup.CreateAt(&owner, owner.frameGeometry()));
        QTRY_VERIFY(g_pLoginHandler->GetBrowser() != nullptr);
        QWidget* view = g_pLoginHandler->GetBrowser()->GetWindowHandle();
        QTRY_COMPARE(wt::RunJs(view, QStringLiteral("document.title")).toString(),
                     QStringLiteral("login navigate"));
        // The player clicks into the page; the key comes once the pop-up has the focus.
        wt::Click(view->mapToGlobal(QPoint(300, 200)));
        QTRY_COMPARE(QApplication::activeWindow(), popup.GetHWND());
        QTRY_VERIFY(view->isAncestorOf(QApplication::focusWidget()));
        wt::Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("F5")});
        QTRY_COMPARE(wt::RunJs(view, QStringLiteral("document.title")).toString(),
                     QStringLiteral("login reload"));
        QCOMPARE(login.requests.size(), 2);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestRefreshKeys)
#include "tst_refreshkeys.moc"
