#include "run/RunFrame.h"

#include <cstdlib>
#include <set>

#include "common/PathText.h"
#include "exif/GpsTagWriter.h"
#include "exif/SafeWrite.h"
#include "journal/JournalFiles.h"
#include "run/ParallelRun.h"
#include "settings/Settings.h"

bool StartJournal(RunJournal& journal, const std::string& command, const Settings& settings,
                  const std::vector<std::string>& photoPaths, RunResult& result)
{
    if (settings.Journal == 0)
        return true;
    if (JournalFolder().empty()) {
        result.journalError = "no journal: there is no home folder (HOME is not set, and the password database has "
                              "none for this user), so this run can't be undone";
        return true;
    }
    std::string folder = photoPaths.empty() ? std::string() : FolderOf(AbsolutePath(photoPaths.front()));
    // Every folder the run may write in, where a killed run's hidden copies would lie: the
    // photos' own, and for a link the folder of the file it leads to.
    std::set<std::string> folders;
    for (const auto& path : photoPaths) {
        const std::string absolute = AbsolutePath(path);
        if (FolderOf(absolute) != folder)
            folder.clear();
        folders.insert(FolderOf(absolute));
        if (char* real = realpath(absolute.c_str(), nullptr)) {
            folders.insert(FolderOf(real));
            std::free(real);
        }
    }
    if (journal.Begin(command, SettingsSummary(settings), folder, {folders.begin(), folders.end()},
                      result.journalError)) {
        result.journalId = journal.Run().id;
        return true;
    }
    result.status = RunStatus::NoJournal;
    result.journalError = "the journal can't be written in " + JournalFolder() + ": " + result.journalError;
    return false;
}

void EndJournal(RunJournal& journal, const RunResult& result)
{
    if (result.journalId.empty())
        return;
    std::string reason;
    journal.Finish(result.status == RunStatus::Done, reason);   // the record as it stands still serves undo
}

bool RunFrame::Ready(RunResult& result) const
{
    if (workspace.Ready())
        return true;
    result.status = RunStatus::NoWorkspace;
    return false;
}

bool RunFrame::Open(const std::string& command, const std::vector<std::string>& photoPaths, RunResult& result,
                    bool clearLeftovers)
{
    if (!StartJournal(journal, command, settings, photoPaths, result))
        return false;
    journalled = !result.journalId.empty();
    if (clearLeftovers)
        RemoveLeftoverCopies(photoPaths);   // copies a killed run left beside the photos
    return true;
}

WorkerFiles RunFrame::Files(int worker)
{
    WorkerFiles files = workspace.Worker(worker);
    if (journalled)
        files.journal = &journal;   // safe from every worker at once
    return files;
}

void RunFrame::Close(const RowReporter& reporter, int total, RunResult& result)
{
    result.reached = reporter.Reached();
    result.kinds = reporter.Kinds();
    if (result.reached < total)
        result.status = RunStatus::Stopped;
    Close(result);
}

void RunFrame::Close(const RunResult& result)
{
    if (journalled)
        EndJournal(journal, result);
}

void WriteBatchToRows(const WorkerFiles& files, std::vector<GpsWrite>& writes, const std::vector<size_t>& rows,
                      const std::string& version,
                      const std::function<void(size_t row, const GpsWrite& write, bool lasting)>& report)
{
    if (writes.empty())
        return;
    WriteGpsTagsBatch(files, writes, version);
    for (size_t k = 0; k < writes.size(); ++k) {
        // Written, but the folder could not be flushed: it may not last a power cut, and is
        // not a success to report as one.
        const bool lasting = writes[k].written && writes[k].reason.empty();
        report(rows[k], writes[k], lasting);
    }
}
