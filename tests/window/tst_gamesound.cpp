// The game's sound, with a page that plays a tone: the mute buttons of the window and of the
// full-screen bar turn it off and on and show it, and while the boss key hides the game it is off,
// whatever the button says; back on the screen, the player's own choice holds again.
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/desktop/TrayIcon.h"
#include "platform/engine/Browser.h"
#include "ui/AppMessages.h"
#include "ui/CDuiFormFullScreen.h"
#include "ui/CDuiFormGame.h"

#include <QAbstractButton>
#include <QWebEngineView>

class TestGameSound final : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDuiFormGame> m_game;

    bool PageMuted() const { return m_game->Handler()->GetBrowser()->IsAudioMuted(); }
    bool ButtonChecked(WindowImplBase& window) const
    {
        return qobject_cast<QAbstractButton*>(window.FindControl(QStringLiteral("mutebtn")))->isChecked();
    }
    void BackFromTray()
    {
        QCoreApplication::postEvent(m_game->GetHWND(), new TrayIconEvent(desktop::TrayIcon::kLeftButtonUp));
        QTRY_VERIFY(m_game->GetHWND()->isVisible());
    }

private Q_SLOTS:
    void init()
    {
        m_game = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        QVERIFY(m_game->CreateFrame(nullptr, wt::DemoUrl(QStringLiteral("/extra/tone.html"))));
        m_game->ShowWindow(true, true);
        QTRY_VERIFY(wt::View(*m_game));
        QTRY_COMPARE(wt::RunJs(wt::View(*m_game), QStringLiteral("window.__tone && __tone()")).toString(),
                     QStringLiteral("running"));
        QVERIFY(!PageMuted());
    }

    void cleanup() { m_game.reset(); }

    void muteButtonTogglesAndShows()
    {
        auto* page = qobject_cast<QWebEngineView*>(wt::View(*m_game))->page();
        QTRY_VERIFY(page->recentlyAudible()); // the tone plays
        wt::ClickControl(*m_game, "mutebtn");
        QVERIFY(PageMuted());
        QVERIFY(ButtonChecked(*m_game));
        wt::ClickControl(*m_game, "mutebtn");
        QVERIFY(!PageMuted());
        QVERIFY(!ButtonChecked(*m_game));
    }

    void fullScreenBarMutesToo()
    {
        m_game->EnterFullScreen();
        QTRY_VERIFY(m_game->FullScreenBar());
        CDuiFormFullScreen& bar = *m_game->FullScreenBar();
        wt::ClickControl(bar, "mutebtn");
        QTRY_VERIFY(PageMuted());
        QVERIFY(ButtonChecked(bar));
        QVERIFY(ButtonChecked(*m_game));
        m_game->ExitFullScreen();
        QVERIFY(PageMuted()); // the player's choice outlasts the bar
    }

    void bossKeySilencesTheGame_data()
    {
        QTest::addColumn<bool>("playerMuted");
        QTest::newRow("sound on") << false;
        QTest::newRow("muted by the player") << true;
    }

    void bossKeySilencesTheGame()
    {
        QFETCH(bool, playerMuted);
        if (playerMuted)
            wt::ClickControl(*m_game, "mutebtn");
        wt::ClickControl(*m_game, "bosskeybtn");
        QTRY_VERIFY(!m_game->GetHWND()->isVisible());
        QVERIFY(PageMuted());
        QCOMPARE(ButtonChecked(*m_game), playerMuted); // the button keeps the player's choice
        BackFromTray();
        QCOMPARE(PageMuted(), playerMuted);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestGameSound)
#include "tst_gamesound.moc"
