#include "cli/HelpText.h"

namespace {

const char kUsage[] =
    "Usage:\n"
    "  pinroute-cli geotag [--gpx PATTERN] [--offset MINUTES] [--interpolate | --nearest]\n"
    "                      [--photo-zone | --no-photo-zone] [--dry-run] [--jobs N] [--json] [PATH...]\n"
    "  pinroute-cli geotag --suggest-offset [--gpx PATTERN] [PATH...]\n"
    "  pinroute-cli parse  [--latlon | --osgb] [--jobs N] [--json] [PATH...]\n"
    "  pinroute-cli rename [--date] [--position] [--latlon | --osgb] [--dry-run] [--jobs N] [--json]\n"
    "                      [PATH...]\n"
    "  pinroute-cli settings [KEY [VALUE]]\n"
    "  pinroute-cli --help | --version      (also: pinroute-cli COMMAND --help)\n";

const char kPaths[] =
    "PATH is a photo or a folder; a folder stands for its photos (JPEG, TIFF, PNG, WebP, HEIC,\n"
    "RAW; any letter case), sorted by name. Without PATH the photo folder of the settings\n"
    "(JPGDir) is used. Put -- before a path that begins with \"-\".\n";

const char kOutput[] =
    "Output: one line per photo, in list order, with five tab-separated fields: outcome, path,\n"
    "date, position or message (a failure's reason after \": \"), and the seconds to the\n"
    "matched point (geotag; with --interpolate how the position was found) or the new path\n"
    "(rename). Backslash, tab, newline and other\n"
    "control bytes in a field are written as \\\\, \\t, \\n, \\xHH. --json writes one JSON\n"
    "object per line instead.\n"
    "Exit status: 0 every photo done, 1 some photos not done, 2 usage error or a run that could\n"
    "not start, 130/143 stopped by SIGINT/SIGTERM.\n";

const char kGeoTag[] =
    "pinroute-cli geotag [OPTION...] [PATH...]\n"
    "Writes the position of the nearest GPX track point (within 300 seconds of the capture\n"
    "time) into each photo's EXIF GPS tags.\n\n"
    "  --gpx PATTERN     the GPX file, or a pattern with * and ? in its last component\n"
    "                    (default: GPXPath of the settings)\n"
    "  --offset MINUTES  how many whole minutes the camera clock runs ahead of GPS time\n"
    "                    (default: OffsetMinutes of the settings)\n"
    "  --interpolate     place a photo between the two track points around it (at most\n"
    "                    1800 s apart) and write the position at full precision, with the\n"
    "                    photo's UTC time stamp (setting Interpolate=1)\n"
    "  --nearest         take the nearest point, to a hundredth of a minute (Interpolate=0)\n"
    "  --photo-zone      match a photo that states its time zone (OffsetTimeOriginal) by\n"
    "                    that zone instead of the offset (PhotoZone=1, the default)\n"
    "  --no-photo-zone   use the offset for every photo (PhotoZone=0)\n"
    "  --dry-run         change no file; show the point each photo would get\n"
    "  --suggest-offset  change no file; show the three offsets that put the most photos\n"
    "                    within 300 seconds of a track point\n"
    "  --jobs N          photos worked on at once (default: the number of cores)\n"
    "  --json            one JSON object per photo\n"
    "  --help            this text\n\n"
    "Outcomes: tagged, would-tag, rejected, no-exif, failed.\n";

const char kParse[] =
    "pinroute-cli parse [OPTION...] [PATH...]\n"
    "Shows each photo's capture date and the GPS position stored in it.\n\n"
    "  --latlon          positions as latitude and longitude\n"
    "  --osgb            positions as OSGB grid references (default: DisplayType of the settings)\n"
    "  --jobs N          photos worked on at once (default: the number of cores)\n"
    "  --json            one JSON object per photo\n"
    "  --help            this text\n\n"
    "Outcomes: parsed, no-exif.\n";

const char kRename[] =
    "pinroute-cli rename [OPTION...] [PATH...]\n"
    "Renames each photo that holds a GPS position after its date and/or position. An existing\n"
    "file is never replaced.\n\n"
    "  --date            add the capture date to the name\n"
    "  --position        add the position to the name\n"
    "                    (with neither, both come from the settings: Date and Posn)\n"
    "  --latlon          positions as latitude and longitude\n"
    "  --osgb            positions as OSGB grid references (default: DisplayType of the settings)\n"
    "  --dry-run         rename nothing; show each new name\n"
    "  --jobs N          photos worked on at once (default: the number of cores)\n"
    "  --json            one JSON object per photo\n"
    "  --help            this text\n\n"
    "Outcomes: renamed, would-rename, not-renamed, no-exif.\n";

const char kSettings[] =
    "pinroute-cli settings [KEY [VALUE]]\n"
    "Without KEY: prints the settings file's path, then KEY=VALUE for each setting.\n"
    "With KEY: prints its value. With KEY VALUE: stores the value, after the same checks as\n"
    "the window's Set-up dialog; a wrong value is refused with the reason.\n"
    "Keys: JPGDir, GPXPath, Date, Posn, DisplayType, OffsetMinutes, RawSidecar, Interpolate,\n"
    "PhotoZone.\n";

}  // namespace

std::string HelpText(const CommandLine& line)
{
    if (line.settings)
        return kSettings;
    if (line.command) {
        switch (*line.command) {
        case Command::GeoTag: return std::string(kGeoTag) + "\n" + kPaths;
        case Command::Parse: return std::string(kParse) + "\n" + kPaths;
        case Command::Rename: return std::string(kRename) + "\n" + kPaths;
        }
    }
    return std::string("pinroute-cli: geotag photos from a GPX track, show and rename them.\n\n")
        + kUsage + "\n" + kPaths + "\n" + kOutput
        + "\nThe defaults come from the settings file the Pinroute window uses; an option\n"
          "overrides its setting for this run only. See pinroute-cli(1).\n";
}
