#pragma once

#include "platform/engine/SocketEndpoint.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWebEngineProfile;

namespace engine {

// The switches given to the engine, in order.
class CommandLine final
{
public:
    void AppendSwitch(const QString& name) { m_switches.append(name); }
    QStringList GetSwitches() const { return m_switches; }

private:
    QStringList m_switches;
};

// The program's side of the engine's start-up.
class App
{
public:
    virtual ~App() = default;
    // Adds the program's switches; called once in the main process before the engine starts.
    virtual void OnBeforeCommandLineProcessing(const QString& processType, CommandLine& commandLine) = 0;
};

struct Settings
{
    QString locale;
    // Where pages and movies keep their own storage between runs; empty keeps it for this run only.
    QString storageFolder;
    // Keep the pages' cookies too (a "remember me" login survives a restart).
    bool keepCookies = false;
    // The game servers that Flash movies may open sockets to, through the program's bridge.
    QList<SocketEndpoint> sockets;
};

// When the process was started by the engine as one of its helpers (a "--type=" switch), runs
// that helper and returns its exit code. Returns -1 in the main process. Touches no window.
int ExecuteProcess(int argc, char** argv);

// The player's data folder ($XDG_DATA_HOME/vantor): the game saves, and all else the program keeps.
QString DataFolder();

// The versions of Qt, Qt WebEngine and its Chromium (with the Chromium release whose security
// fixes it carries), one per line. Starts nothing.
QString VersionText();

// Registers the engine's address schemes; must run before the application object exists.
void RegisterSchemes();

// Starts the engine in the main process, after the application object and before any browser.
void Initialize(App& app, const Settings& settings);

// Shuts the engine down once every browser is gone. Later calls do nothing.
void Shutdown();

// The profile of every page; null before Initialize and after Shutdown.
QWebEngineProfile* Profile();

} // namespace engine
