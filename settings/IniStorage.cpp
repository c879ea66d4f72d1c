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

#include "common/Leftovers.h"
#include "common/ModulePath.h"
#include "common/PathText.h"

// The whole file into text. A missing file is no failure: exists turns false and text
// stays empty. Anything that is not a regular file, or can't be read, is a failure.
// O_NONBLOCK keeps a FIFO without a writer from blocking the open.
bool ReadWholeFile(const std::string& path, std::string& text, bool& exists, struct stat& info,
                   std::string& reason)
{
    text.clear();
    exists = false;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        reason = SystemErrorText(errno, 1024);
        return false;
    }
    bool ok = fstat(fd, &info) == 0;
    if (!ok)
        reason = SystemErrorText(errno, 1024);
    else if (!S_ISREG(info.st_mode))
        reason = S_ISDIR(info.st_mode) ? SystemErrorText(EISDIR, 1024) : "Not a regular file";
    ok = ok && S_ISREG(info.st_mode);
    char buffer[65536];
    while (ok) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            reason = SystemErrorText(errno, 1024);
            ok = false;
        } else if (count == 0) {
            break;
        } else {
            text.append(buffer, static_cast<size_t>(count));
        }
    }
    close(fd);
    exists = ok;
    return ok;
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
    long long pid = 0;
    size_t p = prefix.size();
    for (; p < entry.size() && entry[p] >= '0' && entry[p] <= '9' && pid <= INT_MAX; ++p)
        pid = pid * 10 + (entry[p] - '0');
    if (p == prefix.size() || pid <= 0 || pid > INT_MAX || entry.size() != p + 7
        || entry[p] != '-')
        return 0;
    for (++p; p < entry.size(); ++p) {
        const char c = entry[p];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return 0;
    }
    return static_cast<pid_t>(pid);
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
    for (size_t done = 0; done < text.size();) {
        const ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            reason = SystemErrorText(count < 0 ? errno : ENOSPC, 1024);
            return false;
        }
        done += static_cast<size_t>(count);
    }
    return true;
}

}  // namespace

// Writes text to a temporary file in path's folder, flushes it and renames it over path,
// so that path holds either the old or the new content, never a part.
bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode,
                 const struct stat* old, std::string& reason)
{
    std::string folder, name;
    SplitPath(path, folder, name);
    std::string pattern = folder + "/" + SavePrefix(name) + std::to_string(getpid()) + "-XXXXXX";
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
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

