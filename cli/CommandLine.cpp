#include "cli/CommandLine.h"

#include "common/Numbers.h"
#include "common/OffsetText.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>

namespace {

constexpr int kMaxJobs = 256;

enum Allowed : unsigned {
    GpxOption = 1, OffsetOption = 2, DryRunOption = 4, JobsOption = 8, JsonOption = 16,
    DisplayOption = 32, NameOptions = 64, SuggestOption = 128, MatchOptions = 256, RecurseOption = 512,
    UndoOptions = 1024, ReplaceOption = 2048, PlacesOption = 4096, ClockOptions = 8192,
};

unsigned AllowedFor(const std::optional<Command>& command)
{
    if (!command)
        return 0;   // settings takes no option but --help
    switch (*command) {
    case Command::GeoTag:
        return GpxOption | OffsetOption | DryRunOption | JobsOption | JsonOption | SuggestOption | MatchOptions
            | RecurseOption | ReplaceOption | PlacesOption | ClockOptions;
    case Command::Parse: return DisplayOption | JobsOption | JsonOption | RecurseOption | PlacesOption;
    case Command::Rename:
        return NameOptions | DisplayOption | DryRunOption | JobsOption | JsonOption | RecurseOption | PlacesOption;
    case Command::Undo: return UndoOptions | JsonOption;
    case Command::Remove: return JsonOption | RecurseOption | PlacesOption;
    default: return 0;
    }
}

// Sets the command a name stands for; false for a name that is none.
bool TakeCommand(const std::string& name, CommandLine& line)
{
    if (name == "geotag")
        line.command = Command::GeoTag;
    else if (name == "parse")
        line.command = Command::Parse;
    else if (name == "rename")
        line.command = Command::Rename;
    else if (name == "undo")
        line.command = Command::Undo;
    else if (name == "remove")
        line.command = Command::Remove;
    else if (name == "settings")
        line.settings = true;
    else
        return false;
    return true;
}

// Takes an option's value from "--name=value" or from the next argument.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
               const std::optional<std::string>& inline_, std::string& value, std::string& error)
{
    if (inline_) {
        value = *inline_;
        return true;
    }
    if (i + 1 >= args.size()) {
        error = "option " + name + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

// Stores the value of --gpx (--track), --offset, --jobs or a clock option after checking it.
bool StoreValue(const std::string& name, const std::string& value, CommandLine& line, std::string& error)
{
    long long number = 0;
    if (name == "--gpx" || name == "--track") {
        line.gpx = value;
    } else if (name == "--photo-track") {
        line.photoTrack = value;
    } else if (name == "--camera-offset") {
        line.cameraOffsets.push_back(value);
    } else if (name == "--offset") {
        line.offset = ParseOffset(value);
        if (!line.offset) {
            error = "--offset takes minutes (-58), minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20), not \""
                + value + "\"";
            return false;
        }
    } else if (name == "--camera-zone") {
        line.cameraZone = value;   // Set judges it against the zone data
    } else if (name == "--max-gap" || name == "--max-interpolation-gap") {
        if (!ParseWholeNumber(value, 0, INT32_MAX, number)) {
            error = name + " takes whole seconds from 0 up, not \"" + value + "\"";
            return false;
        }
        (name == "--max-gap" ? line.maxGap : line.maxInterpolationGap) = static_cast<int>(number);
    } else {
        if (!ParseWholeNumber(value, 1, kMaxJobs, number)) {
            error = "--jobs takes a whole number from 1 to " + std::to_string(kMaxJobs) + ", not \""
                + value + "\"";
            return false;
        }
        line.jobs = static_cast<int>(number);
    }
    return true;
}

// Sets the display type from --latlon or --osgb; the two exclude each other.
bool StoreDisplayType(const std::string& name, CommandLine& line, std::string& error)
{
    const int type = name == "--osgb" ? 1 : 0;
    if (line.displayType && *line.displayType != type) {
        error = "--latlon and --osgb exclude each other";
        return false;
    }
    line.displayType = type;
    return true;
}

// One of --interpolate/--nearest or --photo-zone/--no-photo-zone; the two of a pair
// exclude each other.
bool StoreMatchChoice(const std::string& name, CommandLine& line, std::string& error)
{
    std::optional<bool>& choice = name == "--interpolate" || name == "--nearest" ? line.interpolate : line.photoZone;
    const bool on = name == "--interpolate" || name == "--photo-zone";
    if (choice && *choice != on) {
        error = name == "--interpolate" || name == "--nearest" ? "--interpolate and --nearest exclude each other"
                                                               : "--photo-zone and --no-photo-zone exclude each other";
        return false;
    }
    choice = on;
    return true;
}

// The switch an option without a value sets.
bool& FlagOf(const std::string& name, CommandLine& line)
{
    return name == "--dry-run" ? line.dryRun
        : name == "--json"           ? line.json
        : name == "--date"           ? line.date
        : name == "--suggest-offset" ? line.suggestOffset
        : name == "--recursive"      ? line.recursive
        : name == "--list"           ? line.list
        : name == "--force"          ? line.force
        : name == "--replace"        ? line.replace
        : name == "--keep-software"  ? line.keepSoftware
        : name == "--places"         ? line.places
        : name == "--place"          ? line.place
                                     : line.position;
}

// One option of a run command, as "--name", "--name=value" or "--name value"; i moves
// past a value taken from the next argument.
bool TakeOption(const std::vector<std::string>& args, size_t& i, CommandLine& line, std::string& error)
{
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    const size_t equals = name.find('=');
    if (equals != std::string::npos) {
        inlineValue = name.substr(equals + 1);
        name.erase(equals);
    }
    if (name == "--help" && !inlineValue) {
        line.help = true;   // every command has its help
        return true;
    }
    static const std::map<std::string, unsigned> kGroups = {
        {"--gpx", GpxOption}, {"--track", GpxOption}, {"--photo-track", GpxOption},
        {"--camera-offset", GpxOption}, {"--offset", OffsetOption}, {"--jobs", JobsOption},
        {"--dry-run", DryRunOption}, {"--json", JsonOption}, {"--date", NameOptions},
        {"--position", NameOptions}, {"--latlon", DisplayOption}, {"--osgb", DisplayOption},
        {"--suggest-offset", SuggestOption}, {"--interpolate", MatchOptions}, {"--nearest", MatchOptions},
        {"--photo-zone", MatchOptions}, {"--no-photo-zone", MatchOptions}, {"--recursive", RecurseOption},
        {"--list", UndoOptions}, {"--force", UndoOptions}, {"--replace", ReplaceOption},
        {"--places", PlacesOption}, {"--place", NameOptions}, {"--max-gap", ClockOptions},
        {"--max-interpolation-gap", ClockOptions}, {"--camera-zone", ClockOptions}, {"--keep-software", ReplaceOption},
    };
    const auto group = kGroups.find(name);
    if (group == kGroups.end() || !(AllowedFor(line.command) & group->second)) {
        error = "unknown option " + name;
        return false;
    }
    if ((group->second & (GpxOption | OffsetOption | JobsOption | ClockOptions))) {
        std::string value;
        return TakeValue(args, i, name, inlineValue, value, error) && StoreValue(name, value, line, error);
    }
    if (inlineValue) {
        error = "option " + name + " takes no value";
        return false;
    }
    if (group->second == DisplayOption)
        return StoreDisplayType(name, line, error);
    if (group->second == MatchOptions)
        return StoreMatchChoice(name, line, error);
    FlagOf(name, line) = true;
    return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& error)
{
    line = CommandLine();
    if (args.empty()) {
        error = "no command given (geotag, parse, rename, undo, remove or settings)";
        return false;
    }
    size_t i = 0;
    if (args[0] == "--help" || args[0] == "-h") {
        line.help = true;
        return true;
    }
    if (args[0] == "--version") {
        line.version = true;
        return true;
    }
    if (!TakeCommand(args[0], line)) {
        error = args[0].size() > 0 && args[0][0] == '-' ? "unknown option " + args[0]
                                                       : "unknown command " + args[0];
        return false;
    }
    bool optionsEnded = false;
    for (i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A setting's value may begin with "-" (an offset of -60): settings has no options
        // but --help.
        const bool looksLikeOption = arg.size() > 1 && arg[0] == '-'
            && (!line.settings || arg == "--help");
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && looksLikeOption) {
            if (!TakeOption(args, i, line, error))
                return false;
        } else {
            line.operands.push_back(arg);
        }
    }
    if (line.command == Command::Undo && line.operands.size() > 1 && !line.help) {
        error = "undo takes at most one RUN";
        return false;
    }
    if (line.settings && line.operands.size() > 2 && !line.help) {
        error = "settings takes at most a KEY and a VALUE";
        return false;
    }
    return true;
}
