// Flash-era game pages in the game window: pages that look for the Flash plug-in before they write
// their movie find it, in every kind of frame; the embedding scripts of the era (SWFObject, the
// real script) and plain markup all get their movie running, never the alternative content; and a
// movie drawn through bitmaps and filters shows its pixels under the software GL of the tests.
#include "WindowTest.h"
#include "ui/CDuiFormGame.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

namespace {

using wt::View;

// The share of a picture's pixels within a small distance of a colour.
double ColorFraction(const QImage& image, QRgb color)
{
    if (image.isNull())
        return 0;
    qint64 near = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            near += qAbs(qRed(p) - qRed(color)) < 40 && qAbs(qGreen(p) - qGreen(color)) < 40 &&
                    qAbs(qBlue(p) - qBlue(color)) < 40;
        }
    }
    return double(near) / (qint64(image.width()) * image.height());
}

} // namespace

class TestFlashPages final : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDuiFormGame> OpenGame(const QString& path)
    {
        auto game = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        if (!game->CreateFrame(nullptr, wt::DemoUrl(path)))
            return nullptr;
        game->ShowWindow(true, true);
        return game;
    }

private Q_SLOTS:
    void everyFrameSeesFlash_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::newRow("main frame, before its first script") << "main";
        QTest::newRow("about:blank frame read at once") << "blank";
        QTest::newRow("frame written with document.write") << "written";
        QTest::newRow("srcdoc frame") << "srcdoc";
        QTest::newRow("frame of another origin") << "crossOrigin";
    }

    void everyFrameSeesFlash()
    {
        QFETCH(QString, frame);
        auto game = OpenGame(QStringLiteral("/extra/flash/plugins.html"));
        QVERIFY(game);
        QTRY_VERIFY(View(*game));
        QWidget* view = View(*game);
        const QString seen = QStringLiteral("window.__seen && __seen.") + frame;
        QTRY_VERIFY_WITH_TIMEOUT(wt::RunJs(view, seen).isValid(), 10000);
        const QVariantMap report = wt::RunJs(view, seen).toMap();
        QCOMPARE(report.value("description").toString(), "Shockwave Flash 32.0 r0");
        for (const char* check : {"isPlugin", "named", "listed", "swf", "spl", "types"})
            QVERIFY2(report.value(QLatin1String(check)).toBool(), check);
    }

    void movieRunsAsThePageWrote_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("swfobjectCallback");
        QTest::newRow("SWFObject dynamic publishing") << "swfobject-dynamic.html" << true;
        QTest::newRow("SWFObject static publishing") << "swfobject-static.html" << true;
        QTest::newRow("the page's own plug-in check") << "own-check.html" << false;
        QTest::newRow("ActiveX-only markup") << "activex.html" << false;
        QTest::newRow("movie written long after load") << "late.html" << false;
        QTest::newRow("cross-origin frame") << "cross-origin-frame.html" << false;
        QTest::newRow("srcdoc frame running SWFObject") << "srcdoc-frame.html" << false;
    }

    void movieRunsAsThePageWrote()
    {
        QFETCH(QString, page);
        QFETCH(bool, swfobjectCallback);
        auto game = OpenGame(QStringLiteral("/extra/flash/") + page);
        QVERIFY(game);
        QTRY_VERIFY(View(*game));
        QWidget* view = View(*game);
        const auto state = [&] { return wt::RunJs(view, QStringLiteral("window.__flash")).toMap(); };
        QTRY_VERIFY_WITH_TIMEOUT(state().value("ready").toBool() || state().value("alt").toBool(), 30000);
        // A moment more: alternative content that comes late still counts.
        QTest::qWait(300);
        QVERIFY2(!state().value("alt").toBool(), "the alternative content showed");
        QVERIFY(state().value("ready").toBool());
        if (swfobjectCallback) {
            const QVariantMap callback = state().value("callback").toMap();
            QVERIFY(callback.value("success").toBool());
            QCOMPARE(callback.value("id").toString(), "game");
        }
    }

    void getFlashPlayerVersionIs32()
    {
        auto game = OpenGame(QStringLiteral("/extra/flash/swfobject-dynamic.html"));
        QVERIFY(game);
        QTRY_VERIFY(View(*game));
        QWidget* view = View(*game);
        const QString version =
            QStringLiteral("window.swfobject && JSON.stringify(swfobject.getFlashPlayerVersion())");
        QTRY_COMPARE(wt::RunJs(view, version).toString(), R"({"major":32,"minor":0,"release":0})");
        // Express install never started: the page kept its own title.
        QTRY_VERIFY_WITH_TIMEOUT(wt::RunJs(view, QStringLiteral("__flash.ready")).toBool(), 30000);
        QCOMPARE(wt::RunJs(view, QStringLiteral("document.title")).toString(), "SWFObject dynamic");
    }

    void filtersAndBitmapsDraw()
    {
        // Drawn into a bitmap, blurred, glowing and turned in 3D: the canvas renderer shows none of
        // it, WebGL on the software GL does. The movie is magenta on a dark stage.
        auto game = OpenGame(QStringLiteral("/extra/flash/effects.html"));
        QVERIFY(game);
        QTRY_VERIFY(View(*game));
        QWidget* view = View(*game);
        const QRect area(view->mapToGlobal(QPoint(0, 0)), QSize(320, 200));
        const auto magenta = [&] {
            const QImage shot = QGuiApplication::primaryScreen()
                                    ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                    .toImage();
            return ColorFraction(shot, qRgb(0xFF, 0x00, 0xFF));
        };
        QTRY_VERIFY_WITH_TIMEOUT(magenta() > 0.3, 30000);
        QVERIFY(wt::RunJs(view, QStringLiteral("window.__renderer")).toString().contains(u"webgl"));
        // On a software GL the emulator would ask the player, on the first hover, to turn on
        // hardware acceleration: the movie is played as it is, without that.
        wt::Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(area.center().x()),
                                            QString::number(area.center().y())});
        QTest::qWait(500);
        QCOMPARE(
            wt::RunJs(view, QStringLiteral(
                                "getComputedStyle(document.querySelector('embed, ruffle-embed').shadowRoot"
                                ".getElementById('hardware-acceleration-modal')).display"))
                .toString(),
            "none");
        QVERIFY(magenta() > 0.3);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestFlashPages)
#include "tst_flashpages.moc"
