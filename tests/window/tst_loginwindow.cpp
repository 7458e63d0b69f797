// The login window as the player first sees it: centred with the skin's size and the program's
// icon, with the login page pop-up kept over its browser area.
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/engine/Browser.h"
#include "platform/skin/WindowImplBase.h"
#include "ui/CDuiFormLogin.h"
#include "ui/CDuiFormLoginBrowser.h"

#include <QGuiApplication>
#include <QScreen>

class TestLoginWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void centredWithSkinSizeAndIcon()
    {
        wt::WriteIni("[Common]\ngameLoginUrl=" + wt::DemoUrl("/client/?gid=512").toUtf8() + "\n");
        CDuiFormLogin login(QStringLiteral("FormLogin.xml"));
        QVERIFY2(login.Create(nullptr, QString(), WS_VISIBLE | WS_EX_APPWINDOW),
                 qPrintable(login.LastError()));
        QWidget* wnd = login.GetHWND();
        QVERIFY(QTest::qWaitForWindowExposed(wnd));
        QCOMPARE(wnd->size(), QSize(764, 560));
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(wnd->frameGeometry().center(), work.center());
        QCOMPARE(wnd->windowType(), Qt::Window); // a taskbar entry of its own, no tool window
        QVERIFY(!wnd->windowIcon().isNull());
        QCOMPARE(wnd->windowIcon().cacheKey(), QGuiApplication::windowIcon().cacheKey());
        QVERIFY(!desktop::ProgramIcon().pixmap(32, 32).isNull());

        // The pop-up follows every move of the login window, over the browser area.
        CDuiFormLoginBrowser* popup = login.LoginBrowser();
        QVERIFY(popup && popup->GetHWND());
        QTRY_COMPARE(popup->GetHWND()->pos(), wnd->pos() + QPoint(38, 127));
        wnd->move(40, 30);
        QTRY_COMPARE(popup->GetHWND()->pos(), QPoint(78, 157));

        // Its browser is 688 x 398 on the login page.
        QTRY_VERIFY(g_pLoginHandler->GetBrowser() != nullptr);
        QCOMPARE(g_pLoginHandler->GetBrowser()->GetWindowHandle()->size(), QSize(688, 398));
        QTRY_COMPARE(g_pLoginHandler->GetBrowser()->GetURL().path(), QStringLiteral("/client/"));
        QTRY_COMPARE(g_pLoginHandler->GetBrowser()->GetWindowHandle()->windowTitle(),
                     QStringLiteral("登录 - Vantor"));
        QCOMPARE(wnd->windowTitle(), QString()); // the title stays on the browser's own widget
    }

    void popupOffsetsBeforeAndAfterAMove()
    {
        QWidget owner;
        owner.setGeometry(100, 80, 764, 560);
        owner.show();
        CDuiFormLoginBrowser popup(QStringLiteral("FormLoginBrowser.xml"));
        QVERIFY(popup.CreateAt(&owner, owner.frameGeometry()));
        QCOMPARE(popup.GetHWND()->pos(), owner.frameGeometry().topLeft() + QPoint(486, 190));
        popup.MoveTo(100, 80);
        QCOMPARE(popup.GetHWND()->pos(), QPoint(138, 207));
        QCOMPARE(popup.GetHWND()->windowTitle(), QStringLiteral("LoginBrowser"));
    }

    void loadUrlWithoutBrowserDoesNothing()
    {
        // Before its browser exists, a load request must neither crash nor queue anything: the
        // browser, once made, shows the login page and stays there.
        wt::WriteIni("[Common]\ngameLoginUrl=" + wt::DemoUrl("/client/?gid=512").toUtf8() + "\n");
        QVERIFY(!g_pLoginHandler->GetBrowser());
        CDuiFormLoginBrowser popup(QStringLiteral("FormLoginBrowser.xml"));
        popup.LoadUrl(wt::DemoUrl("/extra/title.html"));
        QWidget owner;
        owner.setGeometry(100, 80, 764, 560);
        owner.show();
        QVERIFY(popup.CreateAt(&owner, owner.frameGeometry()));
        QTRY_VERIFY(g_pLoginHandler->GetBrowser() != nullptr);
        QTRY_COMPARE(g_pLoginHandler->GetBrowser()->GetURL().path(), QStringLiteral("/client/"));
        QTest::qWait(500);
        QCOMPARE(g_pLoginHandler->GetBrowser()->GetURL().path(), QStringLiteral("/client/"));
        wt::WriteIni({});
    }
};

VANTOR_WINDOW_TEST_MAIN(TestLoginWindow)
#include "tst_loginwindow.moc"
