#include "exif/PhotoListing.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/PathText.h"
#include "common/TextLines.h"
#include "exif/ChildProcess.h"
#include "exif/ExifListing.h"
#include "exif/ListingLines.h"
#include "exif/SafeWrite.h"
#include "photos/PhotoKinds.h"

// Listing many photos in one tool run. With more than one photo, exiv2 starts each line
// with the photo's name, left-aligned in 20 columns, then two blanks. A line is matched
// to its photo by that exact prefix. Three things could make a line lie about its
// photo, and each is kept out of a shared run:
// - a name holding a line end: such a photo is listed alone;
// - two names whose prefixes could start the same line (one prefix begins the other):
//   such photos are listed alone;
// - a text value holding a line end, which exiv2 prints raw: an Ascii value shorter on
//   its line than its count says. The output is trusted only up to that line; its
//   photo is listed again alone and the photos after it in a new run.
// Messages go to a descriptor of their own, so they never mix with the lines.
namespace {

const size_t kBatchPaths = 200;          // photos per tool run
const size_t kBatchBytes = 100 * 1024;   // bytes of photo names per tool run


// What one tool run printed.
struct RunOutput {
    int error = 0;          // errno of a run that couldn't be made, else 0
    bool exited = false;    // the tool ended through exit(), not by a signal
    int signal = 0;         // the signal that ended it, when it didn't exit
    std::string lines;      // its standard output
    std::string messages;   // its standard error
};

// The name handed to the tool for a photo: a relative path gets "./", so that "-"
// (standard input to exiv2) or "http:..." can only ever mean a file.
std::string Argument(const std::string& path)
{
    return !path.empty() && path[0] == '/' ? path : "./" + path;
}

std::vector<std::string> BatchCommand(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {kExifProgram, "-PEIXkycv"};
    for (const std::string& key : ListedKeys()) {
        argv.push_back("-K");
        argv.push_back(key);
    }
    argv.push_back("--");
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
}

// The whole content of a descriptor from its start.
std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    off_t offset = 0;
    ssize_t n;
    while ((n = pread(fd, buffer, sizeof buffer, offset)) > 0) {
        text.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
    return text;
}

RunOutput RunTool(const std::vector<std::string>& arguments)
{
    RunOutput output;
    CapturedRun tool;
    tool.plainLocale = true;   // the messages are matched in English below
    tool.errorFd = memfd_create("pinroute-listing-messages", MFD_CLOEXEC);
    if (tool.errorFd < 0) {
        output.error = errno;
        return output;
    }
    output.error = tool.Run(BatchCommand(arguments));
    output.exited = tool.exited;
    output.signal = tool.termSignal;
    output.lines = std::move(tool.text);
    output.messages = ReadAll(tool.errorFd);
    close(tool.errorFd);
    return output;
}

// True when the tool said it could not read the photo it was given as argument.
bool NamedInMessages(const std::string& messages, const std::string& argument)
{
    const std::string header = "Exiv2 exception in print action for file " + argument + ":";
    const std::string notOpened = argument + ": Failed to open the file";
    for (const auto& line : Lines(messages)) {
        if (line == header || line == notOpened)
            return true;
    }
    return false;
}

// True when the line (prefix taken away) holds an Ascii value that its count says is
// longer than what is on the line: the rest may have gone on over the next lines.
bool ValueMayGoOn(const std::string& line)
{
    // KEY TYPE COUNT, then two blanks and the value.
    size_t pos = 0;
    std::string words[3];
    for (auto& word : words) {
        size_t start = line.find_first_not_of(' ', pos);
        if (start == std::string::npos)
            return false;
        pos = line.find(' ', start);
        if (pos == std::string::npos)
            pos = line.size();
        word = line.substr(start, pos - start);
    }
    if (words[1] != "Ascii" && words[1] != "XmpText" && words[1] != "String")
        return false;
    const long count = std::strtol(words[2].c_str(), nullptr, 10);
    const long shown = static_cast<long>(line.size()) - static_cast<long>(pos + 2);
    return shown < (words[1] == "Ascii" ? count - 1 : count);   // an Ascii count holds the closing zero byte
}

// Reads a run that listed several photos into tags. Returns how many of them (in
// order) were read from lines that can be trusted; the photo after those must be
// listed again alone, and the ones after it again together.
size_t ReadBatch(const RunOutput& output, const std::vector<std::string>& arguments,
                 const std::vector<size_t>& indices, std::vector<PhotoTags>& tags)
{
    const size_t n = arguments.size();
    std::vector<TagReader> readers(n);
    std::vector<bool> hasLines(n, false);
    size_t trusted = n;
    for (const ListedLine& line : SplitListing(output.lines, arguments)) {
        if (line.continued || ValueMayGoOn(line.text)) {   // a value went on over lines
            trusted = line.file;
            break;
        }
        readers[line.file].AddLine(line.text);
        hasLines[line.file] = true;
    }
    for (size_t i = 0; i < trusted; ++i) {
        PhotoTags& photo = tags[indices[i]];
        photo = readers[i].Tags();
        photo.listed = hasLines[i] || !NamedInMessages(output.messages, arguments[i]);
    }
    return trusted;
}

// Appends each run's output to the listing file for the user to read.
class ListingLog {
public:
    explicit ListingLog(const std::string& path)
    {
        if (!path.empty())
            fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    }
    ~ListingLog()
    {
        if (fd >= 0)
            close(fd);
    }
    ListingLog(const ListingLog&) = delete;
    ListingLog& operator=(const ListingLog&) = delete;

