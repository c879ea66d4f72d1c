#include "cli/Commands.h"

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
#include "photos/Command.h"
#include "photos/FolderCheck.h"
#include "journal/Journal.h"
#include "journal/Undo.h"
#include "photos/PhotoList.h"
#include "photos/RunControl.h"
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
            error = FolderCheckText(check, "\"" + operand + "\"", "add --recursive to use them");
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
    if (line.offset)
        changes.emplace_back("OffsetMinutes", *line.offset);
    if (line.displayType)
        changes.emplace_back("DisplayType", std::to_string(*line.displayType));
    if (line.interpolate)
        changes.emplace_back("Interpolate", *line.interpolate ? "1" : "0");
    if (line.photoZone)
        changes.emplace_back("PhotoZone", *line.photoZone ? "1" : "0");
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
    return true;
}

// Why a run could not start, from how it ended; "" when it ran.
std::string StartFailure(const RunResult& result, const Settings& settings, const Workspace& workspace)
{
    switch (result.status) {
    case RunStatus::NoTrackFile:
        return settings.GPXPath.empty() ? "no GPX file given: use --gpx or set GPXPath"
                                        : "no GPX file matches " + settings.GPXPath;
    case RunStatus::NoTrackReadable: {
        std::string error;
        for (const auto& reason : result.trackErrors)
            error += (error.empty() ? "" : "; ") + reason;
        return error.empty() ? "no GPX file could be read" : error;
    }
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

namespace {

// Prints the best offsets, one a line ("+60 min: 412 of 420 photos match"); 1 when none
// puts any photo near the track.
int PrintSuggestedOffsets(const Settings& settings, const std::vector<std::string>& photos)
{
    Workspace workspace;
    const SuggestionRun run = SuggestOffsetsFor(settings, photos, workspace);
    if (!run.ok) {
        ReportError(run.error);
        return kCantStart;
    }
    for (const OffsetSuggestion& suggestion : run.best)
        std::printf("%s\n", SuggestionText(suggestion, run.total, &run.zone).c_str());
    if (run.best.empty())
        std::printf("no offset puts any of the %d photos within 300 s of a track point\n", run.total);
    if (!run.zoneNote.empty())
        std::printf("%s\n", run.zoneNote.c_str());
    return run.best.empty() ? kSomeMissed : kAllDone;
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
    if (const int signal = CaughtSignal())
        return 128 + signal;
    if (!failure.empty()) {
        ReportError(failure);
        return kCantStart;
    }
    if (command == Command::GeoTag && NothingMatched(result))
        std::fprintf(stderr, "%s%s\n", NothingMatchedText(result).c_str(),
                     result.betterOffset ? " Try it with --offset." : "");
    if (result.status == RunStatus::Done)   // the last line on stderr: what the run did
        std::fprintf(stderr, "%s%s\n", RunSummary(command, result).c_str(), line.dryRun ? " (dry run)" : "");
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
    for (const JournalRun& run : ListJournals()) {
        const std::string time = LocalTimeText(run.time);
        const std::string count = std::to_string(run.photos.size());
        if (json)
            std::printf("{\"run\":\"%s\",\"time\":\"%s\",\"command\":\"%s\",\"photos\":%s,\"folder\":\"%s\"}\n",
                        JsonEscape(run.id).c_str(), time.c_str(), JsonEscape(run.command).c_str(), count.c_str(),
                        JsonEscape(run.folder).c_str());
        else
            std::printf("%s\t%s\t%s\t%s\t%s\n", TsvEscape(run.id).c_str(), time.c_str(), TsvEscape(run.command).c_str(),
                        count.c_str(), TsvEscape(run.folder).c_str());
    }
    return kAllDone;
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
    } else {
        const std::vector<JournalRun> runs = ListJournals();
        if (runs.empty()) {
            ReportError("no run to undo in " + JournalFolder());
            return kCantStart;
        }
        run = runs.front();
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
    if (const int signal = CaughtSignal())
        return 128 + signal;
    if (!failure.empty()) {
        ReportError(failure);
        return kCantStart;
    }
    if (result.status == RunStatus::Done)
        std::fprintf(stderr, "%s (run %s, %s)\n", RunSummary(Command::Undo, result).c_str(), run.id.c_str(),
                     run.command.c_str());
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
            std::fprintf(stderr, "pinroute-cli: warning: %s\n", FolderCheckText(check, settings.JPGDir, "set Recurse to 1 to use them").c_str());
    }
    return kAllDone;
}
