#include "app/Startup.h"
#include "browser/SimpleHandler.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/TerminationSignals.h"
#include "platform/engine/Engine.h"
#include "platform/skin/PaintManager.h"
#include "settings/Settings.h"
#include "ui/CDuiFormLogin.h"

#include <QApplication>
#include <QNetworkProxy>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Vantor %s\n%s\n", VANTOR_VERSION, qPrintable(engine::VersionText()));
        return 0;
    }
    if (const int helperExitCode = BeforeApplication(argc, argv); helperExitCode >= 0)
        return helperExitCode;

    QApplication app(argc, argv);
    desktop::OnTerminationSignal([] { PostQuitMessage(0); });

    // The pages and the socket bridge's connections both go through the application's proxy.
    if (const auto proxy = settings::Proxy())
        QNetworkProxy::setApplicationProxy(*proxy);

    engine::Settings engineSettings;
    engineSettings.locale = QStringLiteral("zh-CN");
    // Game saves (the pages' and movies' own storage) live in the player's data folder, as the
    // Flash Player kept its SharedObjects; the program writes nothing else.
    engineSettings.storageFolder = engine::DataFolder();
    engineSettings.keepCookies = settings::KeepLogin();
    engineSettings.sockets = settings::FlashSockets();
    StartEngine(engineSettings, CPaintManagerUI::GetInstancePath() + QStringLiteral("skin"));

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
