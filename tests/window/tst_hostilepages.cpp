// Hostile and failing pages in the login window: nothing is lost, nothing hangs, and the client
// keeps one game window at most.
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "ui/CDuiFormGame.h"
#include "ui/CDuiFormLogin.h"

#include <QPointer>

#include <csignal>

class TestHostilePages final : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDuiFormLogin> m_login;

    std::shared_ptr<engine::Browser> LoginBrowser() { return g_pLoginHandler->GetBrowser(); }

    QWidget* LoginView() { return LoginBrowser() ? LoginBrowser()->GetWindowHandle() : nullptr; }

    int GameWindows()
    {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->isVisible() && w->size() == QSize(1250, 700);
        return n;
    }

    void Load(const QString& address)
    {
        LoginBrowser()->LoadURL(address);
        QVERIFY(QTest::qWaitFor([&] { return LoginBrowser()->GetURL().toString() == address; }, 10000));
    }

private Q_SLOTS:
    void init()
    {
        wt::WriteIni("[Common]\ngotoLoginPage=1\ngameLoginUrl=" + wt::DemoUrl("/extra/title.html").toUtf8() +
                     "\n");
        m_login = std::make_unique<CDuiFormLogin>(QStringLiteral("FormLogin.xml"));
        QVERIFY(m_login->Create(nullptr, QString(), WS_VISIBLE | WS_EX_APPWINDOW));
        g_hWndLogin = m_login->GetHWND();
        QTRY_VERIFY(LoginView());
        QTRY_VERIFY(wt::PageText(LoginView()).contains("title"));
    }
    void cleanup()
    {
        m_login.reset();
        QTRY_VERIFY(!g_pLoginHandler->GetBrowser());
        wt::WriteIni({});
    }

    void popupStorm()
    {
        const int windows = QApplication::topLevelWidgets().size();
        Load(wt::DemoUrl("/extra/popupstorm.html"));
        QTRY_COMPARE_WITH_TIMEOUT(LoginView()->windowTitle(), QStringLiteral("storm done"), 60000);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        QVERIFY(m_login->GetHWND()->isVisible());
        QVERIFY(!m_login->GameWindow());
    }

    void navigationStormOpensOneGameWindow()
    {
        Load(wt::DemoUrl("/extra/navstorm.html"));
        QTRY_VERIFY_WITH_TIMEOUT(m_login->GameWindow(), 10000);
        QTest::qWait(1500);
        QCOMPARE(GameWindows(), 1);
        QVERIFY(!m_login->GetHWND()->isVisible());
    }

    void pageThatNeverFinishes()
    {
        LoginBrowser()->LoadURL(wt::DemoUrl("/hang?seconds=30"));
        QTest::qWait(1500);
        // The client stays responsive and the next address loads at once.
        Load(wt::DemoUrl("/forum/"));
        QTRY_VERIFY(wt::PageText(LoginView()).contains("论坛"));
    }

    void hugeAddress()
    {
        const QString address = wt::DemoUrl("/forum/?q=") + QString(100000, u'x');
        LoginBrowser()->LoadURL(address);
        QTest::qWait(3000);
        QVERIFY(LoginView() && m_login->GetHWND()->isVisible());
        Load(wt::DemoUrl("/extra/title.html"));
    }

    void pageThatClosesItself()
    {
        Load(wt::DemoUrl("/extra/closeself.html"));
        QTRY_COMPARE(LoginView()->windowTitle(), QStringLiteral("closed itself"));
        QTest::qWait(500);
        QVERIFY(LoginView());
        QVERIFY(wt::PageText(LoginView()).contains("still here"));
    }

    void killedRendererRecovers()
    {
        auto* page = qobject_cast<QWebEngineView*>(LoginView())->page();
        const qint64 pid = page->renderProcessPid();
        QVERIFY(pid > 0);
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() > 0 && page->renderProcessPid() != pid, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(wt::PageText(LoginView()).contains("title"), 15000);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestHostilePages)
#include "tst_hostilepages.moc"