    void Append(const std::string& text)
    {
        size_t done = 0;
        while (fd >= 0 && done < text.size()) {
            ssize_t n = write(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return;   // the listing is read from memory; the file is only a copy
            done += static_cast<size_t>(n);
        }
    }

private:
    int fd = -1;
};

// Lists the photos at indices in one run, and lists again what that run left unsure.
void ListBatch(ListingLog& log, const std::vector<std::string>& paths, std::vector<size_t> indices,
               std::vector<PhotoTags>& tags)
{
    while (!indices.empty()) {
        std::vector<std::string> arguments;
        for (size_t i : indices)
            arguments.push_back(Argument(paths[i]));
        const RunOutput output = RunTool(arguments);
        log.Append(output.lines);
        log.Append(output.messages);
        if (output.error != 0) {   // the tool can't be run: no photo is listed, and each says why
            for (size_t i : indices)
                tags[i].listError = std::string(kExifProgram) + " could not run: " + SystemReason(output.error);
            return;
        }
        if (indices.size() == 1) {
            // One photo: exiv2 prints its lines without a name, and no other photo's
            // line can be among them.
            PhotoTags& photo = tags[indices[0]];
            photo = ReadListingText(output.lines);
            photo.listed = output.exited && (!output.lines.empty()
                                             || !NamedInMessages(output.messages, arguments[0]));
            if (!output.exited)
                photo.listError = std::string(kExifProgram) + " was stopped by signal " + std::to_string(output.signal);
            return;
        }
        size_t trusted = output.exited ? ReadBatch(output, arguments, indices, tags) : 0;
        if (trusted == indices.size())
            return;
        ListBatch(log, paths, {indices[trusted]}, tags);
        indices.erase(indices.begin(), indices.begin() + static_cast<long>(trusted) + 1);
    }
}

// Splits the photos into those that must be listed alone and those that may share a run.
void SortOut(const std::vector<std::string>& paths, std::vector<size_t>& alone,
             std::vector<size_t>& shared)
{
    std::vector<std::pair<std::string, size_t>> prefixes;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (paths[i].find('\n') != std::string::npos)
            alone.push_back(i);
        else
            prefixes.emplace_back(ListingPrefix(Argument(paths[i])), i);
    }
    // When one prefix begins another, it also begins every prefix sorted between them,
    // so comparing neighbours finds every such pair.
    std::sort(prefixes.begin(), prefixes.end());
    std::vector<bool> clash(prefixes.size(), false);
    for (size_t i = 0; i + 1 < prefixes.size(); ++i) {
        const std::string& a = prefixes[i].first;
        if (prefixes[i + 1].first.compare(0, a.size(), a) == 0)
            clash[i] = clash[i + 1] = true;
    }
    for (size_t i = 0; i < prefixes.size(); ++i)
        (clash[i] ? alone : shared).push_back(prefixes[i].second);
    std::sort(shared.begin(), shared.end());
}

}  // namespace

namespace {

std::vector<PhotoTags> ListAll(ListingLog& log, const std::vector<std::string>& paths)
{
    std::vector<PhotoTags> tags(paths.size());
    std::vector<size_t> alone, shared;
    SortOut(paths, alone, shared);
    for (size_t i : alone)
        ListBatch(log, paths, {i}, tags);

    std::vector<size_t> batch;
    size_t bytes = 0;
    for (size_t i : shared) {
        const size_t size = paths[i].size() + 3;   // "./" and the terminating zero
        if (!batch.empty() && (batch.size() == kBatchPaths || bytes + size > kBatchBytes)) {
            ListBatch(log, paths, batch, tags);
            batch.clear();
            bytes = 0;
        }
        batch.push_back(i);
        bytes += size;
    }
    if (!batch.empty())
        ListBatch(log, paths, batch, tags);
    return tags;
}

// The kinds whose positions live in sidecars: the RAW kinds, and those exiv2 can't write.
bool SidecarFirst(const std::string& path)
{
    const PhotoKind kind = KindOf(path);
    return kind == PhotoKind::Raw || kind == PhotoKind::SidecarOnly;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<PhotoTags> ListPhotos(const WorkerFiles& files, const std::vector<std::string>& paths)
{
    ListingLog log(files.listing);
    std::vector<PhotoTags> tags = ListAll(log, paths);

    // A RAW photo's sidecar is read first, as darktable and digiKam read it: what the
    // sidecar says is what those programs show. Any other photo read without a position
    // takes the one in its sidecar; every sidecar is read for the place it may name. exiv2 shows a sidecar's XMP GPS properties as
    // Exif.GPSInfo tags too; the capture time stays the photo's own.
    std::vector<std::string> sidecars;
    std::vector<size_t> owners;
    for (size_t i = 0; i < paths.size(); ++i) {
        // A sidecar is read for the place it may name, too.
        if (tags[i].listed && IsRegularFile(SidecarPath(paths[i]))) {
            sidecars.push_back(SidecarPath(paths[i]));
            owners.push_back(i);
        }
    }
    if (sidecars.empty())
        return tags;
    const std::vector<PhotoTags> sidecarTags = ListAll(log, sidecars);
    for (size_t k = 0; k < sidecars.size(); ++k) {
        PhotoTags& photo = tags[owners[k]];
        if (photo.place.Names().Empty())   // a RAW file's place lies in its sidecar too
            photo.place.xmp = sidecarTags[k].place.xmp;
        if (!sidecarTags[k].hasPosition || (photo.hasPosition && !SidecarFirst(paths[owners[k]])))
            continue;
        photo.hasPosition = true;
        photo.positionInSidecar = true;
        photo.latitude = sidecarTags[k].latitude;
        photo.longitude = sidecarTags[k].longitude;
    }
    return tags;
}
