#include "exif/SafeWrite.h"

#include <cctype>
#include <cstdlib>
#include <set>
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



unsigned char Byte(const std::string& bytes, size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
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

// True when the file at path has an access ACL: then its group bits are the ACL's mask,
// and a new owning group would take over the group entry.
bool HasAccessAcl(const std::string& path)
{
    return getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0) >= 0;
}

// "rw-" for the three permission bits of one class (mode >> shift).
std::string BitsText(unsigned mode, int shift)
{
    const unsigned bits = (mode >> shift) & 7;
    return std::string(bits & 4 ? "r" : "-") + (bits & 2 ? "w" : "-") + (bits & 1 ? "x" : "-");
}

// Whether a copy that can't take the photo's owner or group changes anybody's access, and
// if it does, why (", whose permissions rw- differ from others' r--").
struct OwnershipLoss {
    bool ownerSafe = false;
    bool groupSafe = false;
    std::string ownerWhy;
    std::string groupWhy;
};

OwnershipLoss LossOfOwnership(unsigned mode, bool acl)
{
    OwnershipLoss loss;
    const std::string user = BitsText(mode, 6), group = BitsText(mode, 3), other = BitsText(mode, 0);
    if (acl) {
        loss.ownerWhy = loss.groupWhy = ", and it has an access list (ACL) that names them";
    } else if (mode & (S_ISUID | S_ISGID)) {
        loss.ownerWhy = loss.groupWhy = ", and it runs as its owner or group (set-id bits)";
    } else {
        loss.groupSafe = group == other;
        loss.ownerSafe = loss.groupSafe && user == other;
        if (!loss.groupSafe)
            loss.groupWhy = ", whose permissions " + group + " differ from others' " + other;
        if (user != other)
            loss.ownerWhy = ", whose permissions " + user + " differ from others' " + other;
        else if (!loss.groupSafe)
            loss.ownerWhy = ", and its group's permissions " + group + " differ from others' " + other;
    }
    return loss;
}

const char kCopyTag[] = ".pinroute-";
const size_t kCopyTagLength = sizeof kCopyTag - 1;
// Room a tag write may add to the photo, on top of its own size, before the disk counts as full.
const unsigned long long kSpareBytes = 1 << 20;

}  // namespace




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



bool IsCopyName(const std::string& name, long& pid)
{
    const size_t tag = name.rfind(kCopyTag);
    if (name.size() < 2 || name[0] != '.' || tag == std::string::npos || tag < 2)
        return false;
    pid = TempFilePid(name, tag + kCopyTagLength);
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
    const size_t tailLength = kCopyTagLength + std::to_string(getpid()).size() + 7;
    if (name.size() + tailLength + 1 > 255)
        name.resize(255 - tailLength - 1);
    fd = CreateTempFile((folder == "/" ? "" : folder) + "/." + name + kCopyTag, path);
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
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
    if (fd < 0)
        return false;
    const int error = WriteAll(fd, data, size);
    if (error != 0)
        reason = SystemReason(error);
    return error == 0;
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
    if (!KeepOwnership(reason))
        return false;
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

bool PhotoCopy::KeepOwnership(std::string& reason)
{
    // Only root may give a file away, and only a member may give it a group. Where the owner
    // or group can't be kept, the copy stays the writer's; that changes nobody's access only
    // while the bits of the class that changes hands equal those of everyone else.
    const OwnershipLoss loss = LossOfOwnership(mode, HasAccessAcl(photo));
    if (static_cast<long long>(geteuid()) != uid
        && fchown(fd, static_cast<uid_t>(uid), static_cast<gid_t>(-1)) != 0 && !loss.ownerSafe) {
        reason = "the photo belongs to " + UserName(uid) + loss.ownerWhy;
        return false;
    }
    if (static_cast<long long>(getegid()) != gid
        && fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(gid)) != 0 && !loss.groupSafe) {
        reason = "the photo's group " + GroupName(gid) + " can't be kept" + loss.groupWhy;
        return false;
    }
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

void RemoveLeftoverCopies(const std::vector<std::string>& photoPaths)
{
    // The copies lie beside the file a link leads to, which may be in another folder.
    std::set<std::string> folders;
    for (const auto& path : photoPaths) {
        folders.insert(FolderOf(path));
        if (char* real = realpath(path.c_str(), nullptr)) {
            folders.insert(FolderOf(real));
            std::free(real);
        }
    }
    for (const auto& folder : folders)
        RemoveStaleCopies(folder);
}
