#include "exif/Workspace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/Leftovers.h"
#include "common/ModulePath.h"

namespace {

// Removes everything inside the open folder dirFd, then the folder itself (name in parentFd).
// Links are removed as links, never followed; subfolders are entered only when they are
// real folders (O_NOFOLLOW | O_DIRECTORY).
void RemoveTree(int parentFd, const char* name, int depth)
{
    int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        unlinkat(parentFd, name, 0);
        return;
    }
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return;
    }
    while (dirent* entry = readdir(dir)) {
        const char* child = entry->d_name;
        if (std::strcmp(child, ".") == 0 || std::strcmp(child, "..") == 0)
            continue;
        struct stat info;
        if (fstatat(fd, child, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(info.st_mode) && depth < 8)
            RemoveTree(fd, child, depth + 1);
        else
            unlinkat(fd, child, 0);
    }
    closedir(dir);
    unlinkat(parentFd, name, AT_REMOVEDIR);
}

// The folders a workspace may go under, in the order they are tried.
std::vector<std::string> BaseFolders()
{
    std::vector<std::string> bases;
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value && *value == '/')
            bases.push_back(value);
    }
    bases.push_back("/tmp");
    return bases;
}

// The process id in a workspace name "pinroute-PID-XXXXXX", or 0 for any other name.
long WorkspacePid(const std::string& name)
{
    const std::string prefix = "pinroute-";
    const size_t dash = name.find('-', prefix.size());
    if (name.compare(0, prefix.size(), prefix) != 0 || dash == std::string::npos || dash == prefix.size()
        || dash - prefix.size() > 9 || name.size() != dash + 7)
        return 0;
    for (size_t i = prefix.size(); i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
    }
    return std::stol(name.substr(prefix.size(), dash - prefix.size()));
}

// Removes the workspaces that killed instances of this user left in base: folders of our
// name whose process is gone. A live instance's folder, or another user's, stays.
void RemoveDeadWorkspaces(const std::string& base)
{
    for (const auto& name : LeftoversOfDeadRuns(base, WorkspacePid, true))
        RemoveTree(AT_FDCWD, (base + "/" + name).c_str(), 0);
}

}  // namespace

Workspace::Workspace()
{
    for (std::string base : BaseFolders()) {
        while (base.size() > 1 && base.back() == '/')
            base.pop_back();
        RemoveDeadWorkspaces(base);
        std::string pattern = base + "/pinroute-" + std::to_string(getpid()) + "-XXXXXX";
        if (mkdtemp(pattern.data())) {   // mode 0700
            folder = pattern;
            error.clear();
            return;
        }
        error = base + ": " + SystemErrorText(errno, 1024);
    }
}

Workspace::~Workspace()
{
    if (!folder.empty())
        RemoveTree(AT_FDCWD, folder.c_str(), 0);
}

WorkerFiles Workspace::Worker(int n)
{
    if (folder.empty())
        return {};
    std::string sub = folder + "/worker-" + std::to_string(n);
    if (mkdir(sub.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    // Whatever sits under that name must be our own folder, not a link to elsewhere.
    struct stat info;
    if (lstat(sub.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return {};
    return {sub + "/_output.tmp", sub + "/cmd.txt", sub + "/log_update_jpg.txt"};
}
