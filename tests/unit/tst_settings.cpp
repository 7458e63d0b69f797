// The settings file is the one beside the executable, read anew on every call, never written.
#include "platform/desktop/ProgramFolder.h"
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

    void typedReaders()
    {
        // Defaults with no file, then each reader's own key, read anew.
        QFile::remove(m_ini);
        QCOMPARE(settings::GameMarker(), QStringLiteral("sid="));
        QCOMPARE(settings::GameLoginUrl(), DefaultLoginUrl());
        QCOMPARE(settings::ForumUrl(), DefaultHomeUrl());
        QCOMPARE(settings::BossHotKey(), std::optional(QKeyCombination(Qt::Key_F9)));
        QCOMPARE(settings::FullScreenHotKey(), std::optional(QKeyCombination(Qt::Key_Escape)));
        QVERIFY(!settings::KeepLogin());
        QVERIFY(settings::FlashSockets().isEmpty());

        WriteIni("[Common]\ngameparam=token=\nservice=http://s/\ngotoLoginPage=1\n"
                 "[Config]\nBossHotKey=27\nFullScreenHotKey=0x11000041\nKeepLogin=1\n"
                 "[Flash]\nSockets=game.test:8000-8001\n");
        QCOMPARE(settings::GameMarker(), QStringLiteral("token="));
        QCOMPARE(settings::ServiceUrl(), QStringLiteral("http://s/"));
        QCOMPARE(settings::OfficialUrl(), DefaultHomeUrl());
        QCOMPARE(settings::GotoLoginPage(), QStringLiteral("1"));
        QCOMPARE(settings::BossHotKey(), std::nullopt); // Escape is never the boss key
        QCOMPARE(settings::FullScreenHotKey(), std::optional(Qt::ControlModifier | Qt::Key_A));
        QVERIFY(settings::KeepLogin());
        QCOMPARE(settings::FlashSockets().size(), 2);

        WriteIni("[Config]\nKeepLogin=yes\n");
        QVERIFY(!settings::KeepLogin());
    }

    void readmeListsEverySetting()
    {
        // The README's settings table and the code's table name the same entries in the same
        // order, with the same literal defaults.
        QFile readme(QStringLiteral(VANTOR_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype start = text.indexOf(QStringLiteral("## Settings: `Vantor.ini`"));
        QVERIFY(start >= 0);
        QList<QStringList> rows;
        const QStringList lines = text.mid(start).split(u'\n');
        for (qsizetype i = 1; i < lines.size() && !lines[i].startsWith(u"## "); ++i) {
            if (lines[i].startsWith(u"| `"))
                rows << lines[i].split(u'|').mid(1);
        }
        const QList<settings::Entry>& entries = settings::Entries();
        QCOMPARE(rows.size(), entries.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const settings::Entry& entry = entries[i];
            QCOMPARE(rows[i][0].trimmed(), u'`' + entry.section + u'`');
            QCOMPARE(rows[i][1].trimmed(), u'`' + entry.key + u'`');
            if (!entry.defaultValue.isEmpty() && !entry.defaultValue.contains(u"://"))
                QVERIFY2(rows[i][2].trimmed().startsWith(u'`' + entry.defaultValue + u'`'),
                         qPrintable(entry.key));
        }
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
