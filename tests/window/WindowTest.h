#pragma once

// Shared set-up of the window tests: the real engine, real windows on the X display, and the
// demo platform that scripts/headless.sh started.
#include "browser/SimpleApp.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/engine/Engine.h"
#include "platform/skin/PaintManager.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <optional>

namespace wt {

inline QString DemoUrl(const QString& path = {})
{
    return qEnvironmentVariable("VANTOR_DEMO_URL", QStringLiteral("http://127.0.0.1:8512")) + path;
}

// The Vantor.ini beside the test executable; an empty text removes it.
inline void WriteIni(const QByteArray& content)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/Vantor.ini");
    QFile::remove(path);
    if (content.isEmpty())
        return;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
}

// An executable shell script in dir, standing in for a desktop command; returns its path.
inline QString WriteScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// The page text of a browser view, read through the engine.
inline QString PageText(QWidget* view)
{
    auto* webView = qobject_cast<QWebEngineView*>(view);
    if (!webView)
        return {};
    // The answer may come after the wait gave up: it must not land in a finished stack frame.
    auto answer = std::make_shared<std::optional<QString>>();
    webView->page()->toPlainText([answer](const QString& t) { *answer = t; });
    (void)QTest::qWaitFor([&] { return answer->has_value(); }, 5000);
    return answer->value_or(QString());
}

inline QVariant RunJs(QWidget* view, const QString& script)
{
    auto* webView = qobject_cast<QWebEngineView*>(view);
    auto answer = std::make_shared<std::optional<QVariant>>();
    webView->page()->runJavaScript(script, [answer](const QVariant& v) { *answer = v; });
    (void)QTest::qWaitFor([&] { return answer->has_value(); }, 5000);
    return answer->value_or(QVariant());
}

template <typename Test> int Main(int argc, char** argv)
{
    if (const int code = engine::ExecuteProcess(argc, argv); code >= 0)
        return code;
    engine::RegisterSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(desktop::ProgramIcon());
    SimpleApp simpleApp;
    engine::Settings settings; // pages keep their storage for the test's run only
    settings.locale = QStringLiteral("zh-CN");
    engine::Initialize(simpleApp, settings);
    CPaintManagerUI::SetResourcePath(QStringLiteral(VANTOR_SKIN_DIR));
    WriteIni({});
    int result;
    {
        Test test;
        result = QTest::qExec(&test, argc, argv);
    }
    WriteIni({});
    engine::Shutdown();
    return result;
}

} // namespace wt

#define VANTOR_WINDOW_TEST_MAIN(Test)                                                                        \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        return wt::Main<Test>(argc, argv);                                                                   \
    }
