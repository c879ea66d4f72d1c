#include "common/FileSafety.h"
#include "common/PathText.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <new>
#include <string>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/ModulePath.h"

FileIdentity IdentityOf(const struct stat& info)
{
    FileIdentity id;
    id.device = info.st_dev;
    id.inode = info.st_ino;
    id.size = info.st_size;
    id.mtimeSeconds = info.st_mtim.tv_sec;
    id.mtimeNanos = info.st_mtim.tv_nsec;
    id.ctimeSeconds = info.st_ctim.tv_sec;
    id.ctimeNanos = info.st_ctim.tv_nsec;
    id.links = info.st_nlink;
    id.mode = info.st_mode;
    id.uid = info.st_uid;
    id.gid = info.st_gid;
    return id;
}

std::string UserName(long long uid)
{
    if (const passwd* user = getpwuid(static_cast<uid_t>(uid)))
        return user->pw_name;
    return std::to_string(uid);
}

bool FileIdentity::operator==(const FileIdentity& other) const
{
    return device == other.device && inode == other.inode && size == other.size
        && mtimeSeconds == other.mtimeSeconds && mtimeNanos == other.mtimeNanos
        && ctimeSeconds == other.ctimeSeconds && ctimeNanos == other.ctimeNanos;
}

std::string SystemReason(int error)
{
    std::string text = SystemErrorText(error, 1024);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

bool MayWriteInPlace(const std::string& path, const char* what, std::string& reason)
{
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0)
        return true;
    const int error = errno;
    struct stat info;
    if (error == EACCES && stat(path.c_str(), &info) == 0) {
        reason = static_cast<uid_t>(info.st_uid) == geteuid() ? std::string(what) + " is read-only"
                                                           : std::string(what) + " belongs to " + UserName(info.st_uid);
    } else {
        reason = std::string(what) + " can't be written: " + SystemReason(error);
    }
    return false;
}

bool ReadRegularFile(const std::string& path, std::string& bytes, std::string& reason, FileIdentity* identity,
                     int* error)
{
    bytes.clear();
    int code = 0;   // errno of the failure; 0 for a file that is not regular, EISDIR for a folder
    const auto fail = [&](int failure, const std::string& why) {
        code = failure;
        reason = why;
        return false;
    };
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(errno, SystemReason(errno));
        if (error)
            *error = code;
        return false;
    }
    struct stat info;
    bool ok = fstat(fd, &info) == 0 || fail(errno, SystemReason(errno));
    if (ok && !S_ISREG(info.st_mode))
        ok = fail(S_ISDIR(info.st_mode) ? EISDIR : 0, "not a regular file");
    if (ok && identity)
        *identity = IdentityOf(info);
    size_t done = 0;
    try {
        if (ok)
            bytes.resize(static_cast<size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        ok = fail(ENOMEM, "too big to read into memory");
    }
    while (ok) {
        if (done == bytes.size())
            break;   // a file that grew since fstat is read as it was then
        ssize_t n = read(fd, &bytes[done], bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = fail(errno, SystemReason(errno));
        else if (n == 0)
            break;
        done += static_cast<size_t>(n > 0 ? n : 0);
    }
    close(fd);
    bytes.resize(ok ? done : 0);
    if (error)
        *error = code;
    return ok;
}

int WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

bool WritePrivateFile(const std::string& path, const std::string& bytes, std::string& reason)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        reason = path + ": " + SystemReason(errno);
        return false;
    }
    const int written = WriteAll(fd, bytes.data(), bytes.size());
    bool ok = written == 0;
    if (!ok)
        reason = SystemReason(written);
    if (close(fd) != 0 && ok) {
        reason = SystemReason(errno);
        ok = false;
    }
    return ok;
}

int SyncFolder(const std::string& folder)
{
    int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return errno;
    const int error = fsync(folderFd) == 0 ? 0 : errno;
    close(folderFd);
    return error;
}

int CreateTempFile(const std::string& base, std::string& path)
{
    std::string pattern = base + std::to_string(getpid()) + "-XXXXXX";
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);   // O_CREAT | O_EXCL, mode 0600
    if (fd >= 0)
        path = pattern;
    return fd;
}

long TempFilePid(const std::string& name, size_t from)
{
    const size_t dash = name.find('-', from);
    const size_t randomLength = 6;   // mkostemp's XXXXXX
    if (from >= name.size() || dash == std::string::npos || dash == from || dash - from > 9
        || name.size() != dash + 1 + randomLength)
        return 0;
    for (size_t i = from; i < dash; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return 0;
    }
    for (size_t i = dash + 1; i < name.size(); ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return 0;
    }
    return std::stol(name.substr(from, dash - from));
}

bool ReplaceFileSafely(const std::string& path, const std::string& bytes, unsigned mode, std::string& reason)
{
    std::string temp;
    const int fd = CreateTempFile(FolderOf(path) + "/." + FileNameOf(path) + ".", temp);
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    int error = WriteAll(fd, bytes.data(), bytes.size());
    if (error == 0 && (fchmod(fd, mode) != 0 || fsync(fd) != 0))
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error == 0)
        error = SyncFolder(FolderOf(path));
    if (error != 0) {
        unlink(temp.c_str());
        reason = SystemReason(error);
        return false;
    }
    return true;
}

int LinkThenUnlink(const std::string& from, const std::string& to)
{
    if (link(from.c_str(), to.c_str()) != 0)
        return errno;
    if (unlink(from.c_str()) != 0) {
        int error = errno;
        unlink(to.c_str());   // keep the photo under its old name only
        return error;
    }
    return 0;
}

int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    int error = errno;
    if (error == EINVAL || error == ENOSYS)   // file system or kernel without the flag
        return LinkThenUnlink(from, to);
    return error;
}
