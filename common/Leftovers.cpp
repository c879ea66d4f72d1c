#include "common/Leftovers.h"

#include <cerrno>
#include <csignal>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> LeftoversOfDeadRuns(const std::string& folder,
                                             const std::function<long(const std::string& name)>& pidOf,
                                             bool folders)
{
    std::vector<std::string> dead;
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return dead;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return dead;
    }
    while (const dirent* entry = readdir(dir)) {
        const long pid = pidOf(entry->d_name);
        struct stat info;
        if (pid <= 0 || fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0
            || (folders ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) || info.st_uid != geteuid())
            continue;
        if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            dead.push_back(entry->d_name);
    }
    closedir(dir);
    return dead;
}
