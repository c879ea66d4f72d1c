#include "exif/MetadataCheck.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include <dirent.h>
#include <sys/mman.h>
#include <unistd.h>

#include "common/PathText.h"
#include "exif/ChildProcess.h"
#include "exif/ListingLines.h"
#include "exif/SafeWrite.h"

namespace {


struct ToolRun {
    int error = 0;         // errno of a run that couldn't be made
    bool exited = false;   // ended through exit(), not by a signal
    std::string output;
};

ToolRun RunQuietly(const std::vector<std::string>& argv)
{
    ToolRun run;
    CapturedRun tool;
    tool.plainLocale = true;
    tool.errorFd = memfd_create("pinroute-check-messages", MFD_CLOEXEC);
    if (tool.errorFd < 0) {
        run.error = errno;
        return run;
    }
    run.error = tool.Run(argv);
    run.exited = tool.exited;
    run.output = std::move(tool.text);
    close(tool.errorFd);
    return run;
}

Text NotRunReason(const ToolRun& run)
{
    if (run.error != 0)
        return Text("Tips", QT_TRANSLATE_NOOP("Tips", "the check could not run: %1: %2"),
                    {std::string(kExifProgram), SystemReason(run.error)});
    return Text("Tips", QT_TRANSLATE_NOOP("Tips", "the check could not run: %1 was stopped"), {std::string(kExifProgram)});
}

// The reasons the check words itself: reason for the terminal, reasonText for the window.
void SetReason(RewriteCheck& c, Text text)
{
    c.reason = text.English();
    c.reasonText = std::move(text);
}

std::string TagName(const std::string& key)
{
    return key.substr(key.rfind('.') + 1);
}

// The group of an Exif key ("Exif.Nikon3.Preview" -> "Nikon3"); "" for other families.
std::string ExifGroup(const std::string& key)
{
    if (key.compare(0, 5, "Exif.") != 0)
        return {};
    const size_t dot = key.find('.', 5);
    return dot == std::string::npos ? std::string() : key.substr(5, dot - 5);
}

// The IFDs of the EXIF standard (and of TIFF and the RAW kinds built on it); any other
// Exif group is one that exiv2 decoded from a maker note.
bool IsStandardGroup(const std::string& group)
{
    static const std::set<std::string> standard = {"Image", "Image2", "Image3", "Photo", "Iop", "GPSInfo",
        "Thumbnail", "MakerNote", "PanasonicRaw", "MpfInfo"};
    return standard.count(group) || group.compare(0, 8, "SubImage") == 0
        || group.compare(0, 8, "SubThumb") == 0;
}

// Keys whose values point at a thumbnail or a preview: such a photo's previews are
// extracted and compared.
bool PointsAtPreview(const std::string& key)
{
    static const std::set<std::string> names = {"JPEGInterchangeFormat", "PreviewImageStart", "PreviewOffset",
        "ThumbnailOffset"};
    return names.count(TagName(key)) || key == "Exif.Thumbnail.StripOffsets" || key == "Exif.Nikon3.Preview";
}

struct Tag {
    std::string typeCount;   // such as "Rational 3"
    std::string value;       // the raw value words
    bool operator<(const Tag& other) const
    {
        return typeCount != other.typeCount ? typeCount < other.typeCount : value < other.value;
    }
    bool operator==(const Tag& other) const
    {
        return typeCount == other.typeCount && value == other.value;
    }
};
using TagMap = std::multimap<std::string, Tag>;

// The tags of each file in a listing of several files (exiv2 -PEIXkycv -- A B ...). An entry
// starts at a line that begins with its file's prefix; a value holding a line break runs on
// to the next such line, so text in a value can't start an entry of its own unless it
// guesses a private path.
std::vector<TagMap> ListedTags(const std::string& listing, const std::vector<std::string>& paths)
{
    // Each entry with the lines that continue it (a value holding a line break).
    struct Entry { size_t file; std::string text; };
    std::vector<Entry> entries;
    for (const ListedLine& line : SplitListing(listing, paths)) {
        if (line.continued && !entries.empty())
            entries.back().text += "\n" + line.text;
        else if (!line.continued)
            entries.push_back({line.file, line.text});
    }
    std::vector<TagMap> tags(paths.size());
    for (const Entry& entry : entries) {
        std::istringstream words(entry.text);
        std::string key, type, count, value;
        if (!(words >> key >> type >> count))
            continue;
        std::getline(words >> std::ws, value, '\0');
        tags[entry.file].emplace(key, Tag{type + " " + count, value});
    }
    return tags;
}

// Canon's arrays that begin with their own length in bytes: exiv2 writes the length of
// what it holds, so a camera's odd figure (139 for 50 entries) comes back corrected. The
// entries themselves are compared one by one. Panorama (CanonPa) and the AF array (CanonPi)
// have no such field: their first entries are data.
bool IsArrayLength(const std::string& key)
{
    static const std::set<std::string> lengths = {"Exif.CanonCs.0x0000", "Exif.CanonSi.0x0000",
        "Exif.CanonCf.0x0000", "Exif.CanonTi.0x0000", "Exif.CanonFi.0x0000", "Exif.CanonPr.0x0000"};
    return lengths.count(key) != 0;
}

// FNV-1a over every tag but the bookkeeping, in key order: equal for the same metadata
// wherever its blocks lie. An array's length counts: once written it stays as exiv2 wrote
// it, and the journals of earlier runs hold fingerprints made with it.
uint64_t Fingerprint(const TagMap& tags)
{
    uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](const std::string& text) {
        for (unsigned char c : text) {
            hash ^= c;
            hash *= 1099511628211ull;
        }
        hash ^= 0xff;
        hash *= 1099511628211ull;
    };
    for (const auto& [key, tag] : tags) {
        mix(key);
        if ((!IsBookkeepingTag(key) || IsArrayLength(key)) && key != "Exif.Photo.MakerNote") {
            mix(tag.typeCount);
            mix(tag.value);
        }
    }
    return hash;
}

