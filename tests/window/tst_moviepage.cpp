// What the loader and the page class give movies and pages in a real engine: sound without a
// click, the page's own full screen only in the game window, and a page's own emulator settings
// winning key by key over the client's.
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "ui/CDuiFormGame.h"
#include "ui/CDuiFormLogin.h"

#include <QJsonDocument>
#include <QProcess>

namespace {

using wt::View;

// A real click on the page, as a player's: the page's full screen needs one. A page takes input
// a moment after it has drawn.
void ClickPage(QWidget* view)
{
    QTest::qWait(500);
    wt::Click(view->mapToGlobal(QPoint(50, 50)));
}

} // namespace

class TestMoviePage final : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDuiFormGame> OpenGame(const QString& path)
    {
        auto game = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        if (!game->CreateFrame(nullptr, wt::DemoUrl(path)))
            return nullptr;
        game->ShowWindow(true, true);
        return game;
    }

private Q_SLOTS:
    void cleanup() { wt::WriteIni({}); }

    void soundPlaysWithoutAClick()
    {
        // The demo game chimes when it starts; nobody clicks. The page watches what reaches its
        // audio output: a running context and buffers that aren't silent.
        auto game = OpenGame(QStringLiteral("/extra/sound.html"));
        QVERIFY(game);
        QTRY_VERIFY(View(game->Handler()));
        QWidget* view = View(game->Handler());
        QTRY_VERIFY_WITH_TIMEOUT(wt::RunJs(view, QStringLiteral("window.__audio.peak")).toDouble() > 0.1,
                                 30000);
        QCOMPARE(wt::RunJs(view, QStringLiteral("window.__audio.state")).toString(),
                 QStringLiteral("running"));
    }

    void pageFullScreenIsTheGameWindows()
    {
        auto game = OpenGame(QStringLiteral("/extra/fullscreen.html"));
        QVERIFY(game);
        QTRY_VERIFY(View(game->Handler()));
        QWidget* view = View(game->Handler());
        QTRY_COMPARE(view->windowTitle(), QStringLiteral("fullscreen"));
        ClickPage(view);
        QTRY_COMPARE(view->windowTitle(), QStringLiteral("granted"));
        QTRY_VERIFY(game->IsFullScreen());
        QTRY_VERIFY(game->FullScreenBar());
        // The page leaves: so does the window.
        wt::RunJs(view, QStringLiteral("document.exitFullscreen()"));
        QTRY_VERIFY(!game->IsFullScreen());
        // The window leaves: so does the page.
        ClickPage(view);
        QTRY_VERIFY(game->IsFullScreen());
        game->ExitFullScreen();
        QTRY_COMPARE(view->windowTitle(), QStringLiteral("left"));
    }

    void loginWindowRefusesFullScreen()
    {
        wt::WriteIni("[Common]\ngameLoginUrl=" + wt::DemoUrl("/extra/fullscreen.html").toUtf8() + "\n");
        CDuiFormLogin login(QStringLiteral("FormLogin.xml"));
        QVERIFY(login.Create(nullptr, QString(), WS_VISIBLE | WS_EX_APPWINDOW));
        QTRY_VERIFY(View(g_pLoginHandler));
        QWidget* view = View(g_pLoginHandler);
        QTRY_COMPARE(view->windowTitle(), QStringLiteral("fullscreen"));
        ClickPage(view);
        QTRY_COMPARE(view->windowTitle(), QStringLiteral("refused"));
        QVERIFY(wt::RunJs(view, QStringLiteral("document.fullscreenElement === null")).toBool());
    }

    void pageSettingsWinKeyByKey()
    {
        auto game = OpenGame(QStringLiteral("/extra/title.html"));
        QVERIFY(game);
        QTRY_VERIFY(View(game->Handler()));
        QWidget* view = View(game->Handler());
        QTRY_VERIFY(view->windowTitle().startsWith(u"Title"));
        const QString config = QStringLiteral("JSON.stringify(window.RufflePlayer.config)");
        auto value = [&](const char* key) {
            return QJsonDocument::fromJson(wt::RunJs(view, config).toString().toUtf8())[QLatin1String(key)];
        };
        QCOMPARE(value("deviceFontRenderer").toString(), QStringLiteral("canvas"));
        // A page that sets the configuration object, then one that replaces RufflePlayer whole.
        wt::RunJs(view, QStringLiteral("window.RufflePlayer.config = {logLevel: 'warn'}"));
        QCOMPARE(value("logLevel").toString(), QStringLiteral("warn"));
        QCOMPARE(value("upgradeToHttps").toBool(), false);
        wt::RunJs(view, QStringLiteral("window.RufflePlayer = {config: {upgradeToHttps: true}}"));
        QCOMPARE(value("upgradeToHttps").toBool(), true);
        QCOMPARE(value("deviceFontRenderer").toString(), QStringLiteral("canvas"));
        QCOMPARE(value("splashScreen").toBool(), false);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestMoviePage)
#include "tst_moviepage.moc"
