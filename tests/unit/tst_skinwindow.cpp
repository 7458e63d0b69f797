// Skinned windows built from the program's skin files: sizes, named controls, click routing,
// and clear errors for missing or broken skins.
#include "platform/skin/PaintManager.h"
#include "platform/skin/WindowImplBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

namespace {

class SkinWindow final : public WindowImplBase
{
public:
    explicit SkinWindow(QString skin) : m_skin(std::move(skin)) {}
    QString GetWindowClassName() const override { return QStringLiteral("XMLWnd"); }
    QString GetSkinFile() const override { return m_skin; }
    QString GetSkinFolder() const override { return {}; }
    void OnClick(TNotifyUI& msg) override
    {
        clicks << msg.GetName();
        WindowImplBase::OnClick(msg);
    }
    void OnSysCommand(SysCommand command) override
    {
        commands << command;
        WindowImplBase::OnSysCommand(command);
    }
    QWidget* CreateControl(const QString& className) override
    {
        askedClasses << className;
        return nullptr;
    }
    QStringList clicks;
    QList<SysCommand> commands;
    QStringList askedClasses;

private:
    QString m_skin;
};

void Click(WindowImplBase& wnd, const char* name)
{
    auto* button = qobject_cast<QAbstractButton*>(wnd.FindControl(QString::fromLatin1(name)));
    QVERIFY2(button, name);
    button->click();
}

} // namespace

class TestSkinWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { CPaintManagerUI::SetResourcePath(QStringLiteral(VANTOR_SKIN_DIR)); }

    void skinsHaveTheirSizesAndControls_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("login") << "FormLogin.xml" << QSize(764, 560)
                               << QStringList{"closebtn",    "minbtn",   "officialbtn",
                                              "rechargebtn", "forumbtn", "servicebtn"};
        QTest::newRow("login browser") << "FormLoginBrowser.xml" << QSize(688, 398) << QStringList{};
        QTest::newRow("game") << "FormGame.xml" << QSize(1250, 700)
                              << QStringList{"topBg",      "minbtn",      "maxbtn",       "restorebtn",
                                             "closebtn",   "officialbtn", "rechargebtn",  "forumbtn",
                                             "servicebtn", "bosskeybtn",  "fullscreenbtn"};
        QTest::newRow("full-screen bar")
            << "FormFullScreen.xml" << QSize(210, 34) << QStringList{"fullscreenbtn"};
    }

    void skinsHaveTheirSizesAndControls()
    {
        QFETCH(QString, skin);
        QFETCH(QSize, size);
        QFETCH(QStringList, controls);
        SkinWindow wnd(skin);
        QVERIFY2(wnd.Create(nullptr, QString(), 0), qPrintable(wnd.LastError()));
        QCOMPARE(wnd.GetHWND()->size(), size);
        for (const QString& name : controls)
            QVERIFY2(wnd.FindControl(name), qPrintable(name));
        QVERIFY(!wnd.FindControl(QStringLiteral("nosuchcontrol")));
        if (skin == u"FormGame.xml")
            QCOMPARE(wnd.FindControl(QStringLiteral("topBg"))->height(), 32);
        // Site buttons carry the platform's labels, from the skin.
        if (auto* b = qobject_cast<QAbstractButton*>(wnd.FindControl(QStringLiteral("rechargebtn"))))
            QCOMPARE(b->text(), QStringLiteral("充值"));
    }

    void loginSkinLeavesBrowserAreaFree()
    {
        SkinWindow wnd(QStringLiteral("FormLogin.xml"));
        QVERIFY(wnd.Create(nullptr, QString(), 0));
        const QRect area(38, 127, 688, 398);
        for (auto* button : wnd.GetHWND()->findChildren<QAbstractButton*>())
            QVERIFY2(!button->geometry().intersects(area), qPrintable(button->objectName()));
    }

    void clicksReachOnClickThenTheBase()
    {
        SkinWindow wnd(QStringLiteral("FormGame.xml"));
        QVERIFY(wnd.Create(nullptr, QString(), WS_VISIBLE));
        Click(wnd, "officialbtn");
        Click(wnd, "minbtn");
        Click(wnd, "maxbtn");
        QCOMPARE(wnd.clicks, (QStringList{"officialbtn", "minbtn", "maxbtn"}));
        QCOMPARE(wnd.commands, (QList<SysCommand>{SC_MINIMIZE, SC_MAXIMIZE}));
        QPointer<QWidget> host = wnd.GetHWND();
        Click(wnd, "closebtn");
        QTRY_VERIFY(host.isNull()); // "closebtn" destroys the window; the object lives on
        QVERIFY(!wnd.GetHWND());
        QCOMPARE(wnd.GetSkinFile(), QStringLiteral("FormGame.xml"));
    }

    void twoWindowsOfOneClass()
    {
        SkinWindow a(QStringLiteral("FormLogin.xml"));
        SkinWindow b(QStringLiteral("FormGame.xml"));
        QVERIFY(a.Create(nullptr, QString(), 0));
        QVERIFY(b.Create(a.GetHWND(), QString(), 0));
        QCOMPARE(a.GetWindowClassName(), b.GetWindowClassName());
        // One class, two windows: each has its own skin's controls, and the owned one goes with
        // its owner.
        QVERIFY(b.FindControl(QStringLiteral("bosskeybtn")));
        QVERIFY(!a.FindControl(QStringLiteral("bosskeybtn")));
        QVERIFY(a.FindControl(QStringLiteral("closebtn")) != b.FindControl(QStringLiteral("closebtn")));
        QPointer<QWidget> owned = b.GetHWND();
        a.Close();
        QTRY_VERIFY(owned.isNull());
    }

    void deletingTheObjectDestroysItsWindow()
    {
        auto* wnd = new SkinWindow(QStringLiteral("FormLogin.xml"));
        QVERIFY(wnd->Create(nullptr, QString(), WS_VISIBLE));
        QPointer<QWidget> host = wnd->GetHWND();
        delete wnd;
        QVERIFY(host.isNull());
        QCoreApplication::processEvents();
    }

    void designerEditedSkinLoads()
    {
        CPaintManagerUI::SetResourcePath(QStringLiteral(VANTOR_SOURCE_DIR "/tests/fixtures"));
        SkinWindow wnd(QStringLiteral("DesignerEdited.xml"));
        QVERIFY2(wnd.Create(nullptr, QString(), 0), qPrintable(wnd.LastError()));
        QCOMPARE(wnd.GetHWND()->size(), QSize(400, 300));
        QVERIFY(wnd.FindControl(QStringLiteral("closebtn")));
        // A control class the skin library doesn't know is offered to the window, then left out.
        QVERIFY(wnd.askedClasses.contains(QStringLiteral("FancyControlUI")));
    }

    void brokenSkinsGiveClearErrors_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("truncated") << QByteArray(
            "<?xml version=\"1.0\"?><ui version=\"4.0\"><widget class=\"QWidget\" name=\"F\"><property");
        QTest::newRow("not xml") << QByteArray("\x00\x01garbage", 9);
        QTest::newRow("no widget") << QByteArray("<ui version=\"4.0\"><class>F</class></ui>");
    }

    void brokenSkinsGiveClearErrors()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile f(dir.filePath("Broken.xml"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        CPaintManagerUI::SetResourcePath(dir.path());
        const int windowsBefore = QApplication::topLevelWidgets().size();
        SkinWindow wnd(QStringLiteral("Broken.xml"));
        QVERIFY(!wnd.Create(nullptr, QString(), WS_VISIBLE));
        QVERIFY2(wnd.LastError().contains(dir.filePath("Broken.xml")), qPrintable(wnd.LastError()));
        QVERIFY(!wnd.GetHWND());
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore); // no ghost window
    }

    void missingSkinFolder()
    {
        CPaintManagerUI::SetResourcePath(QStringLiteral("/nonexistent/skin"));
        SkinWindow wnd(QStringLiteral("FormLogin.xml"));
        QVERIFY(!wnd.Create(nullptr, QString(), WS_VISIBLE));
        QVERIFY2(wnd.LastError().contains(QStringLiteral("/nonexistent/skin/FormLogin.xml")),
                 qPrintable(wnd.LastError()));
    }
};

QTEST_MAIN(TestSkinWindow)
#include "tst_skinwindow.moc"
