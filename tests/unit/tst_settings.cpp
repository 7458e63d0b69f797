// The settings file is the one beside the executable, read anew on every call, never written.
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestSettings final : public QObject
{
    Q_OBJECT

    QString m_ini;

    void WriteIni(const QByteArray& content)
    {
        QFile f(m_ini);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_ini = QCoreApplication::applicationDirPath() + QStringLiteral("/Vantor.ini");
        QFile::remove(m_ini);
        // Whatever the working directory, the file beside the executable counts.
        QTemporaryDir elsewhere;
        QDir::setCurrent(elsewhere.path());
    }
    void cleanup() { QFile::remove(m_ini); }

    void folderIsTheExecutables()
    {
        QCOMPARE(GetAppFolder(), QCoreApplication::applicationDirPath() + u'/');
        QCOMPARE(GetIniFilePath(), m_ini);
    }

    void defaultsWithoutFile()
    {
        QCOMPARE(ReadIniString("Common", "gameparam", "sid="), QStringLiteral("sid="));
        QCOMPARE(ReadIniString("Common", "gotoLoginPage", "0"), QStringLiteral("0"));
        QCOMPARE(ReadIniInt("Config", "FullScreenHotKey", 27), 27);
        QCOMPARE(ReadIniInt("Config", "BossHotKey", 120), 120);
        QVERIFY(DefaultLoginUrl().contains(QStringLiteral("/client/?gid=512")));
    }

    void readsAnewAndNeverWrites()
    {
        WriteIni("[Common]\nofficial=http://a/\ngotoLoginPage=0\n");
        QCOMPARE(ReadIniString("Common", "official", DefaultHomeUrl()), QStringLiteral("http://a/"));
        QCOMPARE(ReadIniString("Common", "forum", "http://home/"), QStringLiteral("http://home/"));
        const QByteArray edited = "[Common]\ngotoLoginPage=1\n[Config]\nBossHotKey=0x41\n";
        WriteIni(edited);
        QCOMPARE(ReadIniString("Common", "gotoLoginPage", "0"), QStringLiteral("1"));
        QCOMPARE(ReadIniInt("Config", "BossHotKey", 120), 0x41);
        QFile f(m_ini);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), edited);
    }

    void explicitPath()
    {
        QTemporaryDir dir;
        const QString other = dir.filePath("other.ini");
        QFile f(other);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Common]\nk=other\n");
        f.close();
        QCOMPARE(ReadIniString("Common", "k", "d", other), QStringLiteral("other"));
        QVERIFY(!QFileInfo::exists(m_ini));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
