// The site buttons open their addresses in the user's browser, through the desktop, and fall
// back to a browser command when the desktop can't open them.
#include "WindowTest.h"
#include "settings/Settings.h"
#include "ui/CDuiFormLogin.h"

#include <QAbstractButton>
#include <QDir>
#include <QTemporaryDir>

class TestSiteButtons final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_record;

    QString WriteScript(const QString& name, const QByteArray& body)
    {
        return wt::WriteScript(m_dir, name, body);
    }

    QStringList Recorded()
    {
        QFile f(m_record);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    void ClickAll(CDuiFormLogin& login)
    {
        for (const char* name : {"officialbtn", "rechargebtn", "forumbtn", "servicebtn"}) {
            auto* button = qobject_cast<QAbstractButton*>(login.FindControl(QString::fromLatin1(name)));
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_record = m_dir.filePath("opened.txt");
        wt::WriteIni("[Common]\nofficial=http://site.test/official\nrecharge=http://site.test/pay?x=1&y=2\n"
                     "forum=http://site.test/forum\n");
    }
    void init() { QFile::remove(m_record); }

    void buttonsOpenTheirAddresses()
    {
        // xdg-open hands addresses to $BROWSER when no desktop is running.
        qputenv("BROWSER", WriteScript("browser", "echo \"browser $1\" >> " + m_record.toUtf8()).toUtf8());
        CDuiFormLogin login(QStringLiteral("FormLogin.xml"));
        QVERIFY(login.Create(nullptr, QString(), WS_VISIBLE));
        ClickAll(login);
        QTRY_COMPARE_WITH_TIMEOUT(Recorded().size(), 4, 10000);
        QStringList opened = Recorded();
        opened.sort();
        // "service" is not in the settings file: the platform's home page is its default.
        QStringList expected{"browser http://site.test/official", "browser http://site.test/pay?x=1&y=2",
                             "browser http://site.test/forum", "browser " + DefaultHomeUrl()};
        expected.sort();
        QCOMPARE(opened, expected);
        qunsetenv("BROWSER");
    }

    void onlyWebAddressesLeaveTheProgram()
    {
        wt::WriteIni("[Common]\nofficial=-x\nrecharge=file:///etc/passwd\nforum=javascript:alert(1)\n"
                     "service=http://site.test/?a=$(touch " +
                     m_dir.filePath("ran").toUtf8() + ")\n");
        qputenv("BROWSER", WriteScript("browser", "echo \"browser $1\" >> " + m_record.toUtf8()).toUtf8());
        CDuiFormLogin login(QStringLiteral("FormLogin.xml"));
        QVERIFY(login.Create(nullptr, QString(), WS_VISIBLE));
        ClickAll(login);
        QTRY_COMPARE_WITH_TIMEOUT(Recorded().size(), 1, 10000);
        QTest::qWait(500);
        QCOMPARE(Recorded(),
                 QStringList{"browser http://site.test/?a=$(touch%20" +
                             QString::fromUtf8(QUrl::toPercentEncoding(m_dir.filePath("ran"), "/")) + ")"});
        QVERIFY(!QFile::exists(m_dir.filePath("ran")));
        qunsetenv("BROWSER");
        initTestCase();
    }

    void fallbackWhenTheDesktopFails()
    {
        WriteScript("xdg-open", "exit 3");
        WriteScript("x-www-browser", "echo \"fallback $1\" >> " + m_record.toUtf8());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray(m_dir.path().toUtf8() + ":" + path));
        CDuiFormLogin login(QStringLiteral("FormLogin.xml"));
        QVERIFY(login.Create(nullptr, QString(), WS_VISIBLE));
        QTest::mouseClick(qobject_cast<QAbstractButton*>(login.FindControl("forumbtn")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Recorded(), QStringList{"fallback http://site.test/forum"}, 10000);
        qputenv("PATH", path);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestSiteButtons)
#include "tst_sitebuttons.moc"
