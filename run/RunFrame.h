#pragma once
#include <functional>
#include <string>
#include <vector>

#include "exif/Workspace.h"
#include "journal/Journal.h"
#include "run/Command.h"

class RowReporter;
class Settings;
struct GpsWrite;

// Starts the journal of a run that is about to change photos, unless settings turn the
// journal off. False (with result.status NoJournal and its reason) when it can't be written:
// the run must then change nothing. result.journalId names the record. A user without any
// home folder runs unjournalled: true, no journalId, and journalError says so.
bool StartJournal(RunJournal& journal, const std::string& command, const Settings& settings,
                  const std::vector<std::string>& photoPaths, RunResult& result);
// Ends it: whether the run got through all its photos, in the record's last save.
void EndJournal(RunJournal& journal, const RunResult& result);

// The steps every command takes around its photos, in their order: the working folder
// (Ready), the journal and a killed run's leftovers (Open), each worker's files (Files), and
// what the rows came to with the journal's last save (Close).
class RunFrame {
public:
    RunFrame(Workspace& workspace, const Settings& settings) : workspace(workspace), settings(settings) {}

    // False with result.status NoWorkspace when the working folder could not be made.
    bool Ready(RunResult& result) const;

    // For a run that changes photos: starts its journal as command ("geotag", "undo ID") and,
    // with clearLeftovers, removes the hidden copies a killed run left beside the photos.
    // False (NoJournal) when the journal can't be written: nothing may then change.
    bool Open(const std::string& command, const std::vector<std::string>& photoPaths, RunResult& result,
              bool clearLeftovers = true);

    // The working files of worker n, with the journal when the run keeps one.
    WorkerFiles Files(int worker);
    // The run's journal, or null when it keeps none (not opened, turned off, no home folder).
    RunJournal* Journal() { return journalled ? &journal : nullptr; }

    // The last step: the rows reached and their kinds, Stopped when fewer than total were
    // reached, and the journal's last save.
    void Close(const RowReporter& reporter, int total, RunResult& result);
    // The journal's last save alone, for a run without rows to count.
    void Close(const RunResult& result);

private:
    Workspace& workspace;
    const Settings& settings;
    RunJournal journal;
    bool journalled = false;
};

// Writes a batch of photos and tells each write's row how it ended, in the batch's order
// (rows[k] is the row of writes[k]): lasting is true only for a write that is made and lasts.
// A photo written whose folder could not be flushed may lose its new name in a power cut: it
// counts as a failure with its reason, whatever the command.
void WriteBatchToRows(const WorkerFiles& files, std::vector<GpsWrite>& writes, const std::vector<size_t>& rows,
                      const std::string& version,
                      const std::function<void(size_t row, const GpsWrite& write, bool lasting)>& report);
