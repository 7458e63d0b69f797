// A bare engine page: the smallest Qt WebEngine program that shows an address.
//   vantor-bare-page ADDRESS [WIDTH HEIGHT]   (688 x 398 by default, the login page's view)
#include <QApplication>
#include <QWebEngineView>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    view.resize(argc > 3 ? QSize(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt()) : QSize(688, 398));
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