// The tags of keys present in tags, in the keys' order.
std::vector<TagValue> NamedValues(const TagMap& tags, const std::vector<std::string>& keys)
{
    std::vector<TagValue> values;
    for (const auto& key : keys) {
        for (auto [a, b] = tags.equal_range(key); a != b; ++a)
            values.push_back({key, a->second.typeCount.substr(0, a->second.typeCount.find(' ')), a->second.value});
    }
    return values;
}

bool HasDecodedMakerNote(const TagMap& tags)
{
    for (const auto& entry : tags) {
        const std::string group = ExifGroup(entry.first);
        if (!group.empty() && !IsStandardGroup(group))
            return true;
    }
    return false;
}

// Every tag the photo had, apart from those the command names, must still be there; its
// type, count and value too unless it is bookkeeping. Returns the first key that isn't, or "".
std::string LostTag(const TagMap& before, const TagMap& after, const std::set<std::string>& named)
{
    const bool makerDecoded = HasDecodedMakerNote(before);
    for (auto it = before.begin(); it != before.end(); it = before.upper_bound(it->first)) {
        const std::string& key = it->first;
        if (named.count(key))
            continue;
        if (IsBookkeepingTag(key) || (makerDecoded && key == "Exif.Photo.MakerNote")) {
            if (before.count(key) != after.count(key))
                return key;
            continue;
        }
        std::multiset<Tag> had, has;
        for (auto [a, b] = before.equal_range(key); a != b; ++a)
            had.insert(a->second);
        for (auto [a, b] = after.equal_range(key); a != b; ++a)
            has.insert(a->second);
        if (had != has)
            return key;
    }
    return {};
}

// Each tag the command adds must be listed exactly once, with the value written.
// Returns the first key that isn't, or "".
std::string UnwrittenTag(const TagMap& after, const std::string& command)
{
    std::istringstream lines(command);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string verb, key;
        size_t open = line.find('"');
        if (!(words >> verb >> key) || verb != "add" || open == std::string::npos)
            continue;
        std::string value = line.substr(open + 1, line.rfind('"') - open - 1);
        auto [a, b] = after.equal_range(key);
        if (std::distance(a, b) != 1 || a->second.value != value)
            return key;
    }
    return {};
}

// A command that only deletes must leave none of its keys; returns the first still there, or "".
// (A command that adds as well is checked by what it adds: a sidecar's Exif view comes back
// with the XMP it mirrors.)
std::string UndeletedTag(const TagMap& after, const std::string& command)
{
    if (command.find("\nadd ") != std::string::npos || command.compare(0, 4, "add ") == 0)
        return {};
    std::istringstream lines(command);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string verb, key;
        if (words >> verb >> key && verb == "del" && after.count(key))
            return key;
    }
    return {};
}

