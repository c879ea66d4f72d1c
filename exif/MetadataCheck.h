#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/Text.h"

// One tag as exiv2 lists it: "Exif.GPSInfo.GPSLatitude", "Rational", "51/1 28/1 0/1".
struct TagValue {
    std::string key;
    std::string type;
    std::string value;
    bool operator==(const TagValue& other) const
    {
        return key == other.key && type == other.type && value == other.value;
    }
};

// The check of a metadata rewrite compares what the photo means, not where it is stored.
// exiv2 lists the metadata before and after, and every tag keeps its type, count and
// value in exiv2's decoded view, apart from the tags the command names and the
// bookkeeping a rewrite must move. What the moved offsets point at (the thumbnail and the
// embedded previews) is extracted by exiv2 and compared byte for byte.
struct RewriteCheck {
    enum class Verdict {
        NotRun,   // the check could not run; reason says why
        Kept,     // every tag and preview is as it was, and every added tag reads back
        Lost,     // something was lost, changed or not written; reason says what
    };
    std::string before;    // a private file (or link) holding the photo's metadata as it was
    std::string after;     // the same after the tool's run
    std::string command;   // the command file that was applied
    Verdict verdict = Verdict::NotRun;
    std::string reason;
    Text reasonText;       // reason as a marked text for the window, when the check worded it
    // Once listed: the tags the command names as they were before (absent ones left out),
    // and fingerprints of all the metadata before and after (see MetadataFingerprints).
    std::vector<TagValue> namedBefore;
    uint64_t beforeHash = 0;
    uint64_t afterHash = 0;
};

// Checks every pair with one listing run of the tool, and one preview extraction run when
// some photo has a thumbnail or preview. The previews go to scratchFolder, a private
// folder, and are removed again.
void CheckRewrites(std::vector<RewriteCheck>& checks, const std::string& scratchFolder);

// True for a tag whose value is bookkeeping that a rewrite may change: an IFD pointer, the
// offset or length of a data block, the maker note's offset and byte order, the length
// field at the start of a Canon array. Only its presence is compared. The raw maker note
// (Exif.Photo.MakerNote) is bookkeeping only when exiv2 decodes it into tags of its own,
// which are compared instead.
bool IsBookkeepingTag(const std::string& key);

// The keys a command file names, in its order, each once.
std::vector<std::string> CommandKeys(const std::string& command);

// Lists files (photos or sidecars) with one run of the tool: for each, a fingerprint of all
// its metadata (every tag but the bookkeeping, whose values move with a rewrite; a Canon
// array's length counts, as it did before it was bookkeeping) and the values of the given
// keys it has. False with a reason when the tool could not run.
bool MetadataFingerprints(const std::vector<std::string>& paths, const std::vector<std::string>& keys,
                          std::vector<uint64_t>& hashes, std::vector<std::vector<TagValue>>& named,
                          std::string& reason, std::vector<size_t>* tagCounts = nullptr);
