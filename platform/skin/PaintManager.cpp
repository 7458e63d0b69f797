#include "platform/skin/PaintManager.h"

#include "platform/desktop/ProgramFolder.h"

#include <QDir>

namespace {
QString& ResourcePath()
{
    static QString path;
    return path;
}
} // namespace

QString CPaintManagerUI::GetInstancePath()
{
    return GetAppFolder();
}

void CPaintManagerUI::SetResourcePath(const QString& folder)
{
    ResourcePath() = folder.endsWith(u'/') ? folder : folder + u'/';
    QDir::setSearchPaths(QStringLiteral("skin"), {ResourcePath()});
}

QString CPaintManagerUI::GetResourcePath()
{
    return ResourcePath();
}
