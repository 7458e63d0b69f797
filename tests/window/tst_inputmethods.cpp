// Input methods typing into a movie's text fields in the game window: the view gets the same
// QInputMethodEvents that Qt's IBus and Fcitx contexts send (pre-edit text while the player types
// pinyin, then the committed characters), and the movie's field holds exactly what was committed.
// Keys without a composition still reach the movie as before, and the input method's cursor
// rectangle is inside the movie.
#include "WindowTest.h"
#include "ui/CDuiFormGame.h"

#include <QInputMethodEvent>

namespace {

using wt::View;

// The movie's two fields (tests/movies/TypeIn.hx), in the view: a chat box and a number box with
// maxChars 4 and restrict "0-9".
const QPoint kFields[] = {{100, 35}, {60, 95}};

} // namespace

class TestInputMethods final : public QObject
{
    Q_OBJECT

    std::unique_ptr<CDuiFormGame> m_game;
    QWidget* m_view = nullptr;

    QVariantMap Movie() { return wt::RunJs(m_view, QStringLiteral("window.__movie")).toMap(); }
    QWidget* Target() { return m_view->focusProxy() ? m_view->focusProxy() : m_view; }

    bool TextInputFocused()
    {
        return wt::RunJs(m_view, QStringLiteral("(document.getElementById('movie').shadowRoot || {})"
                                                ".activeElement?.id"))
                   .toString() == u"virtual-keyboard";
    }

    // A real click on a field; true once the movie has given it the focus, the emulator's text
    // input has the focus and the view takes input-method text.
    bool FocusField(int field)
    {
        wt::Click(m_view->mapToGlobal(kFields[field]));
        return QTest::qWaitFor(
            [&] {
                return Movie().value("focus").toInt() == field && TextInputFocused() &&
                       Target()->inputMethodQuery(Qt::ImEnabled).toBool();
            },
            10000);
    }

    void PreEdit(const QString& text)
    {
        QInputMethodEvent event(text, {{QInputMethodEvent::Cursor, int(text.size()), 1, QVariant()}});
        QCoreApplication::sendEvent(Target(), &event);
        QTest::qWait(50);
    }

    void Commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(Target(), &event);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_game = std::make_unique<CDuiFormGame>(QStringLiteral("FormGame.xml"));
        QVERIFY(m_game->CreateFrame(nullptr, wt::DemoUrl(QStringLiteral("/extra/flash/typein.html"))));
        m_game->ShowWindow(true, true);
        QTRY_VERIFY(View(*m_game));
        m_view = View(*m_game);
        QTRY_VERIFY_WITH_TIMEOUT(Movie().value("ready").toBool(), 30000);
    }

    void cleanupTestCase() { m_game.reset(); }

    void init() { wt::RunJs(m_view, QStringLiteral("clearMovie()")); }

    void compositionReachesTheField_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("preEdits");
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pinyin to two characters")
            << 0 << QStringList{"n", "ni", "nih", "niha", "nihao"} << "你好"
            << "你好";
        QTest::newRow("a whole phrase") << 0 << QStringList{"wo", "women", "womenyiqiwan"} << "我们一起玩吧"
                                        << "我们一起玩吧";
        QTest::newRow("Latin and Chinese mixed") << 0 << QStringList{"QQ", "QQqun"} << "QQ群123"
                                                 << "QQ群123";
        QTest::newRow("full-width punctuation") << 0 << QStringList() << "，。！"
                                                << "，。！";
        QTest::newRow("Backspace edits the composition") << 0 << QStringList{"ni", "nih", "ni"} << "你"
                                                         << "你";
        QTest::newRow("cancelled (Escape)") << 0 << QStringList{"ni", "nihao"} << ""
                                            << "";
        QTest::newRow("restrict and maxChars hold") << 1 << QStringList{"12"} << "12你345"
                                                    << "1234";
    }

    void compositionReachesTheField()
    {
        QFETCH(int, field);
        QFETCH(QStringList, preEdits);
        QFETCH(QString, commit);
        QFETCH(QString, expected);
        QVERIFY(FocusField(field));
        for (const QString& text : preEdits)
            PreEdit(text);
        // Nothing of the pinyin reached the field while it was composed.
        QCOMPARE(Movie().value("text").toList().value(field).toString(), QString());
        Commit(commit);
        if (expected.isEmpty()) {
            QTest::qWait(500);
        } else {
            QTRY_COMPARE(Movie().value("text").toList().value(field).toString(), expected);
            // As typed text: the movie heard TEXT_INPUT for each character it took.
            QVERIFY(!Movie().value("typed").toList().value(field).toList().isEmpty());
        }
        QTest::qWait(300); // nothing comes twice
        QCOMPARE(Movie().value("text").toList().value(field).toString(), expected);
    }

    void keysWithoutCompositionPassAsBefore()
    {
        QVERIFY(FocusField(0));
        wt::Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("wasd")});
        QTRY_COMPARE(Movie().value("text").toList().value(0).toString(), "wasd");
        // A composition that came and went leaves the game's keys alone.
        PreEdit(QStringLiteral("ni"));
        Commit(QStringLiteral("你"));
        QTRY_COMPARE(Movie().value("text").toList().value(0).toString(), "wasd你");
        wt::Run(QStringLiteral("xdotool"),
                {QStringLiteral("key"), QStringLiteral("Left"), QStringLiteral("Up")});
        QTRY_VERIFY(Movie().value("keys").toList().contains(37));
        QTRY_VERIFY(Movie().value("keys").toList().contains(38));
        QCOMPARE(Movie().value("text").toList().value(0).toString(), "wasd你");
    }

    void candidateWindowIsAtTheField()
    {
        QVERIFY(FocusField(0));
        // The input method places its candidate window at this rectangle, in the view's pixels.
        const QRect cursor = Target()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QRect movie(0, 0, 320, 200);
        QVERIFY2(movie.contains(cursor.topLeft()),
                 qPrintable(QStringLiteral("%1,%2").arg(cursor.x()).arg(cursor.y())));
        QVERIFY((cursor.topLeft() - kFields[0]).manhattanLength() < 40);
    }
};

VANTOR_WINDOW_TEST_MAIN(TestInputMethods)
#include "tst_inputmethods.moc"
