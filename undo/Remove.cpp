#include "undo/Remove.h"

#include <algorithm>

#include <sys/stat.h>

#include "exif/GpsTagWriter.h"
#include "exif/MetadataCheck.h"
#include "exif/PlaceCommands.h"
#include "exif/SafeWrite.h"
#include "exif/Workspace.h"
#include "journal/Journal.h"
#include "photos/PhotoKinds.h"
#include "photos/PhotoRows.h"
#include "run/ParallelRun.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"

namespace {

// Photos are cleared in batches, as GeoTag writes them: one check serves a batch.
constexpr size_t kBatch = 32;

bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

const char* const kGpsKeys[] = {"GPSVersionID", "GPSMapDatum", "GPSLatitudeRef", "GPSLatitude", "GPSLongitudeRef",
                                "GPSLongitude", "GPSAltitude", "GPSAltitudeRef", "GPSTimeStamp", "GPSDateStamp"};

// The commands that delete a position: from the photo's EXIF, or from its sidecar's XMP
// (with exiv2's Exif view of it).
std::string RemoveCommand(bool sidecar, bool pinrouteSoftware)
{
    std::string command;
    for (const char* name : kGpsKeys)
        command += std::string("del Exif.GPSInfo.") + name + "\n";
    if (sidecar) {
        for (const char* name : {"GPSVersionID", "GPSMapDatum", "GPSLatitude", "GPSLongitude", "GPSAltitude",
                                 "GPSAltitudeRef", "GPSTimeStamp"})
            command += std::string("del Xmp.exif.") + name + "\n";
    } else if (pinrouteSoftware) {
        command += "del Exif.Image.Software\n";
    }
    return command;
}

}  // namespace

RunResult RemovePositions(const Settings& settings, const std::string& version, PhotoRows& rows,
                          RunFeedback& feedback, Workspace& workspace, RunControl& control, bool places)
{
    RunResult result;
    if (!workspace.Ready()) {
        result.status = RunStatus::NoWorkspace;
        return result;
    }
    const std::vector<std::string> paths = RowPaths(rows);
    RunJournal journal;
    if (!StartJournal(journal, "remove", settings, paths, result))
        return result;
    WorkerFiles files = workspace.Worker(0);
    if (!result.journalId.empty())
        files.journal = &journal;
    RemoveLeftoverCopies(paths);
    RowReporter reporter(rows, feedback, static_cast<int>(paths.size()));
    std::vector<std::string> keys;
    for (const char* name : kGpsKeys)
        keys.push_back(std::string("Exif.GPSInfo.") + name);
    keys.push_back("Exif.Image.Software");
    for (size_t start = 0; start < paths.size() && !control.Stopping(); start += kBatch) {
        const size_t end = std::min(paths.size(), start + kBatch);
        std::vector<std::string> targets;   // the file each photo's position lies in
        std::vector<bool> sidecars;
        for (size_t i = start; i < end; ++i) {
            sidecars.push_back(UsesSidecar(KindOf(paths[i]), settings.RawSidecar != 0));
            targets.push_back(sidecars.back() ? SidecarPath(paths[i]) : paths[i]);
        }
        std::vector<std::string> present;
        for (const auto& t : targets)
            if (Exists(t))
                present.push_back(t);
        std::vector<uint64_t> hashes;
        std::vector<std::vector<TagValue>> named;
        std::vector<size_t> counts;
        std::string reason;
        std::vector<std::string> wanted = keys;   // a sidecar's XMP too
        for (const char* name : {"GPSVersionID", "GPSMapDatum", "GPSLatitude", "GPSLongitude", "GPSAltitude",
                                 "GPSAltitudeRef", "GPSTimeStamp"})
            wanted.push_back(std::string("Xmp.exif.") + name);
        if (places) {
            wanted.insert(wanted.end(), XmpPlaceKeys().begin(), XmpPlaceKeys().end());
            wanted.insert(wanted.end(), IptcPlaceKeys().begin(), IptcPlaceKeys().end());
        }        const bool listed = MetadataFingerprints(present, wanted, hashes, named, reason, &counts);
        std::vector<GpsWrite> writes;
        std::vector<size_t> writeRows;
        size_t next = 0;
        for (size_t i = start; i < end; ++i) {
            const size_t k = i - start;
            if (!Exists(targets[k])) {
                reporter.Report(static_cast<int>(i), paths[i], RowOutcome(sidecars[k] ? RowKind::NoPosition : RowKind::ReadFailed,
                                                                         sidecars[k] ? "" : "the photo is not there"));
                continue;
            }
            const std::vector<TagValue> tags = listed ? named[next] : std::vector<TagValue>();
            const size_t count = listed ? counts[next] : 0;
            ++next;
            if (!listed) {
                reporter.Report(static_cast<int>(i), paths[i], RowOutcome(RowKind::ReadFailed, reason));
                continue;
            }
            bool position = false, ours = false, place = false, iptcPlace = false;
            for (const TagValue& t : tags) {
                place = place || t.key.compare(0, 14, "Xmp.photoshop.") == 0 || t.key == "Xmp.iptc.CountryCode";
                iptcPlace = iptcPlace || t.key.compare(0, 5, "Iptc.") == 0;
                position = position || t.key.compare(0, 13, "Exif.GPSInfo.") == 0;
                ours = ours || (t.key == "Exif.Image.Software" && t.value.compare(0, 24, "GeoTag Software Pinroute") == 0);
            }
            if (!position && !place && !iptcPlace) {
                reporter.Report(static_cast<int>(i), paths[i], RowOutcome(RowKind::NoPosition));
                continue;
            }
            GpsWrite w;
            w.photoPath = paths[i];
            w.sidecar = sidecars[k];
            w.command = RemoveCommand(sidecars[k], ours);
            if (place || iptcPlace)
                w.command += RemovePlaceCommand(iptcPlace && !sidecars[k]);
            w.emptySidecar = sidecars[k] && count <= tags.size();   // it holds nothing but the position
            writes.push_back(std::move(w));
            writeRows.push_back(i);
        }
        if (!writes.empty())
            WriteGpsTagsBatch(files, writes, version);
        for (size_t k = 0; k < writes.size(); ++k) {
            const size_t i = writeRows[k];
            if (writes[k].written) {
                RowOutcome outcome(RowKind::Removed, writes[k].reason);
                outcome.date = std::nullopt;
                reporter.Report(static_cast<int>(i), paths[i], outcome);
            } else {
                reporter.Report(static_cast<int>(i), paths[i], RowOutcome(RowKind::WriteFailed, writes[k].reason));
            }
        }
    }
    result.reached = reporter.Reached();
    result.kinds = reporter.Kinds();
    if (result.reached < static_cast<int>(paths.size()))
        result.status = RunStatus::Stopped;
    EndJournal(journal, result);
    return result;
}
