// Hot-key codes as the settings file gives them, decoded into a key and its modifiers.
#include "platform/desktop/GlobalHotKeys.h"
#include "settings/HotKeyCode.h"

#include <QGuiApplication>
#include <QTest>

using desktop::GlobalHotKeys;

class TestHotKeyCode final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("fullScreenKey");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QKeyCombination>("key");
        const Qt::KeyboardModifiers none;
        const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        const QKeyCombination no;
        QTest::newRow("F9 boss default") << 120 << false << true << QKeyCombination(none, Qt::Key_F9);
        QTest::newRow("Escape full-screen default")
            << 27 << true << true << QKeyCombination(none, Qt::Key_Escape);
        QTest::newRow("Escape refused as boss key") << 27 << false << false << no;
        QTest::newRow("A without modifiers is Ctrl+Shift") << 65 << true << true << (ctrlShift | Qt::Key_A);
        QTest::newRow("Ctrl+A") << (0x11000000 | 65) << false << true << (Qt::ControlModifier | Qt::Key_A);
        QTest::newRow("Ctrl+Shift+Alt+A")
            << (0x11101241) << false << true << (ctrlShift | Qt::AltModifier | Qt::Key_A);
        QTest::newRow("one Alt bit is not Alt") << (0x1000 | 65) << false << true << (ctrlShift | Qt::Key_A);
        QTest::newRow("Shift+1") << (0x00100000 | 0x31) << true << true << (Qt::ShiftModifier | Qt::Key_1);
        QTest::newRow("F1 ignores modifiers")
            << (0x11100000 | 0x70) << false << true << QKeyCombination(none, Qt::Key_F1);
        QTest::newRow("F13") << 0x7C << false << true << QKeyCombination(none, Qt::Key_F13);
        QTest::newRow("Enter refused") << 13 << true << false << no;
        QTest::newRow("F14 refused") << 0x7D << false << false << no;
        QTest::newRow("Z last letter") << 0x5A << false << true << (ctrlShift | Qt::Key_Z);
        QTest::newRow("negative code keeps its low byte")
            << -136 << false << true << QKeyCombination(none, Qt::Key_F9);
        // 0x3A to 0x40 lie between the digits and the letters and are no keys.
        QTest::newRow("0x3A refused") << 0x3A << false << false << no;
        QTest::newRow("0x40 refused") << 0x40 << true << false << no;
    }

    void decode()
    {
        QFETCH(int, code);
        QFETCH(bool, fullScreenKey);
        QFETCH(bool, accepted);
        QFETCH(QKeyCombination, key);
        const auto combo = DecodeHotKey(code, fullScreenKey);
        QCOMPARE(combo.has_value(), accepted);
        if (combo)
            QCOMPARE(*combo, key);
    }
};

class TestHotKeysOutsideX11 final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unavailableButHarmless()
    {
        // On a display that isn't X11 nothing is grabbed, and ids stay stable per name.
        GlobalHotKeys keys([](int) {});
        const int id = GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_Boss"));
        QCOMPARE(GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_Boss")), id);
        QVERIFY(id != GlobalHotKeys::IdForName(QStringLiteral("VantorHotKey_FullScreen")));
        QVERIFY(!keys.Register(id, QKeyCombination(Qt::Key_F9)));
        QVERIFY(!keys.IsRegistered(id));
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TestHotKeyCode decoding;
    TestHotKeysOutsideX11 outsideX11;
    return QTest::qExec(&decoding, argc, argv) | QTest::qExec(&outsideX11, argc, argv);
}
#include "tst_hotkeycode.moc"
