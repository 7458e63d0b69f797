// The settings reader's rules and its bad inputs, as one table each for text and integers.
#include "platform/profile/ProfileReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace profile;

namespace {

QByteArray Utf16WithBom(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

QByteArray Gbk()
{
    // "区服" is 0xC7F8 0xB7FE in GBK; spelled out so the test doesn't need a converter.
    return QByteArray("[Common]\nname=\xC7\xF8\xB7\xFE\n");
}

} // namespace

class TestProfile final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Write(const QByteArray& bytes)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QStringLiteral("f%1.ini").arg(++n));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

private Q_SLOTS:
    void readString_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString d = QStringLiteral("DEF");
        const QString c = QStringLiteral("Common");
        QTest::newRow("plain") << QByteArray("[Common]\nforum=http://f/\n") << c << "forum"
                               << "http://f/";
        QTest::newRow("names ignore case") << QByteArray("[COMMON]\nFoRuM=x\n") << "common"
                                           << "forum"
                                           << "x";
        QTest::newRow("white space trimmed")
            << QByteArray("  [ Common ]  \n  forum   =   a b  \r\n") << c << "forum"
            << "a b";
        QTest::newRow("double quotes") << QByteArray("[Common]\nk=\" spaced \"\n") << c << "k"
                                       << " spaced ";
        QTest::newRow("single quotes") << QByteArray("[Common]\nk='q'\n") << c << "k"
                                       << "q";
        QTest::newRow("unmatched quote kept") << QByteArray("[Common]\nk=\"open\n") << c << "k"
                                              << "\"open";
        QTest::newRow("equals in value") << QByteArray("[Common]\nk=a=b\n") << c << "k"
                                         << "a=b";
        QTest::newRow("empty value") << QByteArray("[Common]\nk=\n") << c << "k"
                                     << "";
        QTest::newRow("first key wins") << QByteArray("[Common]\nk=1\nk=2\n") << c << "k"
                                        << "1";
        QTest::newRow("first section wins") << QByteArray("[Common]\na=1\n[Common]\nk=2\n") << c << "k" << d;
        QTest::newRow("key in other section") << QByteArray("[Config]\nk=1\n") << c << "k" << d;
        QTest::newRow("missing key") << QByteArray("[Common]\nofficial=x\n") << c << "forum" << d;
        QTest::newRow("comments and junk")
            << QByteArray("; k=no\n[Common]\n#k=no\njunk line\n=nokey\nk=yes\n") << c << "k"
            << "yes";
        QTest::newRow("key before any section") << QByteArray("k=1\n[Common]\n") << c << "k" << d;
        QTest::newRow("long value cut")
            << ("[Common]\nk=" + QByteArray(5000, 'x') + "\n") << c << "k" << QString(4095, u'x');
        QTest::newRow("utf-8") << QByteArray("[Common]\nname=区服\n") << c << "name"
                               << "区服";
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF[Common]\nname=区服\n") << c << "name"
                                   << "区服";
        QTest::newRow("utf-16le bom")
            << Utf16WithBom(QStringLiteral("[Common]\r\nname=区服\r\n")) << c << "name"
            << "区服";
        QTest::newRow("gbk") << Gbk() << c << "name"
                             << "区服";
        QTest::newRow("utf-16 without bom")
            << Utf16WithBom(QStringLiteral("[Common]\nk=v\n")).mid(2) << c << "k" << d;
        QTest::newRow("binary") << QByteArray("\x00\x01\x02[Common]\nk=v\x00\xff", 16) << c << "k" << d;
        QTest::newRow("empty file") << QByteArray() << c << "k" << d;
    }

    void readString()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(ReadProfileString(section, key, QStringLiteral("DEF"), Write(content)), expected);
    }

    void badFiles()
    {
        const QString def = QStringLiteral("DEF");
        QCOMPARE(ReadProfileString("Common", "k", def, m_dir.filePath("missing.ini")), def);
        QDir(m_dir.path()).mkdir("dir.ini");
        QCOMPARE(ReadProfileString("Common", "k", def, m_dir.filePath("dir.ini")), def);

        // A named pipe would block a reader that opens it: it must read as empty at once.
        const QString fifo = m_dir.filePath("pipe.ini");
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ReadProfileString("Common", "k", def, fifo), def);
        QVERIFY(timer.elapsed() < 1000);

        QByteArray huge("[Common]\nk=v\n");
        huge.append(QByteArray(kMaxFileSize, ';'));
        QCOMPARE(ReadProfileString("Common", "k", def, Write(huge)), def);

        const QString locked = Write("[Common]\nk=v\n");
        QFile::setPermissions(locked, QFileDevice::Permissions());
        if (geteuid() != 0) // root reads it all the same
            QCOMPARE(ReadProfileString("Common", "k", def, locked), def);
        QCOMPARE(ReadProfileInt("Common", "k", 7, m_dir.filePath("missing.ini")), 7);
    }

    // The worst shapes of a file at the size bound still read; one byte more reads as empty.
    void sizeBound_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("filler");
        const QByteArray ascii("[Common]\nk=v\n");
        QByteArray utf16("\xFF\xFE");
        for (char c : ascii)
            utf16.append(c).append('\0');
        QTest::newRow("only line breaks") << ascii << QByteArray("\n");
        QTest::newRow("only 0xFF bytes") << ascii << QByteArray("\xFF");
        QTest::newRow("UTF-16 line breaks") << utf16 << QByteArray("\n\0", 2);
    }
    void sizeBound()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, filler);
        QByteArray bytes = head;
        while (bytes.size() < kMaxFileSize)
            bytes.append(filler);
        bytes.truncate(kMaxFileSize);
        QCOMPARE(ReadProfileString("Common", "k", "def", Write(bytes)), QStringLiteral("v"));
        bytes.append(filler.left(1));
        QCOMPARE(ReadProfileString("Common", "k", "def", Write(bytes)), QStringLiteral("def"));
    }

    void readInt_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("120") << 120;
        QTest::newRow("hex") << QByteArray("0x1B") << 27;
        QTest::newRow("hex capital") << QByteArray("0X1b") << 27;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("plus") << QByteArray("+7") << 7;
        QTest::newRow("trailing junk") << QByteArray("12abc") << 12;
        QTest::newRow("no digits") << QByteArray("abc") << 0;
        QTest::newRow("empty gives default") << QByteArray("") << 99;
        QTest::newRow("quoted") << QByteArray("\"65\"") << 65;
        QTest::newRow("wraps to 32 bits") << QByteArray("4294967295") << -1;
        QTest::newRow("ctrl+shift+alt+a") << QByteArray("0x11101241") << 0x11101241;
    }

    void readInt()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        QCOMPARE(ReadProfileInt("Config", "key", 99, Write("[Config]\nkey=" + value + "\n")), expected);
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
