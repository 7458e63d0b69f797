// A bare engine page: the smallest Qt WebEngine program that shows an address.
//   vantor-bare-page ADDRESS [WIDTH HEIGHT]   (688 x 398 by default, the login page's view)
// With VANTOR_BARE_PROFILE=DIR it keeps a profile in DIR (its HTTP cache among it), as a browser
// does between runs; without, it runs off the record. When its standard input is a
// pipe, closing the pipe ends it cleanly (a profile on disk is written out then).
#include <QApplication>
#include <QSocketNotifier>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    const QString folder = qEnvironmentVariable("VANTOR_BARE_PROFILE");
    if (!folder.isEmpty()) {
        auto* profile = new QWebEngineProfile(QStringLiteral("bare"), &app);
        profile->setPersistentStoragePath(folder);
        profile->setCachePath(folder);
        view.setPage(new QWebEnginePage(profile, &view));
    }
    view.resize(argc > 3 ? QSize(QByteArray(argv[2]).toInt(), QByteArray(argv[3]).toInt()) : QSize(688, 398));
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    view.show();
    struct stat input = {};
    if (fstat(STDIN_FILENO, &input) == 0 && S_ISFIFO(input.st_mode)) {
        auto* watch = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(watch, &QSocketNotifier::activated, &app, [&app] {
            char byte;
            if (read(STDIN_FILENO, &byte, 1) <= 0)
                app.quit();
        });
    }
    return app.exec();
}
