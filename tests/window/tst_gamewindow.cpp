// The game window with the real engine: placement, layout, the hand-over from the login window
// and back, and recovery from a crashed page.
#include "WindowTest.h"
#include "browser/EnterGameEvent.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "platform/skin/PaintManager.h"
#include "ui/AppMessages.h"
#include "ui/CDuiFormGame.h"
#include "ui/CDuiFormLogin.h"
#include "ui/CDuiFormLoginBrowser.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include <csignal>

namespace {

using wt::View;

QPoint ExpectedPlacement()
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    return {(work.x() + work.width() - 1250) / 2, (work.y() + work.height() - 700) / 2};
}

} // namespace

class TestGameWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { wt::WriteIni({}); }

    void placementAndLayout()
    {
        CDuiFormGame game(QStringLiteral("FormGame.xml"));
        QVERIFY2(game.CreateFrame(nullptr, wt::DemoUrl("/extra/title.html")), qPrintable(game.LastError()));
        QWidget* wnd = game.GetHWND();
        QCOMPARE(wnd->geometry(), QRect(ExpectedPlacement(), QSize(1250, 700)));
        QVERIFY(wnd->isVisible());
        // The browser appears after the first layout; the layout catches up with it.
        QTRY_VERIFY(View(game));
        QTRY_COMPARE(View(game)->geometry(), QRect(2, 32, 1247, 666));

        for (const QSize size : {QSize(900, 500), QSize(1400, 900), QSize(640, 400)}) {
            wnd->resize(size);
            QTRY_COMPARE(View(game)->geometry(), QRect(2, 32, size.width() - 3, size.height() - 34));
            QCOMPARE(game.FindControl("topBg")->geometry(), QRect(0, 0, size.width(), 32));
        }
        wt::ClickControl(game, "maxbtn");
        QTRY_VERIFY(wnd->isMaximized());
        QVERIFY(!game.FindControl("maxbtn")->isVisible());
        QVERIFY(game.FindControl("restorebtn")->isVisible());
        QTRY_COMPARE(View(game)->geometry(), QRect(2, 32, wnd->width() - 3, wnd->height() - 34));
        wt::ClickControl(game, "restorebtn");
        QTRY_VERIFY(!wnd->isMaximized());
        QTRY_COMPARE(View(game)->geometry(), QRect(2, 32, wnd->width() - 3, wnd->height() - 34));
        wnd->move(10, 20);
        QTRY_COMPARE(View(game)->geometry(), QRect(2, 32, wnd->width() - 3, wnd->height() - 34));
    }

    void skinWithoutTopBar()
    {
        // A skin without "topBg" still gives a game window whose browser follows its size.
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("images"));
        QFile source(QStringLiteral(VANTOR_SKIN_DIR "FormGame.xml"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QFile skin(dir.filePath("FormGame.xml"));
        QVERIFY(skin.open(QIODevice::WriteOnly));
        skin.write(source.readAll().replace("name=\"topBg\"", "name=\"someOtherBar\""));
        skin.close();
        CPaintManagerUI::SetResourcePath(dir.path());
        CDuiFormGame game(QStringLiteral("FormGame.xml"));
        QVERIFY(game.CreateFrame(nullptr, wt::DemoUrl("/extra/title.html")));
        CPaintManagerUI::SetResourcePath(QStringLiteral(VANTOR_SKIN_DIR));
        QVERIFY(!game.FindControl("topBg"));
        QTRY_VERIFY(View(game));
        QTRY_COMPARE(View(game)->geometry(), QRect(2, 32, 1247, 666));
        game.GetHWND()->resize(800, 600);
        QTRY_COMPARE(View(game)->geometry(), QRect(2, 32, 797, 566));
    }

    void placementOnSmallWorkArea()
    {
        if (qEnvironmentVariableIsSet("VANTOR_IN_SMALL_DISPLAY")) {
            // Only the work area's right and bottom edges count; a negative position is kept.
            const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
            QVERIFY(work.width() < 1250 && work.height() < 700);
            CDuiFormGame game(QStringLiteral("FormGame.xml"));
            QVERIFY(game.CreateFrame(nullptr, wt::DemoUrl("/extra/title.html")));
            QCOMPARE(game.GetHWND()->pos(), ExpectedPlacement());
            QVERIFY(game.GetHWND()->x() < 0 && game.GetHWND()->y() < 0);
            return;
        }
        const QString smallDisplay = qEnvironmentVariable("VANTOR_SMALL_DISPLAY");
        if (smallDisplay.isEmpty())
            QSKIP("no small display (scripts/headless.sh provides one)");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", smallDisplay);
        env.insert("VANTOR_IN_SMALL_DISPLAY", "1");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"placementOnSmallWorkArea"});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
    }

    void enterGameAndReturn()
    {
        wt::WriteIni("[Common]\ngotoLoginPage=1\ngameLoginUrl=" + wt::DemoUrl("/client/?gid=512").toUtf8() +
                     "\n");
        CDuiFormLogin login(QStringLiteral("FormLogin.xml"));
        QVERIFY(login.Create(nullptr, QString(), WS_VISIBLE | WS_EX_APPWINDOW));
        g_hWndLogin = login.GetHWND();
        QTRY_VERIFY(g_pLoginHandler->GetBrowser());

        auto enter = [&](const QString& address) {
            EnterGameEvent message(address);
            SendMessage(login.GetHWND(), &message);
        };
        auto round = [&](int n) {
            const QString address = wt::DemoUrl(QStringLiteral("/extra/title.html?sid=%1").arg(n));
            enter(address);
            QVERIFY(!login.GetHWND()->isVisible());
            QVERIFY(!login.LoginBrowser()->GetHWND()->isVisible());
            // While the game runs the hidden login page has let go of its view, and both login
            // windows of their native windows and pixels.
            const auto loginBrowser = g_pLoginHandler->GetBrowser();
            QTRY_VERIFY(!loginBrowser->GetWindowHandle());
            QTRY_VERIFY(!login.GetHWND()->testAttribute(Qt::WA_WState_Created));
            QVERIFY(!login.LoginBrowser()->GetHWND()->testAttribute(Qt::WA_WState_Created));
            CDuiFormGame* game = login.GameWindow();
            QVERIFY(game && game->GetHWND()->isVisible());
            QCOMPARE(game->GetHWND()->geometry().size(), QSize(1250, 700));
            QTRY_VERIFY(View(*game));
            // A second report while the game runs opens nothing and doesn't navigate the game.
            enter(wt::DemoUrl("/forum/?sid=other"));
            QCOMPARE(login.GameWindow(), game);
            QTRY_COMPARE(game->Handler()->GetBrowser()->GetURL().toString(), address);
            QPointer<QWidget> gameWnd = game->GetHWND();
            wt::ClickControl(*game, "closebtn");
            QTRY_VERIFY(login.GetHWND()->isVisible());
            QVERIFY(login.LoginBrowser()->GetHWND()->isVisible());
            // The same browser comes back in the same place, on the login page.
            QCOMPARE(g_pLoginHandler->GetBrowser(), loginBrowser);
            QVERIFY(loginBrowser->GetWindowHandle() && loginBrowser->GetWindowHandle()->isVisible());
            QCOMPARE(loginBrowser->GetWindowHandle()->geometry(), QRect(0, 0, 688, 398));
            QCOMPARE(loginBrowser->GetURL().path(), QStringLiteral("/client/"));
            QCOMPARE(login.LoginBrowser()->GetHWND()->pos(), login.GetHWND()->pos() + QPoint(38, 127));
            QTRY_VERIFY(gameWnd.isNull());
            QTRY_VERIFY(!login.GameWindow());
        };

        round(0);
        if (QTest::currentTestFailed())
            return;
        QCoreApplication::processEvents();
        const qsizetype widgetsAfterFirst = QApplication::allWidgets().size();
        for (int n = 1; n < 50; ++n) {
            round(n);
            if (QTest::currentTestFailed())
                return;
            QVERIFY(QApplication::topLevelWidgets().size() <= widgetsAfterFirst);
        }
        QTest::qWait(200);
        QCOMPARE(QApplication::allWidgets().size(), widgetsAfterFirst);
        g_hWndLogin = nullptr;
    }

    void loginGoesWhileTheGameRuns()
    {
        // The program ends during a game: the login page, without a view at that time, still goes
        // with its window, before the engine does.
        wt::WriteIni("[Common]\ngameLoginUrl=" + wt::DemoUrl("/client/?gid=512").toUtf8() + "\n");
        std::weak_ptr<engine::Browser> loginBrowser;
        {
            CDuiFormLogin login(QStringLiteral("FormLogin.xml"));
            QVERIFY(login.Create(nullptr, QString(), WS_VISIBLE | WS_EX_APPWINDOW));
            g_hWndLogin = login.GetHWND();
            QTRY_VERIFY(g_pLoginHandler->GetBrowser());
            loginBrowser = g_pLoginHandler->GetBrowser();
            EnterGameEvent message(wt::DemoUrl("/extra/title.html?sid=1"));
            SendMessage(login.GetHWND(), &message);
            QTRY_VERIFY(login.GameWindow() && View(*login.GameWindow()));
            QTRY_VERIFY(!loginBrowser.lock()->GetWindowHandle());
            g_hWndLogin = nullptr;
        }
        QTRY_VERIFY(loginBrowser.expired());
        QVERIFY(!g_pLoginHandler->GetBrowser());
    }

    void crashedPageReloads()
    {
        CDuiFormGame game(QStringLiteral("FormGame.xml"));
        QVERIFY(game.CreateFrame(nullptr, wt::DemoUrl("/extra/title.html")));
        QTRY_VERIFY(View(game));
        auto* page = qobject_cast<QWebEngineView*>(View(game))->page();
        QTRY_VERIFY(wt::PageText(View(game)).contains("title"));
        auto killRenderer = [page] {
            const qint64 pid = page->renderProcessPid();
            QVERIFY(pid > 0);
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        };
        // The first crash reloads the page by itself...
        killRenderer();
        QTRY_VERIFY_WITH_TIMEOUT(page->renderProcessPid() > 0 && wt::PageText(View(game)).contains("title"),
                                 15000);
        // ...a second one soon after shows the crash page, with a way to reload.
        killRenderer();
        QTRY_VERIFY_WITH_TIMEOUT(wt::PageText(View(game)).contains("重新加载"), 15000);
        QCOMPARE(game.Handler()->GetBrowser()->GetURL().path(), QStringLiteral("/extra/title.html"));
        wt::RunJs(View(game), "document.querySelector('a').click()");
        QTRY_VERIFY_WITH_TIMEOUT(wt::PageText(View(game)).contains("title"), 10000);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestGameWindow)
#include "tst_gamewindow.moc"
