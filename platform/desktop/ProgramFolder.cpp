#include "platform/desktop/ProgramFolder.h"

#include <QFile>

QString GetAppFolder()
{
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const auto slash = exe.lastIndexOf(u'/');
    return slash < 0 ? QString() : exe.left(slash + 1);
}
