#include "browser/SimpleApp.h"
#include "browser/SimpleHandler.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/TerminationSignals.h"
#include "platform/engine/Engine.h"
#include "platform/skin/PaintManager.h"
#include "settings/FlashSockets.h"
#include "settings/Settings.h"
#include "ui/CDuiFormLogin.h"

#include <QApplication>
#include <QStandardPaths>
#include <QWidget>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    // The engine starts this same executable as its helper processes; they end here.
    if (const int helperExitCode = engine::ExecuteProcess(argc, argv); helperExitCode >= 0)
        return helperExitCode;

    engine::RegisterSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantor"));
    QApplication::setWindowIcon(desktop::ProgramIcon());
    // The login window stays alive while hidden; the program ends when it goes, not before.
    QApplication::setQuitOnLastWindowClosed(false);
    desktop::OnTerminationSignal([] { PostQuitMessage(0); });

    SimpleApp simpleApp;
    engine::Settings engineSettings;
    engineSettings.locale = QStringLiteral("zh-CN");
    // Game saves (the pages' and movies' own storage) live in the player's data folder, as the
    // Flash Player kept its SharedObjects; the program writes nothing else.
    engineSettings.storageFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/vantor");
    engineSettings.keepCookies = ReadIniInt(QStringLiteral("Config"), QStringLiteral("KeepLogin"), 0) == 1;
    engineSettings.sockets = ReadFlashSockets();
    engine::Initialize(simpleApp, engineSettings);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + QStringLiteral("skin"));

    int exitCode = 0;
    {
        auto login = std::make_unique<CDuiFormLogin>(QStringLiteral("FormLogin.xml"));
        if (login->Create(nullptr, QString(), WS_VISIBLE | WS_EX_APPWINDOW)) {
            g_hWndLogin = login->GetHWND();
            login->GetHWND()->setWindowIcon(desktop::ProgramIcon());
            login->ShowModal();
        } else {
            std::fprintf(stderr, "vantor: can't show the login window: %s\n", qPrintable(login->LastError()));
            exitCode = 1;
        }
    }
    // Every window and browser is gone now: the engine shuts down exactly once.
    engine::Shutdown();
    return exitCode;
}
