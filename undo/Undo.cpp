#include "undo/Undo.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>

#include <sys/stat.h>

#include "common/FileSafety.h"
#include "common/PathText.h"
#include "exif/GpsTagWriter.h"
#include "exif/MetadataCheck.h"
#include "exif/SafeWrite.h"
#include "exif/Workspace.h"
#include "run/ParallelRun.h"
#include "photos/PhotoKinds.h"
#include "photos/PhotoRows.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "run/RunFrame.h"

namespace {

// Photos are put back in batches, as GeoTag writes them: one check serves a batch.
constexpr size_t kBatch = 32;

bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

RowOutcome Outcome(RowKind kind, Text tip = {})
{
    return RowOutcome(kind, std::move(tip));
}

// The commands that put the named tags back as they were: every key the run's command named
// deleted, then each value it had added again. A sidecar's Exif tags are exiv2's view of its
// XMP, which comes back with the XMP. "" with reason for a value a command can't hold.
std::string RestoreCommand(const JournalEntry& e, std::string& reason)
{
    std::string command;
    for (const auto& key : e.keys)
        command += "del " + key + "\n";
    for (const TagValue& t : e.before) {
        if (e.sidecar && t.key.compare(0, 5, "Exif.") == 0)
            continue;
        // A quote would end the value early and a line break start another command.
        const bool unsafe = std::any_of(t.value.begin(), t.value.end(), [](char c) {
            return c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        });
        if (unsafe || t.type.empty()) {
            reason = "the old value of " + t.key + " can't be written back";
            return {};
        }
        command += "add " + t.key + " " + t.type + " \"" + t.value + "\"\n";
    }
    return command;
}

// True when the file an entry names is still the one its photo leads to: the photo's real
// path, or where its sidecar lies (through a link, or in the photo's real folder). Undo
// never writes a file only the journal names.
bool PhotosOwnFile(const JournalEntry& e)
{
    std::string target = e.sidecar ? SidecarPath(e.photo) : e.photo;
    char* real = realpath(target.c_str(), nullptr);
    if (!real && e.sidecar && errno == ENOENT) {
        char* folder = realpath(FolderOf(target).c_str(), nullptr);
        if (!folder)
            return false;
        target = std::string(folder) + "/" + FileNameOf(target);
        std::free(folder);
        return target == e.file;
    }
    if (!real)
        return false;
    target = real;
    std::free(real);
    return target == e.file;
}

// What a photo's file holds now, as a batch's listing found it.
struct Listed {
    bool listed = false;   // false: the tool could not list the batch (reason says why)
    uint64_t hash = 0;
    size_t count = 0;      // tags the file holds
};

// The write that puts an entry's tags back, or (false, with the row's outcome) none: the file
// is gone or no longer the photo's, is as before the run already, or changed since it.
bool PlanRestore(const JournalEntry& e, const Listed& now, const std::string& reason, bool force, GpsWrite& w,
                 RowOutcome& outcome)
{
    if (!PhotosOwnFile(e))
        outcome = Outcome(RowKind::NotRestored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "the file the run changed is no longer this photo's")));
    else if (!now.listed)
        outcome = Outcome(RowKind::NotRestored, reason);
    else if (now.hash == e.beforeHash)
        outcome = Outcome(RowKind::Restored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "already as before the run")));
    else if (now.hash != e.afterHash && !force)
        outcome = Outcome(RowKind::NotRestored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "changed since the run")));
    else {
        std::string why;
        w.photoPath = e.photo;
        w.sidecar = e.sidecar;
        w.command = RestoreCommand(e, why);
        if (w.command.empty()) {
            outcome = Outcome(RowKind::NotRestored, why);
            return false;
        }
        // A sidecar left with nothing: every tag it holds is one the run named, and none
        // comes back.
        bool xmpBack = false;
        for (const TagValue& t : e.before)
            xmpBack = xmpBack || t.key.compare(0, 4, "Xmp.") == 0;
        w.emptySidecar = e.sidecar && !xmpBack && now.count <= e.keys.size();
        return true;
    }
    return false;
}

// Puts back the tags of the entries at batch, with one listing and one write.
void RestoreBatch(const JournalRun& run, const std::vector<size_t>& batch, bool force, const std::string& version,
                  const WorkerFiles& files, RowReporter& reporter)
{
    std::vector<std::string> present;
    for (size_t row : batch)
        if (Exists(run.photos[row].file))
            present.push_back(run.photos[row].file);
    std::vector<uint64_t> hashes;
    std::vector<std::vector<TagValue>> unused;
    std::vector<size_t> counts;
    std::string reason;
    const bool listed = MetadataFingerprints(present, {}, hashes, unused, reason, &counts);

    std::vector<GpsWrite> writes;
    std::vector<size_t> writeRows;
    size_t next = 0;
    for (size_t row : batch) {
        const JournalEntry& e = run.photos[row];
        if (!Exists(e.file)) {
            // A sidecar the run made and someone removed since is as it was before the run.
            if (!e.fileExisted && e.sidecar)
                reporter.Report(static_cast<int>(row), e.photo, Outcome(RowKind::Restored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "already as before the run"))));
            else
                reporter.Report(static_cast<int>(row), e.photo, Outcome(RowKind::NotRestored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "moved or deleted since the run"))));
            continue;
        }
        const Listed now{listed, listed ? hashes[next] : 0, listed ? counts[next] : 0};
        ++next;
        GpsWrite w;
        RowOutcome outcome;
        if (!PlanRestore(e, now, reason, force, w, outcome)) {
            reporter.Report(static_cast<int>(row), e.photo, outcome);
            continue;
        }
        writes.push_back(std::move(w));
        writeRows.push_back(row);
    }
    WriteBatchToRows(files, writes, writeRows, version, [&](size_t row, const GpsWrite& write, bool lasting) {
        reporter.Report(static_cast<int>(row), run.photos[row].photo,
                        lasting ? Outcome(RowKind::Restored) : Outcome(RowKind::NotRestored, ReasonOf(write)));
    });
}

