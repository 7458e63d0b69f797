#include "ui/Screenshot.h"

#include "platform/desktop/ProgramIcon.h"
#include "platform/desktop/TrayIcon.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QStandardPaths>
#include <QWidget>

#include <cstdio>

namespace {
// The tray icon that tells of a screenshot goes again after its message.
constexpr int kTrayMs = 10'000;
constexpr int kMostNames = 100; // " (2)" to " (100)" within one second
} // namespace

Screenshot::Screenshot()
{
    m_hideTray.setSingleShot(true);
    QObject::connect(&m_hideTray, &QTimer::timeout, &m_hideTray, [this] {
        if (m_tray)
            m_tray->Remove();
    });
}

Screenshot::~Screenshot() = default;

QString Screenshot::Folder()
{
    // Qt reads the desktop's user-dirs.dirs, as xdg-user-dir does, and falls back to ~/Pictures.
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + QStringLiteral("/Vantor");
}

QString Screenshot::Save(const QImage& image, const QString& folder, const QDateTime& when, QString* error)
{
    if (image.isNull()) {
        *error = QStringLiteral("游戏画面还没有内容");
        return {};
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("无法创建文件夹 %1").arg(folder);
        return {};
    }
    const QString stem = folder + u'/' + when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    for (int n = 1; n <= kMostNames; ++n) {
        const QString path =
            n == 1 ? stem + QStringLiteral(".png") : stem + QStringLiteral(" (%1).png").arg(n);
        QFile file(path);
        // NewOnly: a name that exists (or appears meanwhile) is never written over.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            *error = QStringLiteral("无法写入文件夹 %1").arg(folder);
            return {};
        }
        if (!image.save(&file, "PNG") || !file.flush()) {
            file.close();
            file.remove();
            *error = QStringLiteral("无法写入 %1").arg(path);
            return {};
        }
        return path;
    }
    *error = QStringLiteral("这一秒的截图太多");
    return {};
}

QString Screenshot::Take(QWidget* view)
{
    QString error;
    // grab() renders the view's own pixels at its device pixel ratio: the screen's own pixels.
    const QImage image = view ? view->grab().toImage() : QImage();
    const QString path = Save(image, Folder(), QDateTime::currentDateTime(), &error);
    if (path.isEmpty()) {
        Tell(QStringLiteral("截图没有保存：") + error);
        std::fprintf(stderr, "vantor: no screenshot saved: %s\n", qPrintable(error));
    } else {
        Tell(QStringLiteral("截图已保存：") + path);
    }
    return path;
}

void Screenshot::Tell(const QString& text)
{
    m_message = text;
    if (!m_tray)
        m_tray = std::make_unique<desktop::TrayIcon>([](int) {});
    if (m_tray->Add(QStringLiteral("微端"), desktop::ProgramIcon()) &&
        m_tray->ShowMessage(QStringLiteral("截图"), text))
        m_hideTray.start(kTrayMs);
}
