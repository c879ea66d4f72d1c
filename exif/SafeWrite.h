#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "common/FileSafety.h"

// File steps of a photo write that must never damage the photo: reading it whole,
// private working files, and a hidden copy in the photo's folder that replaces the
// photo only when asked to.

// Offset of the first start-of-scan marker (FF DA) after well-formed segments from the
// start-of-image marker; npos when bytes don't begin as a JPEG does. Everything from
// there to the end is the image data, which a tag write leaves as it is.
size_t ScanOffset(const std::string& bytes);

// The length of the start-of-scan segment at offset (marker included), or 0.
size_t ScanHeaderLength(const std::string& bytes, size_t offset);

// True when name is one of our hidden copies (".NAME.pinroute-PID-XXXXXX"); pid is then
// the process that made it.
bool IsCopyName(const std::string& name, long& pid);

// A hidden sibling of a photo, created exclusively (never through a link) and removed
// again unless Replace() put it in the photo's place.
class PhotoCopy {
public:
    PhotoCopy() = default;
    ~PhotoCopy();
    PhotoCopy(const PhotoCopy&) = delete;
    PhotoCopy& operator=(const PhotoCopy&) = delete;

    // photoPath must be the photo's real path (no link). Checks free space for size bytes
    // first. false with reason ("no space left on device", ...).
    bool Create(const std::string& photoPath, size_t size, std::string& reason);
    // Create for a file that may not exist yet (a new sidecar): a new file gets mode 0644,
    // and Replace then never replaces a file that appeared under its name meanwhile.
    bool CreateFor(const std::string& targetPath, size_t size, std::string& reason);
    // Opens the copy again after a tool rewrote it at its path, maybe as a new file.
    bool Reopen(std::string& reason);
    // Appends size bytes to the copy.
    bool Write(const char* data, size_t size, std::string& reason);
    // Flushes the copy to disk; safe to call from another thread while the caller waits.
    int Sync();
    // Replace() then goes ahead only while the photo is still the file read as identity.
    void Expect(const FileIdentity& identity) { expected = identity; }
    // Gives the copy the photo's owner, permission bits, times and extended attributes (ACLs
    // included) and renames it over the photo, unless the photo changed since it was read
    // ("the photo changed during the run; run again") or one of those can't be kept. An owner
    // or group that can't be kept may stay the writer's where that grants and takes nothing:
    // the group's bits equal the others' (and for the owner, the owner's bits too), no set-id
    // bit and no ACL. The new name lasts a power cut only once SyncFolder has flushed the folder.
    bool Replace(std::string& reason);
    const std::string& Path() const { return path; }

private:
    bool MakeCopy(size_t size, std::string& reason);
    bool KeepOwnership(std::string& reason);
    bool PlaceNew(std::string& reason);
    void Placed();

    std::string photo;
    std::string path;
    int fd = -1;
    bool replaced = false;
    FileIdentity expected;       // size -1: not checked
    bool fresh = false;          // no file at photo when the copy was made
    unsigned mode = 0;           // the photo's permission bits
    long long uid = -1, gid = -1;
    long long atimeSeconds = 0, atimeNanos = 0, mtimeSeconds = 0, mtimeNanos = 0;
};

// Removes the hidden copies that killed runs left in folder; never any other file.
void RemoveStaleCopies(const std::string& folder);

// RemoveStaleCopies in the folder of each photo and, for a link, of the file it leads to:
// before a run writes there.
void RemoveLeftoverCopies(const std::vector<std::string>& photoPaths);
