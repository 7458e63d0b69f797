// How long one read of the settings file takes, and how much memory it needs, for files at the
// size bound in the worst shapes found: only line breaks, only 0xFF bytes, UTF-16 line breaks.
// The settings file is read again at every navigation, so this is paid per navigation.
#include "platform/profile/ProfileReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

long MaxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    // One shape per process, so that the peak memory is that shape's own.
    const QByteArray shape = argc > 1 ? QByteArray(argv[1]) : QByteArray("newlines");
    QByteArray bytes;
    if (shape == "utf16") {
        bytes = QByteArray("\xFF\xFE", 2);
        while (bytes.size() < profile::kMaxFileSize)
            bytes.append("\n\0", 2);
    } else {
        bytes.fill(shape == "ff" ? '\xFF' : '\n', profile::kMaxFileSize);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vantor.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 1;
    file.close();
    bytes.clear();
    bytes.squeeze();

    const long before = MaxRssKb();
    std::vector<double> ms;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        (void)profile::ReadProfileString(QStringLiteral("Common"), QStringLiteral("gameparam"),
                                         QStringLiteral("sid="), path);
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s\t%.2f ms\t%.1f MB\n", shape.constData(), ms[ms.size() / 2],
                (MaxRssKb() - before) / 1024.0);
    return 0;
}
