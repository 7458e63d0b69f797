#include "platform/engine/Engine.h"

#include "platform/engine/FlashPlugin.h"
#include "platform/engine/Profile.h"
#include "platform/engine/RequestInterceptor.h"
#include "platform/engine/RequestPolicy.h"
#include "platform/engine/RuffleScheme.h"
#include "platform/engine/SocketBridge.h"
#include "platform/engine/SoftwareGl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTranslator>
#include <QVersionNumber>
#include <QWebEngineProfile>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace QtWebEngineCore {
// The engine helper's entry point, exported by Qt WebEngine Core.
Q_DECL_IMPORT int processMain(int argc, const char** argv);
} // namespace QtWebEngineCore

// The resources of a static library are registered by hand, outside any namespace.
static void InitEngineResources()
{
    Q_INIT_RESOURCE(engine);
}

namespace engine {

void RefuseLocalesFolder();

namespace {

bool g_shutDown = false;
StoredProfile g_profile;
SocketBridge* g_bridge = nullptr;

void SetEnv(const char* name, const QString& value)
{
    setenv(name, value.toLocal8Bit().constData(), 1);
}

// The engine's own texts (its context menu, its dialogs' buttons, its error texts) in the
// program's language, from Qt's translations. Without them the engine speaks English.
void InstallTranslations(const QString& locale)
{
    const QLocale language(QString(locale).replace(u'-', u'_'));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& catalog : {QStringLiteral("qtbase"), QStringLiteral("qtwebengine")}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(language, catalog, QStringLiteral("_"), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace

QString VersionText()
{
    return QStringLiteral("Qt %1, Qt WebEngine %2\nChromium %3, security fixes to %4")
        .arg(QString::fromLatin1(qVersion()), QString::fromLatin1(qWebEngineVersion()),
             QString::fromLatin1(qWebEngineChromiumVersion()),
             QString::fromLatin1(qWebEngineChromiumSecurityPatchVersion()));
}

QString DataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/vantor");
}

int ExecuteProcess(int argc, char** argv)
{
    RefuseLocalesFolder();
    bool helper = false;
    for (int i = 1; i < argc && !helper; ++i)
        helper = std::strncmp(argv[i], "--type=", 7) == 0;
    if (!helper) {
        // Debian 13's Mesa (25, beside Qt 6.8) keeps a shader cache in ~/.cache, outside the data
        // folder that is the only place the program writes: there it goes into the data folder.
        // Debian 12's Mesa (22, beside Qt 6.4) keeps none in the home, and any of Mesa's cache
        // variables would cost its start about 90 ms and 5 MB, so there Mesa is left alone. The
        // end-to-end tests of the home folder hold either way. Set before the driver loads,
        // which only this process does; the folder is made now, so the first start keeps one.
        if (QLibraryInfo::version() >= QVersionNumber(6, 8)) {
            const QString cache = DataFolder() + QStringLiteral("/gl-shader-cache");
            QDir().mkpath(cache);
            setenv("MESA_SHADER_CACHE_DIR", QFile::encodeName(cache).constData(), 1);
        }
        return -1;
    }
    // The application object keeps pointers into its argv, which the engine may rewrite: give it
    // a copy of its own. Without it the helper can't find the files beside the executable.
    std::vector<std::string> copies(argv, argv + argc);
    std::vector<char*> appArgv;
    for (auto& arg : copies)
        appArgv.push_back(arg.data());
    appArgv.push_back(nullptr);
    int appArgc = argc;
    QCoreApplication app(appArgc, appArgv.data());
    return QtWebEngineCore::processMain(argc, const_cast<const char**>(argv));
}

void RegisterSchemes()
{
    RegisterRuffleScheme();
}

void Initialize(App& app, const Settings& settings)
{
    InitEngineResources();
    InstallTranslations(settings.locale);
    // The engine's start-up report is for its developers, not for the player's terminal.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // Helpers are this executable; the engine then finds everything relative to it.
    SetEnv("QTWEBENGINEPROCESS_PATH", QCoreApplication::applicationFilePath());
    // No shader cache and no locales folder are written beside the executable.
    setenv("QT_DISABLE_SHADER_DISK_CACHE", "1", 1);
    const QString locales =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtwebengine_locales");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_LOCALES_PATH") && QDir(locales).exists())
        SetEnv("QTWEBENGINE_LOCALES_PATH", locales);
    if (geteuid() == 0) {
        std::fputs("vantor: running as root, so the engine's sandbox is off\n", stderr);
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    }

    CommandLine commandLine;
    app.OnBeforeCommandLineProcessing(QString(), commandLine);
    QStringList switches = commandLine.GetSwitches();
    switches << QStringLiteral("--lang=") + settings.locale
             << QStringLiteral("--autoplay-policy=no-user-gesture-required");
    // WebGL on a software GL: the engine's blocklist refuses it there only for speed, and movies
    // drawn through bitmaps and filters need it (the canvas renderer leaves them blank). The
    // blocklist's other entries, for hardware drivers that crash, still hold. The pages are still
    // composited on the CPU, as under the blocklist: compositing on a software GL would cost every
    // page memory (about 16 MB for the login page) and buy nothing.
    if (IsSoftwareGl())
        switches << QStringLiteral("--ignore-gpu-blocklist") << QStringLiteral("--disable-gpu-compositing");
    // An operator's own switches still apply, after the program's.
    const QString extra = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!extra.isEmpty())
        switches << extra;
    SetEnv("QTWEBENGINE_CHROMIUM_FLAGS", switches.join(u' '));

    g_profile = CreateProfile(settings.storageFolder, settings.keepCookies);
    QWebEngineProfile* profile = g_profile.profile;
    profile->setHttpAcceptLanguage(settings.locale);
    profile->setUrlRequestInterceptor(new RequestInterceptor(profile));

    // Movies' sockets go through the bridge: the emulator gets one proxy entry per game server.
    QJsonArray socketProxy;
    if (!settings.sockets.isEmpty()) {
        g_bridge = new SocketBridge(settings.sockets);
        if (g_bridge->Listen()) {
            AllowLocalEndpoint(QStringLiteral("127.0.0.1"), g_bridge->Port());
            for (const SocketEndpoint& endpoint : settings.sockets)
                socketProxy.append(
                    QJsonObject{{QStringLiteral("host"), endpoint.host},
                                {QStringLiteral("port"), endpoint.port},
                                {QStringLiteral("proxyUrl"), g_bridge->ProxyUrl(endpoint).toString()}});
        } else {
            std::fputs("vantor: the Flash socket bridge can't listen on 127.0.0.1; movies get no sockets\n",
                       stderr);
        }
    }
    InstallFlashPlugin(profile);
    InstallRuffle(profile, QJsonObject{{QStringLiteral("socketProxy"), socketProxy}});
}

void Shutdown()
{
    if (g_shutDown)
        return;
    g_shutDown = true;
    // Views and pages that were scheduled for deletion go now, before the profile.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete g_bridge;
    g_bridge = nullptr;
    delete g_profile.profile;
    delete g_profile.lock;
    g_profile = {};
}

QWebEngineProfile* Profile()
{
    return g_profile.profile;
}

} // namespace engine
