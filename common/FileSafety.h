#pragma once
#include <cstddef>
#include <string>

struct stat;

// File steps that must never damage what they touch, for every writer: the photo writer,
// its sidecars and the settings file.

// The system's text for an errno value, starting with a small letter ("no space left on device").
std::string SystemReason(int error);

// Which file a path named when it was read, to tell later whether it is still that file
// with that content: another program's edit changes the inode, size or times.
struct FileIdentity {
    unsigned long long device = 0, inode = 0;
    long long size = -1;
    long long mtimeSeconds = 0, mtimeNanos = 0, ctimeSeconds = 0, ctimeNanos = 0;
    unsigned long long links = 0;   // hard links to the file
    unsigned mode = 0;              // type and permission bits
    long long uid = -1, gid = -1;
    bool operator==(const FileIdentity& other) const;
};

// The identity of a file from its stat.
FileIdentity IdentityOf(const struct stat& info);

// The account name of a user id, or the number when it has none.
std::string UserName(long long uid);

// Reads a regular file whole; false with the system's reason. Never blocks on a FIFO.
// identity, when given, gets what the file was as it was read; error, when given, the errno
// of a failure (0 for a file that is not regular, EISDIR for a folder).
bool ReadRegularFile(const std::string& path, std::string& bytes, std::string& reason,
                     FileIdentity* identity = nullptr, int* error = nullptr);

// True when the user may write the file at path in place (effective ids); otherwise
// false with "WHAT is read-only" or "WHAT belongs to USER".
bool MayWriteInPlace(const std::string& path, const char* what, std::string& reason);

// Writes size bytes to fd, all of them; 0, or the errno of the failure (ENOSPC for a
// write that made no progress).
int WriteAll(int fd, const char* data, size_t size);

// Writes a private working file, never through a link at its name, replacing its content.
bool WritePrivateFile(const std::string& path, const std::string& bytes, std::string& reason);

// Flushes a folder's entries to disk (after renames in it); 0 or the errno of the failure.
int SyncFolder(const std::string& folder);

// Creates a temporary file named base + the process id + "-" + six random letters or digits
// ("/photos/.IMG_1.jpg.pinroute-4711-a8Zk2Q"), exclusively and with mode 0600, so that a
// link planted under the name fails it. The descriptor, or -1 with errno; path gets the name.
int CreateTempFile(const std::string& base, std::string& path);

// The process id in such a name, read from position from on (digits, "-", six letters or
// digits, and nothing after); 0 when the name is not one.
long TempFilePid(const std::string& name, size_t from);

// Replaces the file at path (no link followed at the name) with bytes: a temporary file
// beside it, written, flushed, renamed over it, and the folder flushed, so that after a
// crash the file holds either all of the old or all of the new. false with reason.
bool ReplaceFileSafely(const std::string& path, const std::string& bytes, unsigned mode, std::string& reason);

// The fall-back used where the file system can't rename without replacing: link to the
// new name (which fails on an existing one), then drop the old name.
// Returns 0, or the errno value of the step that failed; the old name stays on failure.
int LinkThenUnlink(const std::string& from, const std::string& to);

// Renames from to to, never replacing an existing entry; 0 or an errno value.
int RenameNoReplace(const std::string& from, const std::string& to);
