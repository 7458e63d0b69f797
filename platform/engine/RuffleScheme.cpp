#include "platform/engine/RuffleScheme.h"

#include "platform/desktop/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace engine {
namespace {

const QByteArray kScheme = QByteArrayLiteral("ruffle");

class RuffleSchemeHandler final : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        const QString root = QDir(GetAppFolder() + QStringLiteral("ruffle")).canonicalPath();
        const QString path = QFileInfo(root + u'/' + job->requestUrl().path()).canonicalFilePath();
        // Only files inside the Ruffle folder are served; ".." and links out of it are refused.
        if (root.isEmpty() || path.isEmpty() || !path.startsWith(root + u'/')) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* file = new QFile(path, job);
        if (!file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::RequestFailed);
            return;
        }
        QByteArray mime = "application/octet-stream";
        if (path.endsWith(u".js"))
            mime = "text/javascript";
        else if (path.endsWith(u".wasm"))
            mime = "application/wasm";
        else if (path.endsWith(u".json") || path.endsWith(u".map"))
            mime = "application/json";
        job->reply(mime, file);
    }
};

QString Resource(const QString& name)
{
    QFile file(QStringLiteral(":/engine/") + name);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// The loader with what it builds on, in one scope of their own: what the client knows of the
// emulator's insides, and the input-method bridge. The page sees none of their names.
QString LoaderScript(const QJsonObject& config)
{
    return QStringLiteral("(function () {\n") + Resource(QStringLiteral("ruffle-internals.js")) +
           Resource(QStringLiteral("ime-bridge.js")) +
           Resource(QStringLiteral("ruffle-loader.js"))
               .replace(QStringLiteral("/*PROGRAM_CONFIG*/{}"),
                        QString::fromUtf8(QJsonDocument(config).toJson(QJsonDocument::Compact))) +
           QStringLiteral("})();\n");
}

} // namespace

void RegisterRuffleScheme()
{
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled |
                    QWebEngineUrlScheme::LocalAccessAllowed |
                    QWebEngineUrlScheme::ContentSecurityPolicyIgnored);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void InstallRuffle(QWebEngineProfile* profile, const QJsonObject& config)
{
    profile->installUrlSchemeHandler(kScheme, new RuffleSchemeHandler(profile));
    QWebEngineScript script;
    script.setName(QStringLiteral("vantor-ruffle"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(LoaderScript(config));
    profile->scripts()->insert(script);
}

} // namespace engine
