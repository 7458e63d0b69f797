// Hot-key codes as the settings file gives them, decoded into a key and its modifiers.
#include "platform/desktop/GlobalHotKeysX11.h"
#include "ui/HotKeyCode.h"

#include <QGuiApplication>
#include <QTest>

using namespace desktop;

class TestHotKeyCode final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("fullScreenKey");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<unsigned>("modifiers");
        QTest::addColumn<int>("vk");
        const unsigned ctrlShift = MOD_CONTROL | MOD_SHIFT;
        QTest::newRow("F9 boss default") << 120 << false << true << 0u << 0x78;
        QTest::newRow("Escape full-screen default") << 27 << true << true << 0u << 0x1B;
        QTest::newRow("Escape refused as boss key") << 27 << false << false << 0u << 0;
        QTest::newRow("A without modifiers is Ctrl+Shift") << 65 << true << true << ctrlShift << 0x41;
        QTest::newRow("Ctrl+A") << (0x11000000 | 65) << false << true << unsigned(MOD_CONTROL) << 0x41;
        QTest::newRow("Ctrl+Shift+Alt+A") << (0x11101241) << false << true << (ctrlShift | MOD_ALT) << 0x41;
        QTest::newRow("one Alt bit is not Alt") << (0x1000 | 65) << false << true << ctrlShift << 0x41;
        QTest::newRow("Shift+1") << (0x00100000 | 0x31) << true << true << unsigned(MOD_SHIFT) << 0x31;
        QTest::newRow("F1 ignores modifiers") << (0x11100000 | 0x70) << false << true << 0u << 0x70;
        QTest::newRow("F13") << 0x7C << false << true << 0u << 0x7C;
        QTest::newRow("Enter refused") << 13 << true << false << 0u << 0;
        QTest::newRow("F14 refused") << 0x7D << false << false << 0u << 0;
        QTest::newRow("Z last letter") << 0x5A << false << true << ctrlShift << 0x5A;
        QTest::newRow("negative code keeps its low byte") << -136 << false << true << 0u << 0x78;
    }

    void decode()
    {
        QFETCH(int, code);
        QFETCH(bool, fullScreenKey);
        QFETCH(bool, accepted);
        QFETCH(unsigned, modifiers);
        QFETCH(int, vk);
        const auto combo = DecodeHotKey(code, fullScreenKey);
        QCOMPARE(combo.has_value(), accepted);
        if (combo)
            QCOMPARE(*combo, (HotKeyCombo{modifiers, vk}));
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
        QVERIFY(!keys.Register(id, 0, 0x78));
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
