// The engine's helper processes create an empty "locales" folder beside the executable at start,
// even when the locales are found elsewhere. The program writes no file beside itself, so that one
// folder is refused, as if the program lay in a read-only folder (the usual case for an installed
// program, which the engine copes with). Every other folder is created as asked.
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool IsLocalesBesideExecutable(const char* path)
{
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return false;
    exe[n] = '\0';
    char* slash = std::strrchr(exe, '/');
    if (!slash)
        return false;
    slash[1] = '\0';
    const size_t folderLength = std::strlen(exe);
    return std::strncmp(path, exe, folderLength) == 0 && std::strcmp(path + folderLength, "locales") == 0;
}

} // namespace

extern "C" int mkdir(const char* path, mode_t mode)
{
    if (IsLocalesBesideExecutable(path)) {
        errno = EACCES;
        return -1;
    }
    return static_cast<int>(syscall(SYS_mkdirat, AT_FDCWD, path, mode));
}

namespace engine {
// Referenced from the process start-up so that this file is always linked into the executable.
void RefuseLocalesFolder() {}
} // namespace engine
