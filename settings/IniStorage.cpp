#include "settings/IniStorage.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileSafety.h"
#include "common/Leftovers.h"
#include "common/ModulePath.h"
#include "common/PathText.h"

bool ReadWholeFile(const std::string& path, std::string& text, bool& exists, struct stat& info,
                   std::string& reason)
{
    exists = false;
    FileIdentity identity;
    int error = 0;
    std::string ignored;
    if (!ReadRegularFile(path, text, ignored, &identity, &error)) {
        text.clear();
        if (error == ENOENT)
            return true;   // no file yet: nothing to keep
        reason = error == 0 ? "Not a regular file" : SystemErrorText(error, 1024);
        return false;
    }
    exists = true;
    info = {};
    info.st_mode = static_cast<mode_t>(identity.mode);
    info.st_uid = static_cast<uid_t>(identity.uid);
    info.st_gid = static_cast<gid_t>(identity.gid);
    return true;
}

void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    folder = FolderOf(path);
    name = FileNameOf(path);
}

namespace {

// A save writes NAME.saving-PID-XXXXXX beside the file NAME, where PID is the saving
// process and XXXXXX six letters or digits.
std::string SavePrefix(const std::string& name)
{
    return name + ".saving-";
}

// The process id in a temporary file's name of the save pattern, or 0 when the name
// doesn't follow the pattern exactly.
pid_t SavingProcess(const std::string& entry, const std::string& prefix)
{
    if (entry.compare(0, prefix.size(), prefix) != 0)
        return 0;
    return static_cast<pid_t>(TempFilePid(entry, prefix.size()));
}

}  // namespace

// Removes the temporary files of saves that were killed before their rename: regular
// files of the save pattern, owned by this user, whose process no longer exists. A save
// still running in another process keeps its file; so does anything of other names.
void RemoveStaleSaves(const std::string& folder, const std::string& name)
{
    const std::string prefix = SavePrefix(name);
    const auto pidOf = [&prefix](const std::string& entry) { return static_cast<long>(SavingProcess(entry, prefix)); };
    for (const auto& entry : LeftoversOfDeadRuns(folder, pidOf, false))
        unlink((folder + "/" + entry).c_str());
}

namespace {

bool WriteAll(int fd, const std::string& text, std::string& reason)
{
    const int error = ::WriteAll(fd, text.data(), text.size());
    if (error != 0)
        reason = SystemErrorText(error, 1024);
    return error == 0;
}

}  // namespace

// Writes text to a temporary file in path's folder, flushes it and renames it over path,
// so that path holds either the old or the new content, never a part.
bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode,
                 const struct stat* old, std::string& reason)
{
    std::string folder, name;
    SplitPath(path, folder, name);
    std::string pattern;
    const int fd = CreateTempFile(folder + "/" + SavePrefix(name), pattern);
    if (fd < 0) {
        reason = SystemErrorText(errno, 1024);
        return false;
    }
    bool ok = WriteAll(fd, text, reason);
    if (old) {
        // Keeps the owner when an administrator edits another user's file; an ordinary
        // user can't give files away, and then the file is simply theirs.
        [[maybe_unused]] int ignored = fchown(fd, old->st_uid, old->st_gid);
    }
    if (ok && (fchmod(fd, mode) != 0 || fsync(fd) != 0)) {
        reason = SystemErrorText(errno, 1024);
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        reason = SystemErrorText(errno, 1024);
        ok = false;
    }
    if (ok && rename(pattern.c_str(), path.c_str()) != 0) {
        reason = SystemErrorText(errno, 1024);
        ok = false;
    }
    if (!ok) {
        unlink(pattern.c_str());
        return false;
    }
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {   // makes the rename itself last; the data is safe either way
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

// A settings file reached through a symbolic link is written where the link points,
// leaving the link in place.
std::string WriteTarget(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target = resolved;
    free(resolved);
    return target;
}

mode_t NewFileMode()
{
    const mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
}

