#include "WindowTest.h"
class TestGameWindow final : public QObject { Q_OBJECT };
VANTOR_WINDOW_TEST_MAIN(TestGameWindow)
#include "tst_gamewindow.moc"
