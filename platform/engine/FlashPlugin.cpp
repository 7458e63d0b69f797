#include "platform/engine/FlashPlugin.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace engine {

void InstallFlashPlugin(QWebEngineProfile* profile)
{
    QFile file(QStringLiteral(":/engine/flash-plugin.js"));
    file.open(QIODevice::ReadOnly);
    QWebEngineScript script;
    script.setName(QStringLiteral("vantor-flash-plugin"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(QString::fromUtf8(file.readAll()));
    profile->scripts()->insert(script);
}

} // namespace engine
