// Full screen, the system-wide hot keys, the boss key and the tray icon, with real key presses
// and clicks through XTest and trayer as the notification area.
#include "WindowTest.h"
#include "browser/EnterGameEvent.h"
#include "browser/SimpleHandler.h"
#include "platform/desktop/Screen.h"
#include "platform/engine/Browser.h"
#include "ui/AppMessages.h"
#include "ui/CDuiFormFullScreen.h"
#include "ui/CDuiFormGame.h"

#include <QAbstractButton>
#include <QProcess>
#include <QScopeGuard>
#include <QSystemTrayIcon>

namespace {

using wt::Click;
using wt::Run;
using wt::View;

void Key(const char* name)
{
    Run("xdotool", {"key", QString::fromLatin1(name)});
}

// Another program trying to take the keys.
bool OthersCanGrab(const QStringList& keys)
{
    return Run(QStringLiteral(VANTOR_BUILD_DIR "/tests/vantor-keygrab"), keys) == 0;
}

// The key code that carries a keysym now, from the server's keyboard map; 0 when none.
int KeycodeOf(const QString& keysym)
{
    QProcess p;
    p.start("xmodmap", {"-pke"});
    p.waitForFinished(10000);
    for (const QString& line : QString::fromLatin1(p.readAllStandardOutput()).split(u'\n')) {
        const QStringList words = line.simplified().split(u' ');
        if (words.size() > 3 && words[0] == u"keycode" && words[3] == keysym)
            return words[1].toInt();
    }
    return 0;
}

QWidget* TrayIconWidget()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && QByteArray(w->metaObject()->className()).contains("SystemTrayIcon"))
            return w;
    return nullptr;
}

} // namespace

class TestFullScreen final : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDuiFormGame> m_game;

    // F9 hides the game window and brings it back.
    void BossKeyHidesAndShows()
    {
        QWidget* wnd = m_game->GetHWND();
        Key("F9");
        QTRY_VERIFY(!wnd->isVisible());
        Key("F9");
        QTRY_VERIFY(wnd->isVisible());
    }

    void Press(const char* name)
    {
        auto* button = qobject_cast<QAbstractButton*>(m_game->FindControl(QString::fromLatin1(name)));
        QVERIFY2(button, name);
        Click(button->mapToGlobal(button->rect().center()));
    }

