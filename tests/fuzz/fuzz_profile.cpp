// Feeds arbitrary bytes to the settings reader as a file and reads every kind of value from it.
#include "platform/profile/ProfileReader.h"

#include <QTemporaryFile>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryFile* file = [] {
        auto* f = new QTemporaryFile;
        f->open();
        return f;
    }();
    file->resize(0);
    file->seek(0);
    file->write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file->flush();
    const QString path = file->fileName();
    const QString text = profile::ReadProfileString(QStringLiteral("Common"), QStringLiteral("gameparam"),
                                                    QStringLiteral("sid="), path);
    if (text.size() > profile::kMaxValueLength)
        __builtin_trap();
    profile::ReadProfileInt(QStringLiteral("Config"), QStringLiteral("BossHotKey"), 120, path);
    profile::ParseProfileInt(
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
