// Saves a screenshot of the X display (or of one rectangle of it), as PNG or PPM by the name:
//   vantor-grab OUT.png|OUT.ppm [x y w h]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: %s OUT.png [x y w h]\n", argv[0]);
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area =
        argc == 6 ? QRect(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5])) : screen->geometry();
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