std::set<std::string> NamedKeys(const std::string& command)
{
    std::set<std::string> keys;
    std::istringstream lines(command);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string verb, key;
        if (words >> verb >> key)
            keys.insert(key);
    }
    // The GPS IFD's pointer goes with its last tag, as when a position is removed.
    for (const auto& key : keys)
        if (key.compare(0, 13, "Exif.GPSInfo.") == 0) {
            keys.insert("Exif.Image.GPSTag");
            break;
        }
    return keys;
}

// exiv2 -ep -l FOLDER names the previews of "x/before-3.jpg" FOLDER/before-3-preview1.jpg, ...
std::string PreviewStem(const std::string& path)
{
    std::string name = FileNameOf(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name + "-preview";
}

// The extracted previews of one file, by number ("1" -> name).
std::map<std::string, std::string> PreviewFiles(const std::vector<std::string>& names, const std::string& stem)
{
    std::map<std::string, std::string> files;
    for (const auto& name : names) {
        if (name.compare(0, stem.size(), stem) != 0)
            continue;
        const std::string number = name.substr(stem.size(), name.find('.', stem.size()) - stem.size());
        if (!number.empty() && number.find_first_not_of("0123456789") == std::string::npos)
            files[number] = name;
    }
    return files;
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            names.emplace_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

// The first preview whose bytes differ before and after, as a reason; "".
std::string ChangedPreview(const std::string& folder, const std::vector<std::string>& names,
                           const RewriteCheck& check)
{
    const auto had = PreviewFiles(names, PreviewStem(check.before));
    const auto has = PreviewFiles(names, PreviewStem(check.after));
    for (const auto& [number, name] : had) {
        const auto found = has.find(number);
        std::string a, b, ignored;
        if (found == has.end() || !ReadRegularFile(folder + "/" + name, a, ignored)
            || !ReadRegularFile(folder + "/" + found->second, b, ignored) || a != b)
            return "preview " + number + " would change";
    }
    return {};
}

void RemovePreviews(const std::string& folder, const std::vector<std::string>& names,
                    const std::vector<std::string>& stems)
{
    for (const auto& name : names) {
        for (const auto& stem : stems) {
            if (name.compare(0, stem.size(), stem) == 0) {
                unlink((folder + "/" + name).c_str());
                break;
            }
        }
    }
}

// Extracts the previews of the photos at withPreviews, before and after, with one run of
// the tool, and fails each check whose previews differ.
void ComparePreviews(std::vector<RewriteCheck>& checks, const std::vector<size_t>& withPreviews,
                     const std::string& scratchFolder)
{
    std::vector<std::string> stems;
    std::vector<std::string> argv = {kExifProgram, "-f", "-ep", "-l", scratchFolder, "--"};
    for (size_t i : withPreviews) {
        argv.push_back(checks[i].before);
        argv.push_back(checks[i].after);
        stems.push_back(PreviewStem(checks[i].before));
        stems.push_back(PreviewStem(checks[i].after));
    }
    RemovePreviews(scratchFolder, FolderNames(scratchFolder), stems);   // an earlier batch's
    const ToolRun extraction = RunQuietly(argv);
    const std::vector<std::string> names = FolderNames(scratchFolder);
    for (size_t i : withPreviews) {
        RewriteCheck& c = checks[i];
        if (extraction.error != 0 || !extraction.exited) {
            c.verdict = RewriteCheck::Verdict::NotRun;
            SetReason(c, NotRunReason(extraction));
            continue;
        }
        c.reason = ChangedPreview(scratchFolder, names, c);
        if (!c.reason.empty())
            c.verdict = RewriteCheck::Verdict::Lost;
    }
    RemovePreviews(scratchFolder, names, stems);
}

}  // namespace

bool IsBookkeepingTag(const std::string& key)
{
    static const std::set<std::string> names = {
        // IFD pointers
        "ExifTag", "GPSTag", "InteroperabilityTag", "SubIFDs",
        // where a data block starts, and its length
        "JPEGInterchangeFormat", "JPEGInterchangeFormatLength", "StripOffsets", "StripByteCounts",
        "TileOffsets", "TileByteCounts", "PreviewImageStart", "PreviewImageLength", "PreviewOffset",
        "PreviewLength", "ThumbnailOffset", "ThumbnailLength"};
    return names.count(TagName(key)) || IsArrayLength(key) || key == "Exif.MakerNote.Offset"
        || key == "Exif.MakerNote.ByteOrder"
        || key == "Exif.Nikon3.Preview";   // the pointer to Nikon's preview IFD
}

void CheckRewrites(std::vector<RewriteCheck>& checks, const std::string& scratchFolder)
{
    if (checks.empty())
        return;
    std::vector<std::string> paths;
    for (const auto& c : checks) {
        paths.push_back(c.before);
        paths.push_back(c.after);
    }
    // -u: unknown tags too, so that every tag is compared and undecoded maker tags show.
    std::vector<std::string> argv = {kExifProgram, "-u", "-PEIXkycv", "--"};
    argv.insert(argv.end(), paths.begin(), paths.end());
    const ToolRun listing = RunQuietly(argv);
    const std::vector<TagMap> tags = ListedTags(listing.output, paths);

    std::vector<size_t> withPreviews;
    for (size_t i = 0; i < checks.size(); ++i) {
        RewriteCheck& c = checks[i];
        c.verdict = RewriteCheck::Verdict::NotRun;
        if (listing.error != 0 || !listing.exited) {
            SetReason(c, NotRunReason(listing));
            continue;
        }
        std::string key = UnwrittenTag(tags[2 * i + 1], c.command);
        if (!key.empty()) {
            c.verdict = RewriteCheck::Verdict::Lost;
            SetReason(c, Text("Tips", QT_TRANSLATE_NOOP("Tips", "a tag was not written: %1"), {key}));
            continue;
        }
        key = UndeletedTag(tags[2 * i + 1], c.command);
        if (!key.empty()) {
            c.verdict = RewriteCheck::Verdict::Lost;
            SetReason(c, Text("Tips", QT_TRANSLATE_NOOP("Tips", "a tag was not deleted: %1"), {key}));
            continue;
        }
        key = LostTag(tags[2 * i], tags[2 * i + 1], NamedKeys(c.command));
        if (!key.empty()) {
            c.verdict = RewriteCheck::Verdict::Lost;
            SetReason(c, Text("Tips", QT_TRANSLATE_NOOP("Tips", "a tag would be lost or changed: %1"), {key}));
            continue;
        }
        c.verdict = RewriteCheck::Verdict::Kept;
        c.namedBefore = NamedValues(tags[2 * i], CommandKeys(c.command));
        c.beforeHash = Fingerprint(tags[2 * i]);
        c.afterHash = Fingerprint(tags[2 * i + 1]);
        for (const auto& entry : tags[2 * i]) {
            if (PointsAtPreview(entry.first)) {
                withPreviews.push_back(i);
                break;
            }
        }
    }
    if (!withPreviews.empty())
        ComparePreviews(checks, withPreviews, scratchFolder);
}

std::vector<std::string> CommandKeys(const std::string& command)
{
    std::vector<std::string> keys;
    std::set<std::string> seen;
    std::istringstream lines(command);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string verb, key;
        if (words >> verb >> key && seen.insert(key).second)
            keys.push_back(key);
    }
    return keys;
}

