#pragma once
#include <string>
#include <vector>

#include "common/PlaceNames.h"
#include "common/Text.h"
#include "exif/GpsCommands.h"
#include "exif/MetadataCheck.h"
#include "exif/Workspace.h"

// Writes the position into the photo's EXIF GPS tags and its Software tag through a
// verified copy renamed over the photo. On failure the photo is left as it was and
// reason says why (the tool's message, "no space left on device", "a tag would be lost:
// Exif.Image.ImageDescription", ...).
bool WriteGpsTags(const WorkerFiles& files, const std::string& photoPath, double latitude,
                  double longitude, const std::string& elevationText, const std::string& version,
                  std::string& reason);

// One photo of a batch write: the position to write, then the outcome.
struct GpsWrite {
    std::string photoPath;
    double latitude = 0;
    double longitude = 0;
    std::string elevationText;
    GpsPrecision precision;
    bool sidecar = false;   // into NAME.EXT.xmp beside the photo, which stays as it is
    PlaceNames place;       // written with the position when not empty: XMP, and IPTC-IIM
    bool placeIptc = false; // in the photo (never a sidecar) when it already has IPTC-IIM data
    bool written = false;
    std::string reason;          // why not, when not written; when written, a fault after the rename
                                 // ("the photo is written, but the folder could not be flushed: ...")
    Text reasonText;             // reason as a marked text for the window, when the writer worded it
    bool fileRefused = false;    // the photo can't take the position without a loss
    std::string sidecarPath;     // the sidecar written, when the position went into one
    std::string sidecarReason;   // why the sidecar and not the photo, when the kind allowed the photo
    std::string command;         // when set, applied instead of the position's commands (undo, remove)
    bool emptySidecar = false;   // the command deletes all the sidecar holds: it becomes an empty packet

    // What the write changes, known once checked, for the journal: the file replaced (the
    // photo's real path, or the sidecar), whether it existed, the command applied, the tags it
    // names as they were, and fingerprints of the file's metadata before and after.
    std::string file;
    bool fileExisted = true;
    std::string applied;
    std::vector<TagValue> namedBefore;
    uint64_t beforeHash = 0;
    uint64_t afterHash = 0;
};

// Told of the writes of a batch that passed their check, before any of them replaces its
// file. A false return (with the reason) stops them all: nothing is changed unjournalled.
class WriteJournal {
public:
    virtual ~WriteJournal() = default;
    virtual bool Recording(const std::vector<const GpsWrite*>& writes, std::string& reason) = 0;
};

// WriteGpsTags for several photos, with one check of all their copies: fewer runs of the
// tool, the same guarantee for each photo. A photo that can't take the position without
// losing or changing a tag or preview (or whose metadata exiv2 can only partly read, or
// that exiv2 refuses to write) gets it in its XMP sidecar instead and stays as it was.
void WriteGpsTagsBatch(const WorkerFiles& files, std::vector<GpsWrite>& writes, const std::string& version);

// The reason for the window: its marked text while that still says what reason says (a later
// step may have reworded reason), else reason as it stands.
inline Text ReasonOf(const GpsWrite& write)
{
    return write.reasonText.English() == write.reason ? write.reasonText : Text(write.reason);
}
