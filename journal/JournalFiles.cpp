#include "journal/JournalFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileSafety.h"

namespace {

// No run's record comes near this; a bigger file is not one of ours.
constexpr off_t kMaxJournalBytes = 512 * 1024 * 1024;

// Makes folder and the folders above it that are missing, 0700.
bool MakeFolders(const std::string& folder, std::string& reason)
{
    for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            reason = "can't make " + part + ": " + SystemReason(errno);
            return false;
        }
        if (end == std::string::npos)
            return true;
    }
}

// True when what info describes is the user's alone; else false with why, naming it as what.
bool UsersAlone(const struct stat& info, const std::string& what, std::string& reason)
{
    if (info.st_uid != geteuid()) {
        reason = what + " belongs to " + UserName(info.st_uid) + ", not to " + UserName(geteuid());
        return false;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        char mode[16];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        reason = what + " may be written by other users (mode " + mode + ")";
        return false;
    }
    return true;
}

std::string RandomLetters()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    unsigned long long seed = static_cast<unsigned long long>(now.tv_nsec) * 6364136223846793005ull
        + static_cast<unsigned long long>(getpid());
    std::string text;
    for (int i = 0; i < 6; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        text += letters[(seed >> 33) % (sizeof letters - 1)];
    }
    return text;
}

}  // namespace

std::string JournalFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/pinroute";
    const char* home = std::getenv("HOME");
    std::string base = home && home[0] == '/' ? home : "";
    if (base.empty()) {
        // Never a shared folder such as /tmp: another user could plant runs there.
        std::string buffer(16384, '\0');
        struct passwd entry, *found = nullptr;
        if (getpwuid_r(geteuid(), &entry, &buffer[0], buffer.size(), &found) == 0 && found && found->pw_dir
            && found->pw_dir[0] == '/')
            base = found->pw_dir;
    }
    return base.empty() ? std::string() : base + "/.local/state/pinroute";
}

int OpenJournalFolder(bool make, std::string& reason, bool* missing)
{
    if (missing)
        *missing = false;
    const std::string folder = JournalFolder();
    if (folder.empty()) {
        reason = "there is no home folder (HOME is not set, and the password database has none for this user)";
        return -1;
    }
    if (make && !MakeFolders(folder, reason))
        return -1;
    const std::string what = "the journal folder " + folder;
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat link;
        if (lstat(folder.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            reason = what + " is a link, which is never followed there";
        } else {
            reason = what + ": " + SystemReason(error);
            if (missing)
                *missing = error == ENOENT;
        }
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        reason = what + ": " + SystemReason(errno);
        close(fd);
        return -1;
    }
    if (!UsersAlone(info, what, reason)) {
        close(fd);
        return -1;
    }
    return fd;
}

bool ReadJournalFile(int folder, const std::string& name, std::string& text, std::string& reason)
{
    text.clear();
    const int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = errno == ELOOP ? "its file is a link, which is never followed" : SystemReason(errno);
        return false;
    }
    struct stat info;
    bool ok = fstat(fd, &info) == 0;
    if (!ok)
        reason = SystemReason(errno);
    else if (!S_ISREG(info.st_mode))
        ok = false, reason = "its file is not a regular file";
    else if (!UsersAlone(info, "its file", reason))
        ok = false;
    else if (info.st_size > kMaxJournalBytes)
        ok = false, reason = "its file is too big to be one";
    if (ok) {
        text.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = read(fd, &text[done], text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                if (!ok)
                    reason = SystemReason(errno);
                break;
            }
            done += static_cast<size_t>(n);
        }
        text.resize(done);
    }
    close(fd);
    return ok;
}

bool WriteJournalFile(int folder, const std::string& name, const std::string& text, std::string& reason)
{
    // The temporary name holds the process id, as the other writers' do (TempFilePid).
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = "." + name + "." + std::to_string(getpid()) + "-" + RandomLetters();
        fd = openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    int error = WriteAll(fd, text.data(), text.size());
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && renameat(folder, temp.c_str(), folder, name.c_str()) != 0)
        error = errno;
    if (error == 0 && fsync(folder) != 0)
        error = errno;
    if (error != 0) {
        unlinkat(folder, temp.c_str(), 0);
        reason = SystemReason(error);
        return false;
    }
    return true;
}

std::vector<std::string> JournalFileNames(int folder, const std::string& suffix)
{
    std::vector<std::string> names;
    const int fd = dup(folder);
    DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            close(fd);
        return names;
    }
    rewinddir(dir);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > suffix.size() && name[0] != '.'
            && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name);
    }
    closedir(dir);
    return names;
}
