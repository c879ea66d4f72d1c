#include "undo/Remove.h"

#include <algorithm>

#include <sys/stat.h>

#include "exif/GpsCommands.h"
#include "exif/GpsTagWriter.h"
#include "exif/MetadataCheck.h"
#include "exif/PlaceCommands.h"
#include "photos/PhotoKinds.h"
#include "photos/PhotoRows.h"
#include "run/ParallelRun.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "run/RunFrame.h"

namespace {

// Photos are cleared in batches, as GeoTag writes them: one check serves a batch.
constexpr size_t kBatch = 32;

// The position's tags in EXIF, after "Exif.GPSInfo.".
const char* const kGpsKeys[] = {"GPSVersionID", "GPSMapDatum", "GPSLatitudeRef", "GPSLatitude", "GPSLongitudeRef",
                                "GPSLongitude", "GPSAltitude", "GPSAltitudeRef", "GPSTimeStamp", "GPSDateStamp"};
// Those a sidecar's XMP holds, after "Xmp.exif.".
const char* const kXmpGpsKeys[] = {"GPSVersionID", "GPSMapDatum", "GPSLatitude", "GPSLongitude", "GPSAltitude",
                                   "GPSAltitudeRef", "GPSTimeStamp"};

bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The commands that delete a position: from the photo's EXIF, or from its sidecar's XMP
// (with exiv2's Exif view of it).
std::string RemoveCommand(bool sidecar, bool pinrouteSoftware)
{
    std::string command;
    for (const char* name : kGpsKeys)
        command += std::string("del Exif.GPSInfo.") + name + "\n";
    if (sidecar) {
        for (const char* name : kXmpGpsKeys)
            command += std::string("del Xmp.exif.") + name + "\n";
    } else if (pinrouteSoftware) {
        command += "del Exif.Image.Software\n";
    }
    return command;
}

// The tags a listing must show to tell what a photo holds: the position's, the Software
// tag, a sidecar's XMP position, and with places the place tags.
std::vector<std::string> ListedKeys(bool places)
{
    std::vector<std::string> keys;
    for (const char* name : kGpsKeys)
        keys.push_back(std::string("Exif.GPSInfo.") + name);
    keys.push_back("Exif.Image.Software");
    for (const char* name : kXmpGpsKeys)
        keys.push_back(std::string("Xmp.exif.") + name);
    if (places) {
        keys.insert(keys.end(), XmpPlaceKeys().begin(), XmpPlaceKeys().end());
        keys.insert(keys.end(), IptcPlaceKeys().begin(), IptcPlaceKeys().end());
    }
    return keys;
}

// Fills in the command that clears what the listed tags show, of a file holding count tags
// in all; false when it holds neither a position nor a place.
bool PlanRemoval(const std::vector<TagValue>& tags, size_t count, bool sidecar, GpsWrite& write)
{
    bool position = false, ours = false, place = false, iptcPlace = false;
    for (const TagValue& t : tags) {
        place = place || t.key.compare(0, 14, "Xmp.photoshop.") == 0 || t.key == "Xmp.iptc.CountryCode";
        iptcPlace = iptcPlace || t.key.compare(0, 5, "Iptc.") == 0;
        position = position || t.key.compare(0, 13, "Exif.GPSInfo.") == 0;
        ours = ours || (t.key == "Exif.Image.Software" && IsPinrouteSoftware(t.value));
    }
    if (!position && !place && !iptcPlace)
        return false;
    write.sidecar = sidecar;
    write.command = RemoveCommand(sidecar, ours);
    if (place || iptcPlace)
        write.command += RemovePlaceCommand(iptcPlace && !sidecar);
    write.emptySidecar = sidecar && count <= tags.size();   // it holds nothing but the position
    return true;
}

// Clears the positions of the photos paths[start, end), with one listing and one write.
void RemoveBatch(const std::vector<std::string>& paths, size_t start, size_t end, const Settings& settings,
                 bool places, const std::string& version, const WorkerFiles& files, RowReporter& reporter)
{
    std::vector<std::string> targets;   // the file each photo's position lies in
    std::vector<bool> sidecars;
    std::vector<std::string> present;
    for (size_t i = start; i < end; ++i) {
        sidecars.push_back(UsesSidecar(KindOf(paths[i]), settings.RawSidecar != 0));
        targets.push_back(sidecars.back() ? SidecarPath(paths[i]) : paths[i]);
        if (Exists(targets.back()))
            present.push_back(targets.back());
    }
    std::vector<uint64_t> hashes;
    std::vector<std::vector<TagValue>> named;
    std::vector<size_t> counts;
    std::string reason;
    const bool listed = MetadataFingerprints(present, ListedKeys(places), hashes, named, reason, &counts);
    std::vector<GpsWrite> writes;
    std::vector<size_t> writeRows;
    size_t next = 0;
    for (size_t i = start; i < end; ++i) {
        const size_t k = i - start;
        const int row = static_cast<int>(i);
        if (!Exists(targets[k])) {
            reporter.Report(row, paths[i], RowOutcome(sidecars[k] ? RowKind::NoPosition : RowKind::ReadFailed,
                                                      sidecars[k] ? Text() : Text("Tips", QT_TRANSLATE_NOOP("Tips", "the photo is not there"))));
            continue;
        }
        const size_t at = next++;
        GpsWrite w;
        w.photoPath = paths[i];
        if (!listed)
            reporter.Report(row, paths[i], RowOutcome(RowKind::ReadFailed, reason));
        else if (!PlanRemoval(named[at], counts[at], sidecars[k], w))
            reporter.Report(row, paths[i], RowOutcome(RowKind::NoPosition));
        else {
            writes.push_back(std::move(w));
            writeRows.push_back(i);
        }
    }
    WriteBatchToRows(files, writes, writeRows, version, [&](size_t i, const GpsWrite& write, bool lasting) {
        RowOutcome outcome = lasting ? RowOutcome(RowKind::Removed) : RowOutcome(RowKind::WriteFailed, ReasonOf(write));
        if (lasting)
            outcome.date = std::nullopt;
        reporter.Report(static_cast<int>(i), paths[i], outcome);
    });
}

}  // namespace

RunResult RemovePositions(const Settings& settings, const std::string& version, PhotoRows& rows,
                          RunFeedback& feedback, Workspace& workspace, RunControl& control, bool places)
{
    RunResult result;
    RunFrame frame(workspace, settings);
    if (!frame.Ready(result))
        return result;
    const std::vector<std::string> paths = RowPaths(rows);
    if (!frame.Open("remove", paths, result))
        return result;
    const WorkerFiles files = frame.Files(0);
    RowReporter reporter(rows, feedback, static_cast<int>(paths.size()));
    for (size_t start = 0; start < paths.size() && !control.Stopping(); start += kBatch)
        RemoveBatch(paths, start, std::min(paths.size(), start + kBatch), settings, places, version, files, reporter);
    frame.Close(reporter, static_cast<int>(paths.size()), result);
    return result;
}