bool MetadataFingerprints(const std::vector<std::string>& paths, const std::vector<std::string>& keys,
                          std::vector<uint64_t>& hashes, std::vector<std::vector<TagValue>>& named,
                          std::string& reason, std::vector<size_t>* tagCounts)
{
    hashes.assign(paths.size(), 0);
    named.assign(paths.size(), {});
    if (paths.empty())
        return true;
    // The tool names the file on each line only when it lists more than one: a lone file
    // gets a companion with no tags.
    std::vector<std::string> listed = paths;
    if (listed.size() == 1)
        listed.push_back("/dev/null");
    std::vector<std::string> argv = {kExifProgram, "-u", "-PEIXkycv", "--"};
    argv.insert(argv.end(), listed.begin(), listed.end());
    const ToolRun listing = RunQuietly(argv);
    if (listing.error != 0 || !listing.exited) {
        reason = NotRunReason(listing).English();
        return false;
    }
    const std::vector<TagMap> tags = ListedTags(listing.output, listed);
    if (tagCounts)
        tagCounts->assign(paths.size(), 0);
    for (size_t i = 0; i < paths.size(); ++i) {
        hashes[i] = Fingerprint(tags[i]);
        named[i] = NamedValues(tags[i], keys);
        if (tagCounts)
            (*tagCounts)[i] = tags[i].size();
    }
    return true;
}
