#include "exif/SafeWrite.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <new>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include "common/Leftovers.h"
#include "common/ModulePath.h"
#include "common/PathText.h"

namespace {

bool WriteAll(int fd, const char* data, size_t size, std::string& reason)
{
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            reason = SystemReason(n < 0 ? errno : ENOSPC);
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}


unsigned char Byte(const std::string& bytes, size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

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
    return id;
}

std::string UserName(long long uid)
{
    if (const passwd* user = getpwuid(static_cast<uid_t>(uid)))
        return user->pw_name;
    return std::to_string(uid);
}

std::string GroupName(long long gid)
{
    if (const group* g = getgrgid(static_cast<gid_t>(gid)))
        return g->gr_name;
    return std::to_string(gid);
}

// The names of the file's extended attributes (ACLs are among them), or false with the
// system's reason. A file system without them has none.
bool AttributeNames(int fd, std::vector<std::string>& names, std::string& reason)
{
    names.clear();
    std::vector<char> list;
    for (;;) {
        const ssize_t size = flistxattr(fd, nullptr, 0);
        if (size < 0 && (errno == ENOTSUP || errno == EOPNOTSUPP))
            return true;
        if (size < 0) {
            reason = SystemReason(errno);
            return false;
        }
        list.resize(static_cast<size_t>(size));
        const ssize_t got = flistxattr(fd, list.data(), list.size());
        if (got < 0 && errno == ERANGE)
            continue;   // it grew meanwhile
        if (got < 0) {
            reason = SystemReason(errno);
            return false;
        }
        list.resize(static_cast<size_t>(got));
        break;
    }
    for (size_t i = 0; i < list.size();) {
        const std::string name(&list[i]);
        names.push_back(name);
        i += name.size() + 1;
    }
    return true;
}

// Puts every extended attribute of the file at from that the user can read onto the open
// file to; false with the attribute that can't be kept and why.
bool CopyAttributes(const std::string& from, int to, std::string& reason)
{
    const int fd = open(from.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    std::vector<std::string> names;
    bool ok = AttributeNames(fd, names, reason);
    for (size_t n = 0; ok && n < names.size(); ++n) {
        const std::string& name = names[n];
        std::vector<char> value;
        ssize_t size;
        for (;;) {
            size = fgetxattr(fd, name.c_str(), nullptr, 0);
            if (size < 0)
                break;
            value.resize(static_cast<size_t>(size));
            size = fgetxattr(fd, name.c_str(), value.data(), value.size());
            if (size >= 0 || errno != ERANGE)
                break;
        }
        if (size < 0 && (errno == EACCES || errno == EPERM || errno == ENODATA))
            continue;   // not the user's to read, or gone meanwhile
        if (size < 0) {
            reason = "the extended attribute " + name + " can't be read: " + SystemReason(errno);
            ok = false;
            break;
        }
        if (fsetxattr(to, name.c_str(), value.data(), static_cast<size_t>(size), 0) != 0) {
            reason = "the extended attribute " + name + " can't be kept: " + SystemReason(errno);
            ok = false;
        }
    }
    close(fd);
    return ok;
}

const char kCopyTag[] = ".pinroute-";
const size_t kCopyTagLength = sizeof kCopyTag - 1;
const size_t kRandomLength = 6;   // mkostemp's XXXXXX
// Room a tag write may add to the photo, on top of its own size, before the disk counts as full.
const unsigned long long kSpareBytes = 1 << 20;

}  // namespace

bool FileIdentity::operator==(const FileIdentity& other) const
{
    return device == other.device && inode == other.inode && size == other.size
        && mtimeSeconds == other.mtimeSeconds && mtimeNanos == other.mtimeNanos
        && ctimeSeconds == other.ctimeSeconds && ctimeNanos == other.ctimeNanos;
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

std::string SystemReason(int error)
{
    std::string text = SystemErrorText(error, 1024);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

size_t ScanOffset(const std::string& bytes)
{
    if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || Byte(bytes, 1) != 0xD8)
        return std::string::npos;
    size_t i = 2;
    while (i + 1 < bytes.size()) {
        if (Byte(bytes, i) != 0xFF)
            return std::string::npos;
        if (Byte(bytes, i + 1) == 0xFF) {   // a fill byte before a marker
            ++i;
            continue;
        }
        unsigned marker = Byte(bytes, i + 1);
        if (marker == 0xDA)
            return i;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x00)
            return std::string::npos;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {   // markers without a length
            i += 2;
            continue;
        }
        if (i + 3 >= bytes.size())
            return std::string::npos;
        size_t length = (static_cast<size_t>(Byte(bytes, i + 2)) << 8) | Byte(bytes, i + 3);
        if (length < 2)
            return std::string::npos;
        i += 2 + length;
    }
    return std::string::npos;
}

size_t ScanHeaderLength(const std::string& bytes, size_t offset)
{
    if (offset == std::string::npos || offset + 3 >= bytes.size())
        return 0;
    size_t length = (static_cast<size_t>(Byte(bytes, offset + 2)) << 8) | Byte(bytes, offset + 3);
    if (length < 2 || offset + 2 + length > bytes.size())
        return 0;
    return 2 + length;
}

bool ReadRegularFile(const std::string& path, std::string& bytes, std::string& reason, FileIdentity* identity)
{
    bytes.clear();
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    struct stat info;
    bool ok = fstat(fd, &info) == 0;
    if (!ok)
        reason = SystemReason(errno);
    if (ok && !S_ISREG(info.st_mode)) {
        reason = "not a regular file";
        ok = false;
    }
    if (ok && identity)
        *identity = IdentityOf(info);
    size_t done = 0;
    try {
        if (ok)
            bytes.resize(static_cast<size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        reason = "too big to read into memory";
        ok = false;
    }
    while (ok) {
        if (done == bytes.size())
            break;   // a file that grew since fstat is read as it was then
        ssize_t n = read(fd, &bytes[done], bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            reason = SystemReason(errno);
            ok = false;
        } else if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n > 0 ? n : 0);
    }
    close(fd);
    bytes.resize(ok ? done : 0);
    return ok;
}

bool WritePrivateFile(const std::string& path, const std::string& bytes, std::string& reason)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        reason = path + ": " + SystemReason(errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes.data(), bytes.size(), reason);
    if (close(fd) != 0 && ok) {
        reason = SystemReason(errno);
        ok = false;
    }
    return ok;
}

