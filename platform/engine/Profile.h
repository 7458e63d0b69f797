#pragma once

#include <QString>

class QLockFile;
class QWebEngineProfile;

namespace engine {

// The engine profile of every page. With a storage folder, pages' local storage and IndexedDB (and
// with them the movies' SharedObjects) are kept there between runs; cookies only when asked; the
// HTTP cache stays in memory. The folder is held by one process at a time: when it is taken, can't
// be made or can't be written, the profile keeps everything for this run only, and stderr says so.
struct StoredProfile
{
    QWebEngineProfile* profile = nullptr;
    QLockFile* lock = nullptr; // held while the profile uses the folder
};

StoredProfile CreateProfile(const QString& storageFolder, bool keepCookies);

} // namespace engine
