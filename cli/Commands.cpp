#include "cli/Commands.h"
#include "cli/OffsetOptions.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "cli/Interrupts.h"
#include "cli/RowFormat.h"
#include "cli/TerminalOutput.h"
#include "common/AsciiText.h"
#include "common/ModulePath.h"
#include "settings/SettingsLocation.h"
#include "common/VersionInfo.h"
#include "exif/Workspace.h"
#include "geotag/ClockOffset.h"
#include "geotag/GeoTag.h"
#include "parse/ParseRun.h"
#include "run/Command.h"
#include "photos/FolderCheck.h"
#include "journal/Journal.h"
#include "undo/Remove.h"
#include "undo/Undo.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "settings/Settings.h"

namespace {

// True when an executable "exiv2" is in one of PATH's folders, as execvp would find it.
bool Exiv2OnPath()
{
    const char* env = std::getenv("PATH");
    const std::string path = env ? env : "/bin:/usr/bin";
    size_t start = 0;
    for (;;) {
        const size_t end = path.find(':', start);
        std::string folder = path.substr(start, end == std::string::npos ? end : end - start);
        const std::string file = (folder.empty() ? std::string(".") : folder) + "/exiv2";
        struct stat info;
        if (stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(file.c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

// The photos the operands name: a file as given, a folder as its photos in list order (with
// recurse, those of its sub-folders too). False, with the reason, when an operand is not
// there or can't be read, or a folder holds no photo.
bool GatherPhotos(const std::vector<std::string>& operands, bool recurse, std::vector<std::string>& photos,
                  std::string& error)
{
    for (const auto& operand : operands) {
        struct stat info;
        if (operand.empty() || stat(operand.c_str(), &info) != 0) {
            error = "\"" + operand + "\": " + SystemErrorText(operand.empty() ? ENOENT : errno, 1024);
            return false;
        }
        if (!S_ISDIR(info.st_mode)) {
            photos.push_back(operand);
            continue;
        }
        const FolderCheck check = CheckPhotoFolder(operand, recurse);
        if (check.problem != FolderProblem::None) {
            error = FolderCheckText(check, "\"" + operand + "\"", "add --recursive to use them").English();
            return false;
        }
        PhotoList list;
        list.LoadFolder(operand, recurse);
        for (int row = 0; row < list.Count(); ++row)
            photos.push_back(list.Path(row));
    }
    return true;
}

// Applies the options that override settings to this run's copy; false with the
// settings' own reason when a value is refused.
bool ApplyOverrides(const CommandLine& line, Settings& settings, std::string& error)
{
    std::vector<std::pair<std::string, std::string>> changes;
    if (line.gpx)
        changes.emplace_back("GPXPath", *line.gpx);
    if (line.photoTrack)
        changes.emplace_back("PhotoTrack", *line.photoTrack);
    if (line.offset)
        settings.SetOffset(*line.offset);   // ParseOffset kept it within what the settings hold
    if (line.interpolate)
        settings.Interpolate = *line.interpolate ? 1 : 0;
    if (line.maxGap)
        settings.MaxGapSeconds = *line.maxGap;
    if (line.maxInterpolationGap)
        settings.MaxInterpolationGapSeconds = *line.maxInterpolationGap;
    if (line.keepSoftware)
        settings.KeepSoftware = 1;
    if (line.cameraZone)
        changes.emplace_back("CameraZone", *line.cameraZone);
    if (line.displayType)
        changes.emplace_back("DisplayType", std::to_string(*line.displayType));
    if (line.photoZone)
        changes.emplace_back("PhotoZone", *line.photoZone ? "1" : "0");
    if (line.replace)
        changes.emplace_back("ReplacePositions", "1");
    if (line.recursive)
        changes.emplace_back("Recurse", "1");
    if (line.places && line.command != Command::Remove)
        changes.emplace_back("Places", "1");
    if (line.place)
        changes.emplace_back("PlaceInName", "1");
    if (line.command == Command::Rename && (line.date || line.position)) {
        changes.emplace_back("Date", line.date ? "1" : "0");
        changes.emplace_back("Posn", line.position ? "1" : "0");
    }
    for (const auto& change : changes) {
        std::string reason;
        if (!settings.Set(change.first, change.second, reason)) {
            error = reason.empty() ? "wrong value for " + change.first : reason;
            return false;
        }
    }
    return ApplyCameraOffsets(line.cameraOffsets, settings, error);
}

// Why a run could not start, from how it ended; "" when it ran.
std::string StartFailure(const RunResult& result, const Settings& settings, const Workspace& workspace)
{
    switch (result.status) {
    case RunStatus::NoTrackFile:
        return settings.GPXPath.empty() ? "no track file is set (use --gpx or set GPXPath), and no photo holds a"
                                          " position with a time zone or GPS time to serve as one"
                                        : "no track file matches " + settings.GPXPath;
    case RunStatus::NoTrackReadable: {
        std::string error;
        for (const auto& reason : result.trackErrors)
            error += (error.empty() ? "" : "; ") + reason;
        return error.empty() ? "no track file could be read" : error;
    }
    case RunStatus::NoPhotoTrack:
        return result.photoTrackError;
    case RunStatus::BadSetting:
        return result.settingError;
    case RunStatus::NoWorkspace:
        return "can't make a working folder: " + workspace.Error();
    case RunStatus::NoJournal:
        return result.journalError + "; no photo was changed (Journal=0 turns the journal off)";
    default:
        return {};
    }
}

RunResult RunCommand(const CommandLine& line, Command command, const Settings& settings, TerminalRows& rows,
                     TerminalFeedback& feedback, Workspace& workspace, RunControl& control)
{
    switch (command) {
    case Command::GeoTag: return GeoTag(settings, ProgramVersion(), rows, feedback, workspace, control, line.dryRun);
    case Command::Parse: return Parse(settings, rows, feedback, workspace, control);
    case Command::Rename: return Rename(settings, rows, feedback, workspace, control, line.dryRun);
    case Command::Remove:
        return RemovePositions(settings, ProgramVersion(), rows, feedback, workspace, control, line.places);
    case Command::Undo: break;   // has a run of its own
    }
    return {};
}

// The last line on standard error: what the run did, and where it stopped when it did.
void PrintSummary(const std::string& summary, const RunResult& result, int total)
{
    if (result.status == RunStatus::Stopped)
        std::fprintf(stderr, "Stopped after %d of %d: %s\n", result.reached, total, summary.c_str());
    else if (result.status == RunStatus::Done)
        std::fprintf(stderr, "%s\n", summary.c_str());
}

const char* Verb(Command command)
{
    switch (command) {
    case Command::GeoTag: return "GeoTag";
    case Command::Rename: return "Rename";
    case Command::Undo: return "Undo";
    case Command::Remove: return "Remove";
    default: return "Parse";
    }
}

}  // namespace

void ReportError(const std::string& text)
{
    std::fprintf(stderr, "pinroute-cli: %s\n", text.c_str());
}

namespace {

// A run that went ahead without a journal (the user has no home folder) says so.
void WarnIfUnjournalled(const RunResult& result)
{
    if (result.journalId.empty() && !result.journalError.empty() && result.status != RunStatus::NoJournal)
        std::fprintf(stderr, "pinroute-cli: warning: %s\n", result.journalError.c_str());
}

}  // namespace

namespace {

// The settings of this run, with the options applied, and its photos. False, with the
// reason, when the run can't start.
bool PrepareRun(const CommandLine& line, const std::string& settingsPath, Settings& settings,
                std::vector<std::string>& photos, std::string& error)
{
    if (!settings.Read(settingsPath)) {
        error = "can't read the settings file " + settingsPath;
        return false;
    }
    if (!ApplyOverrides(line, settings, error))
        return false;
    std::vector<std::string> operands = line.operands;
    if (operands.empty()) {
        if (settings.JPGDir.empty()) {
            error = "no PATH given and no photo folder set (JPGDir)";
            return false;
        }
        operands.push_back(settings.JPGDir);
    }
    if (!GatherPhotos(operands, settings.Recurse != 0, photos, error)) {
        if (line.operands.empty())
            error = "photo folder (JPGDir) " + error;
        return false;
    }
    if (!Exiv2OnPath()) {
        error = "exiv2 not found: install it (Debian: apt-get install exiv2) or add it to PATH";
        return false;
    }
    // A card mounted read-only would fail photo by photo: say it once, before anything runs.
    std::string folder, reason;
    const bool writes = line.command != Command::Parse && !line.dryRun && !line.suggestOffset;
    if (writes && UnwritableFolder(photos, folder, reason)) {
        error = "can't write in \"" + folder + "\": " + reason + "; no photo was changed";
        return false;
    }
    return true;
}

}  // namespace

int RunPhotos(const CommandLine& line, const std::string& settingsPath)
{
    Settings settings;
    std::vector<std::string> photos;
    std::string error;
    if (!PrepareRun(line, settingsPath, settings, photos, error)) {
        ReportError(error);
        return kCantStart;
    }

    if (line.suggestOffset)
        return PrintSuggestedOffsets(settings, photos);

    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    RunControl control(line.jobs ? *line.jobs : (cores > 0 ? cores : 1));
    StopOnSignals(control);
    const Command command = *line.command;
    TerminalFeedback feedback(Verb(command), isatty(STDERR_FILENO) == 1);
    TerminalRows rows(photos, command, line.dryRun, line.json, stdout, feedback, control);
    std::string failure;
    RunResult result;
    {
        // The working folder goes when this scope ends, before the program does.
        Workspace workspace;
        result = RunCommand(line, command, settings, rows, feedback, workspace, control);
        failure = StartFailure(result, settings, workspace);
        rows.Finish();
        feedback.Clear();
    }
    ForgetRunControl();
    const int signal = CaughtSignal();
    if (!failure.empty() && signal == 0) {
        ReportError(failure);
        return kCantStart;
    }
    WarnIfUnjournalled(result);
    for (const auto& skipped : result.trackErrors)   // the run went ahead without them
        ReportError("skipped " + skipped);
    if (failure.empty()) {
        if (command == Command::GeoTag && NothingMatched(result))
            std::fprintf(stderr, "%s%s\n", NothingMatchedText(result).c_str(),
                         result.betterOffset ? " Try it with --offset." : "");
        PrintSummary(RunSummary(command, result).English() + (line.dryRun ? " (dry run)" : ""), result,
                     static_cast<int>(photos.size()));
    }
    if (signal != 0)
        return 128 + signal;
    if (rows.WriteError() == EPIPE)
        return 128 + SIGPIPE;   // the reader went away, as if the pipe had ended us
    if (rows.WriteError() != 0) {
        // The run went ahead: photos may have been changed, so it is not a run that could
        // not start.
        ReportError(std::string("can't write the output: ") + SystemErrorText(rows.WriteError(), 1024)
                    + "; the run went on, and photos may have been changed");
        return kSomeMissed;
    }
    return rows.Missed() > 0 ? kSomeMissed : kAllDone;
}

namespace {

// "2026-12-07 22:15" for a time count, in local time.
std::string LocalTimeText(int64_t count)
{
    const time_t seconds = static_cast<time_t>(count);
    struct tm fields;
    char text[32] = "?";
    if (localtime_r(&seconds, &fields))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &fields);
    return text;
}

int ListRuns(bool json)
{
    std::string folderProblem;
    const std::vector<JournalRun> runs = ListJournals(&folderProblem);
    if (!folderProblem.empty()) {
        ReportError("the journal can't be used: " + folderProblem);
        return kCantStart;
    }
    for (const JournalRun& run : runs) {
        const std::string time = LocalTimeText(run.time);
        const std::string count = std::to_string(run.photos.size());
        // A run that can't be undone shows why in place of its command.
        const std::string& command = run.problem.empty() ? run.command : run.problem;
        if (json)
            std::printf("{\"run\":\"%s\",\"time\":\"%s\",\"command\":\"%s\",\"photos\":%s,\"folder\":\"%s\"%s}\n",
                        JsonEscape(run.id).c_str(), time.c_str(), JsonEscape(run.command).c_str(), count.c_str(),
                        JsonEscape(run.folder).c_str(),
                        run.problem.empty() ? "" : (",\"problem\":\"" + JsonEscape(run.problem) + "\"").c_str());
        else
            std::printf("%s\t%s\t%s\t%s\t%s\n", TsvEscape(run.id).c_str(), time.c_str(), TsvEscape(command).c_str(),
                        count.c_str(), TsvEscape(run.folder).c_str());
    }
    return kAllDone;
}

// The run undo takes when none is named: the newest, unless it can't be undone, which is
// said rather than skipped. With force after an undo, the run that undo was of, again, its
// photos changed since included; never the undo itself.
bool NewestRun(bool force, JournalRun& run, std::string& error)
{
    std::string folderProblem;
    const std::vector<JournalRun> runs = ListJournals(&folderProblem);
    if (!folderProblem.empty()) {
        error = "the journal can't be used: " + folderProblem + "; nothing was undone";
        return false;
    }
    if (runs.empty()) {
        error = "no run to undo in " + JournalFolder();
        return false;
    }
    if (!runs.front().problem.empty()) {
        error = "the newest run, " + runs.front().id + ", can't be undone: " + runs.front().problem
            + "; nothing was undone (undo --list shows the runs, undo RUN undoes an older one)";
        return false;
    }
    run = runs.front();
    if (force && run.command.compare(0, 5, "undo ") == 0)
        return LoadJournal(run.command.substr(5), run, error);
    return true;
}

}  // namespace

int RunUndo(const CommandLine& line, const std::string& settingsPath)
{
    if (line.list)
        return ListRuns(line.json);
    Settings settings;
    if (!settings.Read(settingsPath)) {
        ReportError("can't read the settings file " + settingsPath);
        return kCantStart;
    }
    JournalRun run;
    std::string reason;
    if (!line.operands.empty()) {
        if (!LoadJournal(line.operands[0], run, reason)) {
            ReportError(reason);
            return kCantStart;
        }
    } else if (!NewestRun(line.force, run, reason)) {
        ReportError(reason);
        return kCantStart;
    }
    if (!Exiv2OnPath()) {
        ReportError("exiv2 not found: install it (Debian: apt-get install exiv2) or add it to PATH");
        return kCantStart;
    }
    RunControl control(1);
    StopOnSignals(control);
    TerminalFeedback feedback("Undo", isatty(STDERR_FILENO) == 1);
    TerminalRows rows(UndoPaths(run), Command::Undo, false, line.json, stdout, feedback, control);
    std::string failure;
    RunResult result;
    {
        Workspace workspace;
        result = Undo(run, line.force, settings, ProgramVersion(), rows, feedback, workspace, control);
        failure = StartFailure(result, settings, workspace);
        rows.Finish();
        feedback.Clear();
    }
    ForgetRunControl();
    const int signal = CaughtSignal();
    if (!failure.empty() && signal == 0) {
        ReportError(failure);
        return kCantStart;
    }
    WarnIfUnjournalled(result);
    if (failure.empty())
        PrintSummary(RunSummary(Command::Undo, result).English() + " (run " + run.id + ", " + run.command + ")", result,
                     static_cast<int>(run.photos.size()));
    if (signal != 0)
        return 128 + signal;
    return rows.Missed() > 0 ? kSomeMissed : kAllDone;
}

int RunSettings(const CommandLine& line, const std::string& settingsPath)
{
    Settings settings;
    if (!settings.Read(settingsPath)) {
        ReportError("can't read the settings file " + settingsPath);
        return kCantStart;
    }
    const auto& keys = Settings::Keys();
    if (line.operands.empty()) {
        std::printf("%s\n", settingsPath.c_str());
        for (const auto& key : keys)
            std::printf("%s=%s\n", key.c_str(), settings.Get(key).c_str());
        return kAllDone;
    }
    std::string key;
    for (const auto& known : keys) {
        if (EqualsIgnoringAsciiCase(known, line.operands[0]))
            key = known;
    }
    if (key.empty()) {
        std::string names;
        for (const auto& known : keys)
            names += (names.empty() ? "" : ", ") + known;
        ReportError("unknown setting \"" + line.operands[0] + "\" (one of " + names + ")");
        return kCantStart;
    }
    if (line.operands.size() == 1) {
        std::printf("%s\n", settings.Get(key).c_str());
        return kAllDone;
    }
    std::string reason;
    if (!settings.Set(key, line.operands[1], reason)) {
        ReportError(reason.empty() ? "wrong value for " + key : reason);
        return kCantStart;
    }
    if (!EnsureSettingsFolder(settingsPath, reason) || !settings.Write(settingsPath, reason)) {
        ReportError("can't save " + settingsPath + ": " + reason);
        return kCantStart;
    }
    if (key == "JPGDir") {
        // Saved as asked (a card may be mounted later), but a typo shouldn't pass unseen.
        const FolderCheck check = CheckPhotoFolder(settings.JPGDir, settings.Recurse != 0);
        if (check.problem != FolderProblem::None && check.problem != FolderProblem::NotSet)
            std::fprintf(stderr, "pinroute-cli: warning: %s\n", FolderCheckText(check, settings.JPGDir, "set Recurse to 1 to use them").English().c_str());
    }
    return kAllDone;
}