// Puts back the tags of the entries at rows, a batch at a time.
void RestoreTags(const JournalRun& run, const std::vector<size_t>& rows, bool force, const std::string& version,
                 const WorkerFiles& files, RowReporter& reporter, RunControl& control)
{
    for (size_t start = 0; start < rows.size() && !control.Stopping(); start += kBatch) {
        const std::vector<size_t> batch(rows.begin() + static_cast<std::ptrdiff_t>(start),
                                        rows.begin() + static_cast<std::ptrdiff_t>(std::min(rows.size(), start + kBatch)));
        RestoreBatch(run, batch, force, version, files, reporter);
    }
}

// Gives renamed photos their old names back, the last renamed first.
void RestoreNames(const JournalRun& run, const std::vector<size_t>& rows, RunJournal* journal,
                  RowReporter& reporter, RunControl& control)
{
    for (auto it = rows.rbegin(); it != rows.rend() && !control.Stopping(); ++it) {
        const JournalEntry& e = run.photos[*it];
        const int row = static_cast<int>(*it);
        const bool now = Exists(e.photo), old = Exists(e.oldPath);
        if (!now && old) {
            reporter.Report(row, e.oldPath, Outcome(RowKind::Restored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "already as before the run"))));
            continue;
        }
        if (!now) {
            reporter.Report(row, e.photo, Outcome(RowKind::NotRestored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "moved or deleted since the run"))));
            continue;
        }
        if (old) {
            reporter.Report(row, e.photo, Outcome(RowKind::NotRestored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "another file has its old name"))));
            continue;
        }
        std::string reason;
        if (journal && !journal->RecordRename(e.photo, e.oldPath, reason)) {
            reporter.Report(row, e.photo, Outcome(RowKind::NotRestored, Text("Tips", QT_TRANSLATE_NOOP("Tips", "the journal can't be written: %1"), {reason})));
            continue;
        }
        if (const int error = RenameNoReplace(e.photo, e.oldPath)) {
            reporter.Report(row, e.photo, Outcome(RowKind::NotRestored, SystemReason(error)));
            continue;
        }
        RowOutcome outcome = Outcome(RowKind::Restored);
        outcome.newPath = e.oldPath;
        reporter.Report(row, e.oldPath, outcome);
    }
}

}  // namespace

std::vector<std::string> UndoPaths(const JournalRun& run)
{
    std::vector<std::string> paths;
    for (const JournalEntry& e : run.photos)
        paths.push_back(e.photo);
    return paths;
}

std::vector<int> UndoRowsIn(const JournalRun& run, std::vector<std::string>& paths)
{
    // A list may name a photo another way (relative, through a link): files are compared.
    const auto fileOf = [](const std::string& path) {
        char* real = realpath(path.c_str(), nullptr);
        const std::string file = real ? real : path;
        std::free(real);
        return file;
    };
    std::map<std::string, int> rowOf;
    for (size_t i = 0; i < paths.size(); ++i)
        rowOf.emplace(fileOf(paths[i]), static_cast<int>(i));
    std::vector<int> rows;
    for (const JournalEntry& e : run.photos) {
        const auto found = rowOf.emplace(fileOf(e.photo), static_cast<int>(paths.size()));
        if (found.second)
            paths.push_back(e.photo);
        rows.push_back(found.first->second);
    }
    return rows;
}

RunResult Undo(const JournalRun& run, bool force, const Settings& settings, const std::string& version,
               PhotoRows& rows, RunFeedback& feedback, Workspace& workspace, RunControl& control)
{
    RunResult result;
    RunFrame frame(workspace, settings);
    if (!frame.Ready(result))
        return result;
    if (!frame.Open("undo " + run.id, UndoPaths(run), result))
        return result;
    // The hidden copies of a killed run lie also beside photos it never came to journal.
    std::vector<std::string> folders = run.folders;
    if (!run.folder.empty())
        folders.push_back(run.folder);
    for (const auto& folder : folders)
        RemoveStaleCopies(folder);
    std::vector<size_t> tagRows, nameRows;
    for (size_t i = 0; i < run.photos.size() && static_cast<int>(i) < rows.Count(); ++i)
        (run.photos[i].oldPath.empty() ? tagRows : nameRows).push_back(i);
    RowReporter reporter(rows, feedback, rows.Count());
    RestoreTags(run, tagRows, force, version, frame.Files(0), reporter, control);
    RestoreNames(run, nameRows, frame.Journal(), reporter, control);
    frame.Close(reporter, rows.Count(), result);
    return result;
}
