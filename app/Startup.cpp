#include "app/Startup.h"

#include "browser/SimpleApp.h"
#include "platform/desktop/DisplaySession.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/engine/Engine.h"
#include "platform/skin/PaintManager.h"

#include <QApplication>

int BeforeApplication(int argc, char** argv)
{
    if (const int helperExitCode = engine::ExecuteProcess(argc, argv); helperExitCode >= 0)
        return helperExitCode;
    PreferX11InWaylandSession();
    engine::RegisterSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return -1;
}

void StartEngine(const engine::Settings& settings, const QString& skinFolder)
{
    QApplication::setApplicationName(QStringLiteral("vantor"));
    QApplication::setWindowIcon(desktop::ProgramIcon());
    // The login window stays alive while hidden; the program ends when it goes, not before.
    QApplication::setQuitOnLastWindowClosed(false);
    SimpleApp simpleApp; // only asked for its switches, while the engine starts
    engine::Initialize(simpleApp, settings);
    CPaintManagerUI::SetResourcePath(skinFolder);
}
