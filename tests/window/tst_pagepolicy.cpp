// What a page may reach, as one table against the demo platform: local files, the program's own
// resources, the player's local network, the game marker and the desktop's scheme handlers. Each
// row names what must and must not reach the platform, which records every request.
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "ui/CDuiFormGame.h"
#include "ui/CDuiFormLogin.h"

#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>

namespace {

// A name that the test set-up maps to 127.0.0.1: a page under it is a public page as written.
const QString kPublicHost = QStringLiteral("game.test");

QStringList Get(const QString& path)
{
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(wt::DemoUrl(path))));
    (void)QTest::qWaitFor([&] { return reply->isFinished(); }, 5000);
    QStringList lines;
    for (const QJsonValue& entry : QJsonDocument::fromJson(reply->readAll()).array())
        lines << entry[0].toString() + u' ' + QUrl::fromPercentEncoding(entry[1].toString().toUtf8());
    delete reply;
    return lines;
}

} // namespace

class TestPagePolicy final : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDuiFormLogin> m_login;
    QTemporaryDir m_dir;
    QString m_secretPath;
    QString m_secret;

    std::shared_ptr<engine::Browser> LoginBrowser() { return g_pLoginHandler->GetBrowser(); }
    QWidget* LoginView() { return LoginBrowser() ? LoginBrowser()->GetWindowHandle() : nullptr; }

    QStringList Requests() { return Get(QStringLiteral("/requests")); }
    QStringList Hits(const QString& row)
    {
        return Requests().filter(QStringLiteral("/hit?row=") + row + u'&');
    }

    // The address of the policy page for a row, on the local platform or under the public name.
    QString PolicyUrl(const QString& row, bool publicHost)
    {
        QString base = wt::DemoUrl();
        if (publicHost)
            base.replace(QStringLiteral("127.0.0.1"), kPublicHost);
        // The row is in the query too: a new row is a new document, never a jump within one.
        return base + QStringLiteral("/extra/policy.html?row=") + row + QStringLiteral("&file=") +
               m_secretPath + u'#' + row;
    }

    QString WriteScript(const QString& name, const QByteArray& body)
    {
        return wt::WriteScript(m_dir, name, body);
    }

    QString Opened()
    {
        QFile f(m_dir.filePath(QStringLiteral("opened.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_secret = QStringLiteral("vantor-secret-%1").arg(QCoreApplication::applicationPid());
        m_secretPath = m_dir.filePath(QStringLiteral("secret.txt"));
        QFile f(m_secretPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(m_secret.toUtf8());
        f.close();
        // Whatever the desktop would be handed lands here instead.
        const QByteArray recorder = "echo \"$0 $*\" >> " + m_dir.filePath("opened.txt").toUtf8();
        qputenv("BROWSER", WriteScript(QStringLiteral("browser"), recorder).toUtf8());
        WriteScript(QStringLiteral("xdg-open"), recorder);
        qputenv("PATH", QByteArray(m_dir.path().toUtf8() + ":" + qgetenv("PATH")));
    }

    void init()
    {
        wt::WriteIni("[Common]\ngameLoginUrl=" + wt::DemoUrl("/extra/title.html").toUtf8() + "\n");
        m_login = std::make_unique<CDuiFormLogin>(QStringLiteral("FormLogin.xml"));
        QVERIFY(m_login->Create(nullptr, QString(), WS_VISIBLE | WS_EX_APPWINDOW));
        g_hWndLogin = m_login->GetHWND();
        QTRY_VERIFY(LoginView());
        QTRY_VERIFY(wt::PageText(LoginView()).contains("title"));
        Get(QStringLiteral("/requests?clear=1"));
    }
    void cleanup()
    {
        m_login.reset();
        QTRY_VERIFY(!g_pLoginHandler->GetBrowser());
        wt::WriteIni({});
    }

    void policy_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("publicHost");
        // Texts that must show up in the platform's request log, and texts that must not.
        QTest::addColumn<QStringList>("mustReach");
        QTest::addColumn<QStringList>("mustNotReach");
        QTest::addColumn<bool>("gameWindow");

        const QStringList noSecret{m_secret};
        QTest::newRow("file: iframe") << "file-frame" << false << QStringList() << noSecret << false;
        QTest::newRow("file: object") << "file-object" << false << QStringList() << noSecret << false;
        QTest::newRow("file: fetch") << "file-fetch" << false << QStringList{"failed="} << noSecret << false;
        QTest::newRow("file: XHR") << "file-xhr" << false << QStringList{"failed="} << noSecret << false;
        QTest::newRow("qrc: iframe") << "qrc-frame" << false << QStringList()
                                     << QStringList{"stopped unexpectedly"} << false;
        QTest::newRow("public page, loopback fetch")
            << "loopback-fetch" << true << QStringList{"done="} << QStringList{"reached=1"} << false;
        QTest::newRow("public page, localhost fetch")
            << "localhost-fetch" << true << QStringList{"done="} << QStringList{"reached=1"} << false;
        QTest::newRow("public page, loopback WebSocket")
            << "loopback-websocket" << true << QStringList{"done="} << QStringList{"reached=1"} << false;
        QTest::newRow("public page, loopback iframe")
            << "loopback-frame" << true << QStringList() << QStringList{"reached=1"} << false;
        QTest::newRow("loopback page, loopback fetch")
            << "loopback-fetch" << false << QStringList{"reached=1"} << QStringList() << false;
        QTest::newRow("marker in an http: address")
            << "marker-http" << false << QStringList() << QStringList() << true;
        QTest::newRow("marker in a sub-frame")
            << "marker-frame" << false << QStringList() << QStringList() << true;
        QTest::newRow("marker in a data: frame")
            << "marker-data" << false << QStringList() << QStringList() << false;
        QTest::newRow("marker in a javascript: link")
            << "marker-javascript" << false << QStringList() << QStringList() << false;
        QTest::newRow("marker in a file: address")
            << "file-location" << false << QStringList() << noSecret << false;
        QTest::newRow("permissions") << "permissions" << false
                                     << QStringList{"notifications=refused", "geolocation=refused",
                                                    "camera=refused",        "microphone=refused",
                                                    "screen=refused",        "clipboard=refused",
                                                    "mouselock=refused"}
                                     << QStringList{"=pending", "=granted"} << false;
    }

    void policy()
    {
        QFETCH(QString, row);
        QFETCH(bool, publicHost);
        QFETCH(QStringList, mustReach);
        QFETCH(QStringList, mustNotReach);
        QFETCH(bool, gameWindow);
        if (publicHost && QHostInfo::fromName(kPublicHost).addresses().isEmpty())
            QSKIP("game.test does not resolve here; scripts/headless.sh maps it when run as root");

        LoginBrowser()->LoadURL(PolicyUrl(row, publicHost));
        QTRY_VERIFY_WITH_TIMEOUT(!Hits(row).filter("ran=1").isEmpty(), 10000);
        for (const QString& text : mustReach)
            QTRY_VERIFY2_WITH_TIMEOUT(!Hits(row).filter(text).isEmpty(), qPrintable(text), 10000);
        if (gameWindow)
            QTRY_VERIFY_WITH_TIMEOUT(m_login->GameWindow(), 10000);
        QTest::qWait(1500); // what is refused might still be on its way
        const QStringList requests = Requests();
        for (const QString& text : mustNotReach)
            QVERIFY2(requests.filter(text).isEmpty(), qPrintable(requests.filter(text).join(u'\n')));
        QCOMPARE(m_login->GameWindow() != nullptr, gameWindow);
        if (row == u"marker-javascript") // the link still runs as a script of its page
            QTRY_COMPARE(LoginView()->windowTitle(), QStringLiteral("sid=1 ran"));
        if (row == u"file-location") {
            const QString text = wt::PageText(LoginView());
            QVERIFY2(text.contains("Failed to load URL") && !text.contains(m_secret), qPrintable(text));
        }
    }

    void refusedRedirectShowsTheErrorPage()
    {
        LoginBrowser()->LoadURL(wt::DemoUrl("/redirect?to=file://") + m_secretPath);
        QTRY_VERIFY_WITH_TIMEOUT(wt::PageText(LoginView()).contains("Failed to load URL"), 10000);
        QVERIFY(!wt::PageText(LoginView()).contains(m_secret));
    }

    void otherSchemesNeverReachTheDesktop()
    {
        // A player's click on the link: the engine would hand a clicked link of another scheme to
        // the desktop. Nothing happens, and the page stays.
        for (const char* row : {"mailto", "desktop-scheme"}) {
            LoginBrowser()->LoadURL(PolicyUrl(QString::fromLatin1(row), false));
            QTRY_VERIFY_WITH_TIMEOUT(!Hits(QString::fromLatin1(row)).filter("ran=1").isEmpty(), 10000);
            QTest::qWait(300);
            QWidget* target = LoginView()->focusProxy() ? LoginView()->focusProxy() : LoginView();
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(100, 100));
            QTest::qWait(1500);
            QVERIFY(wt::PageText(LoginView()).contains("policy"));
        }
        QCOMPARE(Opened(), QString());
    }

    void operatorFilePageLoads()
    {
        // A file: page of the operator's own, from the settings, loads; what it then asks for
        // follows the same rules.
        const QString page = m_dir.filePath(QStringLiteral("login.html"));
        QFile f(page);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<html><head><title>operator page</title></head><body>operator page</body></html>");
        f.close();
        LoginBrowser()->LoadURL(QUrl::fromLocalFile(page).toString());
        QTRY_VERIFY_WITH_TIMEOUT(wt::PageText(LoginView()).contains("operator page"), 10000);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestPagePolicy)
#include "tst_pagepolicy.moc"
