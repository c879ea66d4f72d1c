#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "exif/GpsTagWriter.h"
#include "journal/JournalFiles.h"
#include "run/Command.h"

// What one run changed in one photo, enough to put it back: the tags its command named as
// they were, or its old name.
struct JournalEntry {
    std::string photo;                // the photo's path after the run
    std::string file;                 // the file changed: the photo's real path or its sidecar; "" for a rename
    bool sidecar = false;             // file is the photo's XMP sidecar
    bool fileExisted = true;          // false: the run made the sidecar
    std::string oldPath;              // a rename: the photo's path before
    std::vector<std::string> keys;    // the tags the command deleted or added
    std::vector<TagValue> before;     // their values before; a key without one was absent
    uint64_t beforeHash = 0;          // the file's metadata before and after (MetadataFingerprints)
    uint64_t afterHash = 0;
    int64_t size = -1;                // the file after the run; -1 when the run ended before saying
    int64_t mtimeNanos = -1;
};

// One run: when, what, with which settings, and each photo it changed.
struct JournalRun {
    std::string id;          // "20261207-221530-4711": local time and process id
    int64_t time = 0;        // seconds since 1970
    int64_t startedNanos = 0;   // the same to the nanosecond: orders runs within a second
    std::string command;     // "geotag", "rename", "remove", "place", "undo 20261207-221530-4711"
    std::string settings;    // the settings in force, "GPXPath=...; OffsetMinutes=0; ..."
    std::string folder;      // the photos' folder, or "" for photos from several
    bool finished = false;   // the run ended (else it was stopped or killed part way)
    std::vector<std::string> folders;   // every folder the run may write in (absolute)
    std::vector<JournalEntry> photos;
    // Why the run's file can't be used ("damaged: ...", "its file belongs to ..."); only the
    // id and the time (from the id) are then known. "" for a run that can be undone.
    std::string problem;
};

// The run's file, written whole through a flushed temporary file renamed over it. The folder
// is made (0700) when missing, and must be the user's alone (JournalFiles.h). false with reason.
bool SaveJournal(const JournalRun& run, std::string& reason);
// Reads a run's file and checks every value before it is used: tag names, paths that stay
// the photo's own, no text that could carry a second line into a command file. false with
// reason, and nothing of the run may then be undone.
bool LoadJournal(const std::string& id, JournalRun& run, std::string& reason);

// Every run kept, newest first, those that can't be used among them with their problem.
// folderProblem, when given, gets why the folder itself can't be trusted ("" when it can, or
// is not there).
std::vector<JournalRun> ListJournals(std::string* folderProblem = nullptr);

// Drops all but the runs of the last 90 days or the last 100 runs, whichever are more.
void PruneJournals(int64_t now);

// The journal of one run as it goes: entries are added, and the file saved, before the
// files they describe are replaced. Safe to use from several workers at once.
class RunJournal : public WriteJournal {
public:
    // Saves the run's record before anything changes; false with reason (nothing may then run).
    bool Begin(const std::string& command, const std::string& settings, const std::string& folder,
               const std::vector<std::string>& folders, std::string& reason);
    bool Recording(const std::vector<const GpsWrite*>& writes, std::string& reason) override;
    // A rename about to be made.
    bool RecordRename(const std::string& oldPath, const std::string& newPath, std::string& reason);
    // The sizes and times of the files as the run left them, and the record's last save.
    bool Finish(bool finished, std::string& reason);
    JournalRun Run() const;

private:
    mutable std::mutex lock;
    JournalRun run;
};

class Settings;
// The settings a run's record keeps: "GPXPath=...; OffsetMinutes=0; ...".
std::string SettingsSummary(const Settings& settings);

// Starts the journal of a run that is about to change photos, unless settings turn the
// journal off. False (with result.status NoJournal and its reason) when it can't be written:
// the run must then change nothing. result.journalId names the record. A user without any
// home folder runs unjournalled: true, no journalId, and journalError says so.
bool StartJournal(RunJournal& journal, const std::string& command, const Settings& settings,
                  const std::vector<std::string>& photoPaths, RunResult& result);
// Ends it: the files' sizes and times as the run left them.
void EndJournal(RunJournal& journal, const RunResult& result);