private Q_SLOTS:
    void init()
    {
        m_game = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        QVERIFY(m_game->CreateFrame(nullptr, wt::DemoUrl("/extra/title.html")));
        QVERIFY(QTest::qWaitForWindowExposed(m_game->GetHWND()));
        QTRY_VERIFY(View(*m_game));
    }
    void cleanup()
    {
        m_game.reset();
        wt::WriteIni({});
    }

    void bossKeyAndTrayIcon()
    {
        QVERIFY(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 5000));
        QWidget* wnd = m_game->GetHWND();
        Key("F9");
        QTRY_VERIFY(!wnd->isVisible());
        QTRY_VERIFY(TrayIconWidget());
        QVERIFY(m_game->IsBossHidden());
        // The layout shows the window: activations while hidden must not run it.
        QCoreApplication::postEvent(wnd, new QEvent(WM_ACTIVATE));
        QTest::qWait(300);
        QVERIFY(!wnd->isVisible());
        Key("F9");
        QTRY_VERIFY(wnd->isVisible());
        QTRY_VERIFY(!TrayIconWidget());

        // A minimised game hides too, and the boss key brings it back ready to play.
        Press("minbtn");
        QTRY_VERIFY(wnd->isMinimized());
        Key("F9");
        QTRY_VERIFY(!wnd->isVisible());
        Key("F9");
        QTRY_VERIFY(wnd->isVisible() && !wnd->isMinimized());
        QTRY_VERIFY(!TrayIconWidget());

        Press("bosskeybtn");
        QTRY_VERIFY(!wnd->isVisible());
        QTRY_VERIFY(TrayIconWidget());
        // The icon is embedded in the tray host's window: ask the X server where it really is.
        QProcess where;
        where.start("xdotool", {"getwindowgeometry", "--shell", QString::number(TrayIconWidget()->winId())});
        QVERIFY(where.waitForFinished(5000));
        QMap<QString, int> geometry;
        for (const QString& line :
             QString::fromLatin1(where.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
            geometry[line.section(u'=', 0, 0)] = line.section(u'=', 1).toInt();
        const QPoint centre(geometry["X"] + geometry["WIDTH"] / 2, geometry["Y"] + geometry["HEIGHT"] / 2);
        Click(centre, 3); // the icon has no menu: a right click does nothing
        QTest::qWait(500);
        QVERIFY(!wnd->isVisible());
        Click(centre, 1);
        QTRY_VERIFY(wnd->isVisible());
        QVERIFY(!m_game->IsBossHidden());
        QTRY_VERIFY(!TrayIconWidget());
    }

    void bossKeyFollowsAKeyboardMappingChange()
    {
        // F9 moves to another key, as a layout switch or xmodmap would move it.
        const int old = KeycodeOf("F9");
        const int spare = 250;
        QVERIFY(old > 0);
        QCOMPARE(Run("xmodmap", {"-e", QStringLiteral("keycode %1 = F9").arg(spare), "-e",
                                 QStringLiteral("keycode %1 =").arg(old)}),
                 0);
        auto restore = qScopeGuard([&] {
            Run("xmodmap", {"-e", QStringLiteral("keycode %1 =").arg(spare), "-e",
                            QStringLiteral("keycode %1 = F9").arg(old)});
        });
        QTRY_COMPARE(KeycodeOf("F9"), spare);
        QTest::qWait(300); // the server's mapping notice reaches the program
        BossKeyHidesAndShows();
    }

    void bossKeyWithNumLockOnAnotherModifier()
    {
        // A desktop that puts NumLock on Mod3, with NumLock on: the lock bit comes from the
        // server's modifier map, not from the usual Mod2.
        QCOMPARE(Run("xmodmap", {"-e", "clear mod2", "-e", "add mod3 = Num_Lock"}), 0);
        Key("Num_Lock");
        auto restore = qScopeGuard([] {
            Key("Num_Lock");
            Run("xmodmap", {"-e", "clear mod3", "-e", "add mod2 = Num_Lock"});
        });
        QTest::qWait(300); // the server's mapping notice reaches the program
        BossKeyHidesAndShows();
    }

    void aWindowThatGoesLeavesItsSuccessorsKeys()
    {
        // Returning and entering again quickly: the old game window may go after the new one has
        // taken the keys.
        auto next = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        QVERIFY(next->CreateFrame(nullptr, wt::DemoUrl("/extra/title.html")));
        QVERIFY(QTest::qWaitForWindowExposed(next->GetHWND()));
        m_game.reset();
        m_game = std::move(next);
        BossKeyHidesAndShows();
    }

    void fullScreenAndItsBar()
    {
        QWidget* wnd = m_game->GetHWND();
        const QRect screen = desktop::ScreenRect();
        QVERIFY(OthersCanGrab({"Escape"})); // not taken while the game is in a window
        Press("fullscreenbtn");
        QTRY_VERIFY(m_game->IsFullScreen());
        QTRY_COMPARE(wnd->geometry(), screen);
        QTRY_COMPARE(View(*m_game)->geometry(), QRect(QPoint(0, 0), screen.size()));
        CDuiFormFullScreen* bar = m_game->FullScreenBar();
        QVERIFY(bar && bar->GetHWND());
        QCOMPARE(bar->GetHWND()->pos(), QPoint(screen.width() / 2 - 105, 0));
        QVERIFY(bar->GetHWND()->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(bar->GetHWND()->windowType(), Qt::Tool); // no taskbar entry
        QVERIFY(!bar->GetHWND()->isActiveWindow());       // the keyboard stays with the game

        // Three seconds later it slides up, leaving one pixel row.
        QTRY_COMPARE_WITH_TIMEOUT(bar->GetHWND()->geometry(), QRect((screen.width() - 210) / 2, -33, 210, 34),
                                  5000);
        Run("xdotool", {"mousemove", QString::number(screen.width() / 2), "0"});
        QTRY_COMPARE(bar->GetHWND()->y(), -1);
        // Moves while it is shown don't keep it: it goes again three seconds after it came.
        QElapsedTimer shown;
        shown.start();
        for (int i = 0; i < 8; ++i) {
            Run("xdotool", {"mousemove", QString::number(screen.width() / 2 - 20 + 5 * i), "10"});
            QTest::qWait(250);
        }
        QTRY_COMPARE_WITH_TIMEOUT(bar->GetHWND()->y(), -33, 3000);
        QVERIFY(shown.elapsed() < 4500);

        Key("Escape");
        QTRY_VERIFY(!m_game->IsFullScreen());
        QTRY_COMPARE(wnd->size(), QSize(1250, 700));
        QVERIFY(!m_game->FullScreenBar());
        QTRY_COMPARE(View(*m_game)->geometry(), QRect(2, 32, 1247, 666));
        QVERIFY(OthersCanGrab({"Escape"})); // given back
    }

    void fullScreenBelowATopPanel()
    {
        // A panel reserves the top 40 pixels: the work area starts below it, full screen doesn't.
        const QRect screen = desktop::ScreenRect();
        Run("xprop", {"-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA",
                      QStringLiteral("0, 40, %1, %2").arg(screen.width()).arg(screen.height() - 40)});
        auto restore = qScopeGuard([] { Run("xprop", {"-root", "-remove", "_NET_WORKAREA"}); });
        QTRY_COMPARE(desktop::WorkArea().top(), 40);
        Press("fullscreenbtn");
        QTRY_VERIFY(m_game->IsFullScreen());
        QTRY_COMPARE(m_game->GetHWND()->geometry(), screen);
        QTRY_COMPARE(View(*m_game)->geometry(), QRect(QPoint(0, 0), screen.size()));
        Key("Escape");
        QTRY_VERIFY(!m_game->IsFullScreen());
    }

    void barButtonLeavesAndMaximisedComesBack()
    {
        QWidget* wnd = m_game->GetHWND();
        Press("maxbtn");
        QTRY_VERIFY(wnd->isMaximized());
        m_game->ExitFullScreen(); // not in full screen: nothing happens
        QVERIFY(wnd->isMaximized());
        QVERIFY(wnd->width() > 0 && wnd->height() > 0);
        Press("fullscreenbtn");
        QTRY_VERIFY(m_game->IsFullScreen());
        QTRY_VERIFY(m_game->FullScreenBar());
        auto* exit = qobject_cast<QAbstractButton*>(m_game->FullScreenBar()->FindControl("fullscreenbtn"));
        QVERIFY(exit);
        Click(exit->mapToGlobal(exit->rect().center()));
        QTRY_VERIFY(!m_game->IsFullScreen());
        QTRY_VERIFY(wnd->isMaximized());
    }

    void keysAreGivenBackWhenTheWindowGoes()
    {
        QVERIFY(!OthersCanGrab({"F9"})); // the boss key is taken while the game window exists
        Press("fullscreenbtn");
        QTRY_VERIFY(m_game->IsFullScreen());
        QVERIFY(!OthersCanGrab({"Escape"}));
        QPointer<QWidget> wnd = m_game->GetHWND();
        // In full screen the game covers the top bar; the button is pressed for the player.
        qobject_cast<QAbstractButton*>(m_game->FindControl("closebtn"))->click();
        QTRY_VERIFY(wnd.isNull());
        QVERIFY(OthersCanGrab({"F9", "Escape"}));
        QVERIFY(!TrayIconWidget());
    }

    void otherHotKeysFromTheSettings()
    {
        m_game.reset();
        // Ctrl+B as the boss key; F12 leaves full screen.
        wt::WriteIni("[Config]\nBossHotKey=0x11000042\nFullScreenHotKey=123\n");
        init();
        QVERIFY(OthersCanGrab({"F9"}));
        Key("ctrl+b");
        QTRY_VERIFY(!m_game->GetHWND()->isVisible());
        Key("ctrl+b");
        QTRY_VERIFY(m_game->GetHWND()->isVisible());
        Press("fullscreenbtn");
        QTRY_VERIFY(m_game->IsFullScreen());
        Key("F12");
        QTRY_VERIFY(!m_game->IsFullScreen());
    }
};

VANTOR_WINDOW_TEST_MAIN(TestFullScreen)
#include "tst_fullscreen.moc"
