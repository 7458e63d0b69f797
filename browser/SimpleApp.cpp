#include "browser/SimpleApp.h"

void SimpleApp::OnBeforeCommandLineProcessing(const QString&, engine::CommandLine& commandLine)
{
    // Same-origin checks off and the Flash switches on, for every page shown; the Flash switches
    // are kept for the platform's pages that test for them, Ruffle does the playing.
    commandLine.AppendSwitch(QStringLiteral("--disable-web-security"));
    commandLine.AppendSwitch(QStringLiteral("--enable-system-flash"));
    commandLine.AppendSwitch(QStringLiteral("--enable-npapi"));
}