bool IsCopyName(const std::string& name, long& pid)
{
    size_t tag = name.rfind(kCopyTag);
    if (name.size() < 2 || name[0] != '.' || tag == std::string::npos || tag < 2)
        return false;
    size_t digits = tag + kCopyTagLength;
    size_t dash = name.find('-', digits);
    if (dash == std::string::npos || dash == digits || dash - digits > 9
        || name.size() != dash + 1 + kRandomLength)
        return false;
    for (size_t i = digits; i < dash; ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    for (size_t i = dash + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    pid = std::stol(name.substr(digits, dash - digits));
    return pid > 0;
}

PhotoCopy::~PhotoCopy()
{
    if (fd >= 0)
        close(fd);
    if (!replaced && !path.empty())
        unlink(path.c_str());
}

bool PhotoCopy::CreateFor(const std::string& targetPath, size_t size, std::string& reason)
{
    struct stat info;
    if (lstat(targetPath.c_str(), &info) == 0 || errno != ENOENT)
        return Create(targetPath, size, reason);
    fresh = true;
    photo = targetPath;
    mode = 0644;
    return MakeCopy(size, reason);
}

bool PhotoCopy::Create(const std::string& photoPath, size_t size, std::string& reason)
{
    struct stat info;
    if (stat(photoPath.c_str(), &info) != 0) {
        reason = SystemReason(errno);
        return false;
    }
    photo = photoPath;
    mode = info.st_mode & 07777;
    uid = info.st_uid;
    gid = info.st_gid;
    atimeSeconds = info.st_atim.tv_sec;
    atimeNanos = info.st_atim.tv_nsec;
    mtimeSeconds = info.st_mtim.tv_sec;
    mtimeNanos = info.st_mtim.tv_nsec;
    return MakeCopy(size, reason);
}

bool PhotoCopy::MakeCopy(size_t size, std::string& reason)
{
    const std::string& photoPath = photo;
    std::string folder = FolderOf(photoPath);
    struct statvfs space;
    if (statvfs(folder.c_str(), &space) == 0
        && static_cast<unsigned long long>(space.f_bavail) * space.f_frsize < size + kSpareBytes) {
        reason = SystemReason(ENOSPC);
        return false;
    }

    // ".NAME.pinroute-PID-XXXXXX", with NAME shortened so that the whole fits NAME_MAX.
    std::string name = photoPath.substr(photoPath.rfind('/') + 1);
    std::string tail = kCopyTag + std::to_string(getpid()) + "-XXXXXX";
    if (name.size() + tail.size() + 1 > 255)
        name.resize(255 - tail.size() - 1);
    std::string pattern = (folder == "/" ? "" : folder) + "/." + name + tail;
    // mkostemp creates with O_CREAT | O_EXCL, mode 0600: a link planted under the name fails it.
    fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    path = pattern;
    return true;
}

bool PhotoCopy::Reopen(std::string& reason)
{
    if (fd >= 0)
        close(fd);
    fd = open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = SystemReason(fd < 0 ? errno : EINVAL);
        return false;
    }
    return true;
}

bool PhotoCopy::Write(const char* data, size_t size, std::string& reason)
{
    return fd >= 0 && WriteAll(fd, data, size, reason);
}

int PhotoCopy::Sync()
{
    return fd >= 0 && fsync(fd) == 0 ? 0 : errno;
}

bool PhotoCopy::Replace(std::string& reason)
{
    if (fd < 0)
        return false;
    if (fresh)
        return PlaceNew(reason);
    // Only root may give a file away, and only a member may give it a group: a photo whose
    // owner or group can't be kept is not written.
    const bool ownerDiffers = static_cast<long long>(geteuid()) != uid;
    const bool groupDiffers = static_cast<long long>(getegid()) != gid;
    if ((ownerDiffers || groupDiffers)
        && fchown(fd, ownerDiffers ? static_cast<uid_t>(uid) : static_cast<uid_t>(-1),
                  groupDiffers ? static_cast<gid_t>(gid) : static_cast<gid_t>(-1)) != 0) {
        reason = ownerDiffers ? "the photo belongs to " + UserName(uid)
                              : "the photo's group " + GroupName(gid) + " can't be kept";
        return false;
    }
    // The mode first: an ACL set after it keeps its own mask.
    struct timespec times[2] = {{static_cast<time_t>(atimeSeconds), atimeNanos},
                                {static_cast<time_t>(mtimeSeconds), mtimeNanos}};
    if (fchmod(fd, mode) != 0 || !CopyAttributes(photo, fd, reason) || futimens(fd, times) != 0) {
        if (reason.empty())
            reason = SystemReason(errno);
        return false;
    }
    // Another program's edit since the photo was read would be lost: the photo must still be
    // the very file that was read. What changes between this check and the rename is lost
    // all the same; the window is as short as two system calls.
    struct stat info;
    if (expected.size >= 0 && (stat(photo.c_str(), &info) != 0 || !(IdentityOf(info) == expected))) {
        reason = "the photo changed during the run; run again";
        return false;
    }
    if (rename(path.c_str(), photo.c_str()) != 0) {
        reason = SystemReason(errno);
        return false;
    }
    Placed();
    return true;
}

bool PhotoCopy::PlaceNew(std::string& reason)
{
    if (fchmod(fd, mode) != 0) {
        reason = SystemReason(errno);
        return false;
    }
    // Never over a file made under the name since the copy was: no-replace, or where the
    // file system lacks it, a link (which fails on an existing name) and an unlink.
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, photo.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS) {
            reason = SystemReason(errno);
            return false;
        }
        if (link(path.c_str(), photo.c_str()) != 0) {
            reason = SystemReason(errno);
            return false;
        }
        unlink(path.c_str());
    }
    Placed();
    return true;
}

void PhotoCopy::Placed()
{
    replaced = true;
    close(fd);
    fd = -1;
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

void RemoveStaleCopies(const std::string& folder)
{
    // Only a copy whose maker is gone; a live process may still be writing it.
    const auto pidOf = [](const std::string& name) {
        long pid = 0;
        return IsCopyName(name, pid) ? pid : 0L;
    };
    const std::string base = folder.empty() ? "." : folder;
    for (const auto& name : LeftoversOfDeadRuns(base, pidOf, false))
        unlink((base + "/" + name).c_str());
}
