#pragma once

// Shared set-up of the window tests: the real engine, real windows on the X display, and the
// demo platform that scripts/headless.sh started.
#include "app/Startup.h"
#include "browser/SimpleHandler.h"
#include "platform/engine/Browser.h"
#include "platform/engine/Engine.h"
#include "platform/skin/WindowImplBase.h"
#include "ui/CDuiFormGame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
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

// The view of a handler's browser, or null while it has none.
inline QWidget* View(const std::shared_ptr<SimpleHandler>& handler)
{
    const auto browser = handler->GetBrowser();
    return browser ? browser->GetWindowHandle() : nullptr;
}

// A browser of a handler of its own on address, in a host window of its own (700 x 420) that
// host then holds; null when the browser wasn't made, or was reported made before CreateBrowser
// returned (the engine reports it later, never inside CreateBrowser).
inline std::shared_ptr<engine::Browser>
OpenBrowser(std::unique_ptr<QWidget>& host, std::shared_ptr<SimpleHandler>& handler, const QString& address)
{
    host = std::make_unique<QWidget>();
    host->resize(700, 420);
    host->show();
    handler = std::make_shared<SimpleHandler>();
    if (!engine::CreateBrowser(host.get(), QRect(0, 0, 688, 398), handler, address) || handler->GetBrowser())
        return nullptr;
    (void)QTest::qWaitFor([&] { return handler->GetBrowser() != nullptr; }, 5000);
    return handler->GetBrowser();
}

inline QWidget* View(const CDuiFormGame& game)
{
    return View(game.Handler());
}

// Runs a desktop command and waits for it; its exit code.
inline int Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return p.exitCode();
}

// A real click through XTest at a point of the screen, as a player's.
inline void Click(const QPoint& global, int button = 1)
{
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y()),
         QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("click"), QString::number(button)});
}

// A click on a window's named button, without the mouse.
inline void ClickControl(WindowImplBase& wnd, const char* name)
{
    auto* button = qobject_cast<QAbstractButton*>(wnd.FindControl(QString::fromLatin1(name)));
    QVERIFY2(button, name);
    button->click();
}

template <typename Test> int Main(int argc, char** argv)
{
    if (const int code = BeforeApplication(argc, argv); code >= 0)
        return code;
    QApplication app(argc, argv);
    engine::Settings settings; // pages keep their storage for the test's run only
    settings.locale = QStringLiteral("zh-CN");
    StartEngine(settings, QStringLiteral(VANTOR_SKIN_DIR));
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
