#include "platform/engine/Profile.h"

#include <QDir>
#include <QLockFile>
#include <QStorageInfo>
#include <QWebEngineProfile>

#include <cstdio>

namespace engine {
namespace {

// Below this much free space the storage can't take a game's saves reliably: the engine's own
// database files need room to write and compact.
constexpr qint64 kMinFreeBytes = 16 * 1024 * 1024;

void SayForThisRunOnly(const QString& folder, const char* why)
{
    std::fprintf(stderr, "vantor: %s %s, so game saves are kept for this run only\n", qPrintable(folder),
                 why);
}

// Permission answers are never kept: each run, and each request, is refused anew (Qt 6.8 would
// otherwise store them in the profile's folder).
void KeepNoPermissions(QWebEngineProfile* profile)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    profile->setPersistentPermissionsPolicy(QWebEngineProfile::PersistentPermissionsPolicy::AskEveryTime);
#else
    Q_UNUSED(profile); // Qt 6.4 keeps them in memory only
#endif
}

} // namespace

StoredProfile CreateProfile(const QString& storageFolder, bool keepCookies)
{
    StoredProfile stored;
    if (!storageFolder.isEmpty()) {
        auto* lock = new QLockFile(storageFolder + QStringLiteral("/vantor.lock"));
        lock->setStaleLockTime(0); // a lock is stale only when its process is gone
        if (!QDir().mkpath(storageFolder)) {
            SayForThisRunOnly(storageFolder, "can't be made");
        } else if (QStorageInfo(storageFolder).bytesAvailable() < kMinFreeBytes) {
            SayForThisRunOnly(storageFolder, "has no room left");
        } else if (lock->tryLock(0)) {
            stored.lock = lock;
        } else if (lock->error() == QLockFile::LockFailedError) {
            SayForThisRunOnly(storageFolder, "is in use by another running client");
        } else {
            SayForThisRunOnly(storageFolder, "can't be written");
        }
        if (!stored.lock)
            delete lock;
    }
    if (!stored.lock) {
        stored.profile = new QWebEngineProfile(); // off the record: nothing reaches the disk
        KeepNoPermissions(stored.profile);
        return stored;
    }
    stored.profile = new QWebEngineProfile(QStringLiteral("vantor"));
    stored.profile->setPersistentStoragePath(storageFolder);
    stored.profile->setCachePath(storageFolder);
    stored.profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    KeepNoPermissions(stored.profile);
    stored.profile->setPersistentCookiesPolicy(keepCookies ? QWebEngineProfile::AllowPersistentCookies
                                                           : QWebEngineProfile::NoPersistentCookies);
    return stored;
}

} // namespace engine
