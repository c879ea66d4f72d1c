#include "cli/HelpText.h"

namespace {

const char kUsage[] =
    "Usage:\n"
    "  pinroute-cli geotag [--gpx PATTERN] [--photo-track DIR] [--offset OFFSET]\n"
    "                      [--camera-offset NAME=OFFSET]... [--interpolate | --nearest]\n"
    "                      [--photo-zone | --no-photo-zone] [--camera-zone ZONE]\n"
    "                      [--max-gap SECONDS] [--max-interpolation-gap SECONDS]\n"
    "                      [--replace] [--keep-software] [--recursive]\n"
    "                      [--dry-run] [--jobs N] [--json] [PATH...]\n"
    "  pinroute-cli geotag --suggest-offset [--gpx PATTERN] [--recursive] [PATH...]\n"
    "  pinroute-cli parse  [--latlon | --osgb] [--recursive] [--jobs N] [--json] [PATH...]\n"
    "  pinroute-cli rename [--date] [--position] [--latlon | --osgb] [--recursive] [--dry-run]\n"
    "                      [--jobs N] [--json] [PATH...]\n"
    "  pinroute-cli undo [--force] [--json] [RUN]    pinroute-cli undo --list [--json]\n"
    "  pinroute-cli remove [--recursive] [--json] [PATH...]\n"
    "  pinroute-cli settings [KEY [VALUE]]\n"
    "  geotag, parse, rename and remove also take --places; rename takes --place\n"
    "  pinroute-cli --help | --version      (also: pinroute-cli COMMAND --help)\n";

const char kPaths[] =
    "PATH is a photo or a folder; a folder stands for its photos (JPEG, TIFF, PNG, WebP,\n"
    "HEIC/HEIF, AVIF and the RAW kinds DNG, NEF, ARW, PEF, CR2, CRW, CR3, RW2, ORF; any\n"
    "letter case), sorted by name; with --recursive (setting Recurse=1), those of its\n"
    "sub-folders too. Without PATH the photo folder of the settings (JPGDir) is used. Put\n"
    "-- before a path that begins with \"-\".\n";

const char kTracks[] =
    "Track files: GPX, KML, KMZ, NMEA 0183, Garmin TCX, IGC, FIT, Google location history\n"
    "(Records.json, Semantic Location History, the phone's Timeline export) and CSV (a header\n"
    "naming time, lat and lon, and ele if any; ISO 8601 or Unix times, UTC when no zone is\n"
    "given). The kind is found from the content, not the name; the files a pattern matches\n"
    "may be of different kinds and make one track.\n";

const char kExit[] =
    "Exit status: 0 every photo done, 1 some photos not done, 2 a usage error or a run that\n"
    "could not start (no track file matched or could be read, a missing folder or one\n"
    "without photos, a folder geotag or rename can't write in, no exiv2, a refused value),\n"
    "130/143 stopped by SIGINT/SIGTERM, 141 standard output closed.\n";

const char kOutput[] =
    "Output: one line per photo, in list order, with five tab-separated fields: outcome, path,\n"
    "date, position or message (a failure's reason after \": \"), and the seconds to the\n"
    "matched point (geotag; with --interpolate how the position was found) or the new path\n"
    "(rename). Backslash, tab, newline and other control bytes in a field are written as\n"
    "\\\\, \\t, \\n, \\xHH. --json writes one JSON object per line instead. Standard error\n"
    "ends with what the run did: \"GeoTag: 280 tagged, 3 kept, 20 rejected, 0 failed\"; after\n"
    "Ctrl-C, \"Stopped after 800 of 2000: GeoTag: ...\".\n";

const char kGeoTag[] =
    "pinroute-cli geotag [OPTION...] [PATH...]\n"
    "Writes the position of the nearest track point (within 300 seconds of the capture\n"
    "time) into each photo's EXIF GPS tags, or into its XMP sidecar (CR3, RW2, ORF, RAW\n"
    "photos while RawSidecar=1, and a HEIC whose layout can't take it in the file).\n\n"
    "  --gpx PATTERN     the track file, or a pattern with * and ? in its last component\n"
    "                    (default: GPXPath of the settings)\n"
    "  --track PATTERN   the same as --gpx\n"
    "  --offset OFFSET   how far the camera clock runs ahead of GPS time: minutes (-58),\n"
    "                    minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20)\n"
    "                    (default: OffsetMinutes and OffsetSeconds of the settings)\n"
    "  --photo-track DIR the photos of DIR that hold a position of their own (a phone's),\n"
    "                    with their moment in UTC from their stated time zone or GPS time\n"
    "                    stamp, serve as track points, with the track files if any\n"
    "                    (PhotoTrack). With no track file set, the photos of the run that\n"
    "                    keep their own positions serve the same way.\n"
    "  --camera-offset NAME=OFFSET\n"
    "                    one camera's own offset, for its photos only: NAME its make and\n"
    "                    model (\"Canon EOS 5D\"), OFFSET +1:00:00, -3:00 or minutes; repeat\n"
    "                    it for several cameras (section [CameraOffsets] of the settings)\n"
    "  --camera-zone ZONE  the time zone the camera's clock follows (Europe/London): each\n"
    "                    photo without a zone of its own is read in it at its own date, and\n"
    "                    the offset is the clock's error in it (CameraZone; \"\" for none)\n"
    "  --max-gap SECONDS the nearest point may lie this far in time (MaxGapSeconds, 300)\n"
    "  --max-interpolation-gap SECONDS  two points around a photo may lie this far apart\n"
    "                    (MaxInterpolationGapSeconds, 1800)\n"
    "  --keep-software   leave the photos' Software tag as it is (KeepSoftware=1)\n"
    "  --interpolate     place a photo between the two track points around it (at most\n"
    "                    1800 s apart) and write the position at full precision, with the\n"
    "                    photo's UTC time stamp (setting Interpolate=1)\n"
    "  --nearest         take the nearest point, to a hundredth of a minute (Interpolate=0)\n"
    "  --photo-zone      match a photo that states its time zone (OffsetTimeOriginal) by\n"
    "                    that zone instead of the offset (PhotoZone=1, the default)\n"
    "  --no-photo-zone   use the offset for every photo (PhotoZone=0)\n"
    "  --replace         write over a position a photo already has that Pinroute didn't\n"
    "                    write, such as a phone's (ReplacePositions=1); without it such a\n"
    "                    photo keeps its position (outcome kept)\n"
    "  --recursive       take the photos of a folder's sub-folders too (Recurse=1)\n"
    "  --dry-run         change no file; show the point each photo would get\n"
    "  --places          write the town, region and country too, from the geonames.org data\n"
    "                    (Places=1); a photo that names its place keeps it\n"
    "  --suggest-offset  change no file; show the three offsets that put the most photos\n"
    "                    within 300 seconds of a track point, and with photos of several\n"
    "                    cameras the best of each camera\n"
    "  --jobs N          photos worked on at once, 1 to 256 (default: the number of cores)\n"
    "  --json            one JSON object per photo\n"
    "  --help            this text\n\n"
    "Outcomes: tagged, would-tag (dry run), kept, rejected, no-exif, failed. When no photo\n"
    "matches, standard error says why: the photos' time span beside the track's, and an\n"
    "offset that would match, when one does.\n\n";

const char kParse[] =
    "pinroute-cli parse [OPTION...] [PATH...]\n"
    "Shows each photo's capture date and the GPS position stored in it (or in its sidecar).\n\n"
    "  --latlon          positions as latitude and longitude\n"
    "  --osgb            positions as OSGB grid references (default: DisplayType of the settings)\n"
    "  --places          for a photo that names no place, the one geotag --places would write\n"
    "  --recursive       take the photos of a folder's sub-folders too (Recurse=1)\n"
    "  --jobs N          photos worked on at once, 1 to 256 (default: the number of cores)\n"
    "  --json            one JSON object per photo\n"
    "  --help            this text\n\n"
    "The place a photo holds follows its position: \"(Kendal, England, United Kingdom)\".\n"
    "Outcomes: parsed, no-position, no-exif, failed.\n\n";

const char kRename[] =
    "pinroute-cli rename [OPTION...] [PATH...]\n"
    "Renames each photo that holds a GPS position after its date and/or position. An existing\n"
    "file is never replaced.\n\n"
    "  --date            add the capture date to the name\n"
    "  --position        add the position to the name\n"
    "                    (with neither, both come from the settings: Date and Posn)\n"
    "  --place           add the place, in plain letters (PlaceInName=1; with --places\n"
    "                    also for a photo that names none)\n"
    "  --places          look up the place of a photo that names none (Places=1)\n"
    "  --latlon          positions as latitude and longitude\n"
    "  --osgb            positions as OSGB grid references (default: DisplayType of the settings)\n"
    "  --recursive       take the photos of a folder's sub-folders too (Recurse=1)\n"
    "  --dry-run         rename nothing; show each new name\n"
    "  --jobs N          photos worked on at once, 1 to 256 (default: the number of cores)\n"
    "  --json            one JSON object per photo\n"
    "  --help            this text\n\n"
    "Outcomes: renamed, would-rename (dry run), not-renamed, no-position, no-exif.\n\n";

const char kUndo[] =
    "pinroute-cli undo [--force] [--json] [RUN]\n"
    "pinroute-cli undo --list [--json]\n"
    "Puts back what a run changed: each photo's tags as they were before it, each renamed\n"
    "photo's old name. Without RUN, the last run (an undo too); with --force after an undo,\n"
    "the run that undo was of, again. A photo changed since the run is left alone unless\n"
    "--force. Every run is journalled in $XDG_STATE_HOME/pinroute/ (~/.local/state/pinroute/)\n"
    "unless the setting Journal is 0; a journal another user could have written is refused.\n\n"
    "  --list            list the runs: run, time, command (or why it can't be undone),\n"
    "                    photos, folder\n"
    "  --force           also put back photos changed since the run\n"
    "  --json            one JSON object per photo (or run)\n"
    "  --help            this text\n\n"
    "Outcomes: restored, not-restored.\n";

const char kRemove[] =
    "pinroute-cli remove [--recursive] [--json] [PATH...]\n"
    "Deletes the GPS tags Pinroute writes (from the XMP sidecar for kinds positioned there)\n"
    "and the Software tag where Pinroute wrote it; journalled, so undo puts them back.\n\n"
    "  --recursive       photos in the folders' sub-folders too\n"
    "  --places          delete the town, region and country tags (XMP and IPTC) too\n"
    "  --json            one JSON object per photo\n"
    "  --help            this text\n\n"
    "Outcomes: removed, no-position, failed.\n";

const char kSettings[] =
    "pinroute-cli settings [KEY [VALUE]]\n"
    "Without KEY: prints the settings file's path, then KEY=VALUE for each setting.\n"
    "With KEY: prints its value. With KEY VALUE: stores the value, after the same checks as\n"
    "the window's Set-up dialog; a wrong value is refused with the reason (exit status 2).\n"
    "Keys: JPGDir, GPXPath, Date, Posn, DisplayType, OffsetMinutes, RawSidecar, Interpolate,\n"
    "PhotoZone, ReplacePositions, Recurse, Journal, ShowMap, MapTiles, Places, PlaceMaxKm,\n"
    "PlaceLanguage, PlaceInName, ReplacePlaces, OffsetSeconds, MaxGapSeconds,\n"
    "MaxInterpolationGapSeconds, CameraZone, KeepSoftware.\n"
    "The file is pinroute.ini beside the program when one is there, or when the program runs\n"
    "from a folder it can write that is no install tree (a build folder, a portable copy);\n"
    "otherwise $XDG_CONFIG_HOME/pinroute/pinroute.ini (~/.config/pinroute/pinroute.ini).\n";

}  // namespace

std::string HelpText(const CommandLine& line)
{
    if (line.settings)
        return kSettings;
    if (line.command) {
        switch (*line.command) {
        case Command::GeoTag: return std::string(kGeoTag) + kTracks + "\n" + kPaths + "\n" + kExit;
        case Command::Parse: return std::string(kParse) + kPaths + "\n" + kExit;
        case Command::Rename: return std::string(kRename) + kPaths + "\n" + kExit;
        case Command::Undo: return kUndo;
        case Command::Remove: return std::string(kRemove) + "\n" + kPaths;
        }
    }
    return std::string("pinroute-cli: geotag photos from a GPS track, show and rename them.\n\n")
        + kUsage + "\n" + kPaths + "\n" + kTracks + "\n" + kOutput + "\n" + kExit
        + "\nThe defaults come from the settings file the Pinroute window uses; an option\n"
          "overrides its setting for this run only. See pinroute-cli(1).\n";
}
