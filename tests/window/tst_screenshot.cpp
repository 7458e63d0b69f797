// Screenshots of the game: the "截图" button saves what the game view shows, at its device pixels,
// as a PNG in the pictures folder that the desktop's user-dirs.dirs names, under Vantor/, by date
// and time and never over another file; a folder that can't be written gives a message and no file.
#include "TestHttpServer.h"
#include "WindowTest.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "ui/CDuiFormGame.h"
#include "ui/Screenshot.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

class TestScreenshot final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TestHttpServer m_server;
    std::unique_ptr<CDuiFormGame> m_game;

    QString Pictures() const { return m_dir.filePath(QStringLiteral("图片")); }
    QStringList Saved() const
    {
        return QDir(Pictures() + QStringLiteral("/Vantor")).entryList({QStringLiteral("*.png")}, QDir::Files);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The desktop's own pictures folder, as xdg-user-dirs writes it.
        QDir().mkpath(m_dir.filePath(QStringLiteral("config")));
        QFile dirs(m_dir.filePath(QStringLiteral("config/user-dirs.dirs")));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_PICTURES_DIR=\"" + Pictures().toUtf8() + "\"\n");
        dirs.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        QCOMPARE(Screenshot::Folder(), Pictures() + QStringLiteral("/Vantor"));

        // A game whose left half is orange and right half blue.
        m_server.body = "<!DOCTYPE html><body style='margin:0;background:#2050c0'>"
                        "<div style='width:50vw;height:100vh;background:#f09020'></div><title>drawn</title>";
        m_game = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        QVERIFY(m_game->CreateFrame(nullptr, m_server.Url(QStringLiteral("/game/?sid=1"))));
        m_game->ShowWindow(true, true);
        QTRY_VERIFY(wt::View(*m_game));
        QTRY_COMPARE(wt::RunJs(wt::View(*m_game), QStringLiteral("document.title")).toString(),
                     QStringLiteral("drawn"));
        QTest::qWait(500); // painted
    }

    void cleanupTestCase() { m_game.reset(); }

    void buttonSavesWhatTheViewShows()
    {
        wt::ClickControl(*m_game, "screenshotbtn");
        QCOMPARE(Saved().size(), 1);
        const QString name = Saved().first();
        QVERIFY2(QDateTime::fromString(name.chopped(4), QStringLiteral("yyyy-MM-dd HH-mm-ss")).isValid(),
                 qPrintable(name));
        QVERIFY(m_game->ScreenshotMessage().contains(name));
        QWidget* view = wt::View(*m_game);
        const QImage image(Pictures() + QStringLiteral("/Vantor/") + name);
        QCOMPARE(image.size(), view->size() * view->devicePixelRatio());
        const QColor left = image.pixelColor(10, image.height() / 2);
        const QColor right = image.pixelColor(image.width() - 10, image.height() / 2);
        QVERIFY2(left.red() > 200 && left.blue() < 80, qPrintable(left.name()));
        QVERIFY2(right.blue() > 160 && right.red() < 80, qPrintable(right.name()));
    }

    void sameSecondNeverOverwrites()
    {
        QImage first(4, 4, QImage::Format_RGB32), second = first;
        first.fill(Qt::red);
        second.fill(Qt::green);
        const QString folder = m_dir.filePath(QStringLiteral("same"));
        const QDateTime when(QDate(2026, 12, 11), QTime(7, 30, 5));
        QString error;
        QCOMPARE(Screenshot::Save(first, folder, when, &error),
                 folder + QStringLiteral("/2026-12-11 07-30-05.png"));
        QCOMPARE(Screenshot::Save(second, folder, when, &error),
                 folder + QStringLiteral("/2026-12-11 07-30-05 (2).png"));
        QCOMPARE(Screenshot::Save(second, folder, when, &error),
                 folder + QStringLiteral("/2026-12-11 07-30-05 (3).png"));
        QCOMPARE(QImage(folder + QStringLiteral("/2026-12-11 07-30-05.png")).pixelColor(0, 0),
                 QColor(Qt::red));
    }

    void folderThatCantBeWrittenSavesNothing()
    {
        // Vantor/ is a file where the folder should be: no one, root included, can write into it.
        QDir(Pictures() + QStringLiteral("/Vantor")).removeRecursively();
        QFile blocker(Pictures() + QStringLiteral("/Vantor"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(m_game->TakeScreenshot(), QString());
        QVERIFY2(m_game->ScreenshotMessage().startsWith(QStringLiteral("截图没有保存")),
                 qPrintable(m_game->ScreenshotMessage()));
        QCOMPARE(QDir(Pictures()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"Vantor"});
        QVERIFY(m_game->GetHWND()->isVisible()); // and nothing else changed
        blocker.remove();
    }
};

VANTOR_WINDOW_TEST_MAIN(TestScreenshot)
#include "tst_screenshot.moc"
