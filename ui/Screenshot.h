#pragma once

#include <QString>
#include <QTimer>

#include <memory>

class QDateTime;
class QImage;
class QWidget;
namespace desktop {
class TrayIcon;
}

// Screenshots of the game: what the game's view shows, at the screen's own pixels, as a PNG in the
// player's pictures folder, and a word of it from a tray icon of its own.
class Screenshot final
{
public:
    Screenshot();
    ~Screenshot();
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;

    // Saves what view shows; returns the file's path, or an empty one when nothing could be saved.
    // Either way the player is told, and Message() says what.
    QString Take(QWidget* view);
    const QString& Message() const { return m_message; }

    // <pictures>/Vantor, where the pictures folder is the desktop's (XDG_PICTURES_DIR, else
    // ~/Pictures).
    static QString Folder();
    // Writes image into folder (made when missing) as "yyyy-MM-dd HH-mm-ss.png" from when, with
    // " (2)", " (3)" … when that name is taken: nothing is ever overwritten. Returns the path, or
    // an empty one with *error saying why.
    static QString Save(const QImage& image, const QString& folder, const QDateTime& when, QString* error);

private:
    void Tell(const QString& text);

    QString m_message;
    std::unique_ptr<desktop::TrayIcon> m_tray;
    QTimer m_hideTray;
};
