#include "exif/GpsTagWriter.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <system_error>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "common/PathText.h"
#include "exif/BmffExifWriter.h"
#include "exif/MetadataCheck.h"
#include "exif/PlaceCommands.h"
#include "exif/SafeWrite.h"
#include "exif/ToolUpdate.h"

namespace {

// The reasons the writer words itself, as marked texts: reason for the terminal, reasonText for the window.
void SetReason(GpsWrite& w, const char* source, std::vector<Text> args = {})
{
    w.reasonText = Text("Tips", source, std::move(args));
    w.reason = w.reasonText.English();
}

// What the check lists for photo n of a batch, before and after the update: private names
// in the worker folder. For a JPEG they are files holding its metadata segments; for a
// whole file or a sidecar, "before" holds or links to the original and "after" links to
// the updated copy, so the listing names only private paths.
struct HeadFiles {
    std::string before;
    std::string after;
};

HeadFiles HeadFilesFor(const WorkerFiles& files, size_t n)
{
    const std::string stem = FolderOf(files.command) + "/";
    return {stem + "before-" + std::to_string(n) + ".jpg", stem + "after-" + std::to_string(n) + ".jpg"};
}

// A private link at linkPath to target, replacing whatever the worker left there.
bool PrivateLink(const std::string& target, const std::string& linkPath, std::string& reason)
{
    unlink(linkPath.c_str());
    if (symlink(target.c_str(), linkPath.c_str()) != 0) {
        reason = linkPath + ": " + SystemReason(errno);
        return false;
    }
    return true;
}

// One photo of a batch on its way: staged (its working files made), updated by the tool,
// then finished (its hidden copy complete but not yet checked or in the photo's place).
struct Pending {
    GpsWrite* write = nullptr;
    std::string command;
    HeadFiles heads;
    std::unique_ptr<PhotoCopy> copy;
    int syncError = 0;

    bool jpeg = false;       // the tool edits heads.after, the photo's metadata segments
    std::unique_ptr<BmffExifEdit> bmff;   // the tool edits exv, a HEIF photo's Exif item
    std::string exv;
    std::string photo;       // a JPEG's or HEIF photo's real path
    std::string head;        // a JPEG's metadata segments, its scan header and an end marker
    size_t scan = 0;         // where a JPEG's scan starts
    std::string original;    // the photo (or sidecar) as read, while still needed
    FileIdentity identity;   // what the photo (or an existing sidecar) was as it was read
    std::string target;      // a copied file's photo or sidecar
    bool originalInPrivateFile = false;
    bool fresh = false;      // a sidecar that doesn't exist yet

    // The file the tool edits.
    const std::string& EditPath() const { return jpeg ? heads.after : bmff ? exv : copy->Path(); }
    // Puts the file the tool edits back as it was staged, for another run.
    bool Restage(std::string& reason) const
    {
        return jpeg ? WritePrivateFile(heads.after, head, reason)
                    : !bmff || WritePrivateFile(exv, bmff->Exv(), reason);
    }
};

// The tool writes the hidden copy itself: the whole photo (a TIFF, PNG, RAW...) or the
// sidecar is copied beside its target, and the tool edits the copy, never the target.
// original is the target's content; the check lists it from a private file or link.
// copyContent, when given, is what the copy starts as instead of the original.
bool StageCopy(const std::string& target, std::string original, bool originalInPrivateFile, Pending& p,
               const std::string* copyContent = nullptr)
{
    GpsWrite& w = *p.write;
    p.heads.before.resize(p.heads.before.size() - 4);   // no ".jpg": these aren't JPEGs
    p.heads.after.resize(p.heads.after.size() - 4);
    unlink(p.heads.before.c_str());   // an earlier photo's link may be there
    p.target = target;
    p.originalInPrivateFile = originalInPrivateFile;
    p.copy = std::make_unique<PhotoCopy>();
    // Room for the copy and for the tool's own temporary file beside it.
    const std::string& content = copyContent ? *copyContent : original;
    const bool made = p.copy->CreateFor(target, 2 * original.size() + content.size(), w.reason)
        && p.copy->Write(content.data(), content.size(), w.reason);
    p.copy->Expect(p.identity);
    if (originalInPrivateFile)
        p.original = std::move(original);
    return made;
}

bool FinishCopy(Pending& p)
{
    GpsWrite& w = *p.write;
    const bool done = p.copy->Reopen(w.reason)
        && (p.originalInPrivateFile ? WritePrivateFile(p.heads.before, p.original, w.reason)
                                    : PrivateLink(p.target, p.heads.before, w.reason))
        && PrivateLink(p.copy->Path(), p.heads.after, w.reason);
    std::string().swap(p.original);
    return done;
}

// An empty XMP packet, the content of a sidecar that doesn't exist yet.
const char kEmptyPacket[] =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
    " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <rdf:Description rdf:about=\"\"/>\n"
    " </rdf:RDF>\n"
    "</x:xmpmeta>\n"
    "<?xpacket end=\"w\"?>\n";

// The sidecar beside the photo (a link is written where it points); a new one starts as
// an empty packet. The photo itself is never opened for writing.
bool StageSidecar(Pending& p)
{
    GpsWrite& w = *p.write;
    std::string target = SidecarPath(w.photoPath);
    std::string original;
    struct stat info;
    // The check reaches the copy through a link in the workspace, so the path is made
    // absolute, through the existing sidecar or else through its folder.
    const bool exists = lstat(target.c_str(), &info) == 0;
    if (exists || errno == ENOENT) {
        char* real = realpath(exists ? target.c_str() : FolderOf(target).c_str(), nullptr);
        if (!real) {
            w.reason = SystemReason(errno);
            return false;
        }
        target = exists ? std::string(real) : std::string(real) + "/" + FileNameOf(target);
        std::free(real);
        p.fresh = !exists;
        if (!exists)
            original = kEmptyPacket;
        else if (!MayWriteInPlace(target, "the sidecar", w.reason)
                 || !ReadRegularFile(target, original, w.reason, &p.identity))
            return false;
    } else {
        w.reason = SystemReason(errno);
        return false;
    }
    // A sidecar that is to lose all it holds starts over as an empty packet: the tool
    // leaves an XMP file it would empty as it was.
    static const std::string empty = kEmptyPacket;
    return StageCopy(target, std::move(original), true, p, w.emptySidecar ? &empty : nullptr);
}

// A HEIF photo is written where the narrow write covers its shape: the tool edits its Exif
// item alone, and everything else in the file stays where it is.
bool StageBmff(std::string original, Pending& p)
{
    GpsWrite& w = *p.write;
    p.bmff = std::make_unique<BmffExifEdit>();
    if (p.bmff->Plan(original, w.reason) != BmffShape::Covered) {
        w.fileRefused = true;
        return false;
    }
    p.original = std::move(original);
    p.exv = p.heads.after.substr(0, p.heads.after.size() - 4) + ".exv";
    return p.Restage(w.reason);
}

// After the tool's run: the photo with the new Exif item, checked, as a hidden copy; the
// metadata check lists the photo and the copy through private links.
bool FinishBmff(Pending& p)
{
    GpsWrite& w = *p.write;
    std::string edited, updated;
    if (!ReadRegularFile(p.exv, edited, w.reason))
        return false;
    if (!p.bmff->Build(p.original, edited, updated, w.reason)) {
        w.fileRefused = true;
        return false;
    }
    std::string().swap(p.original);
    p.heads.before.resize(p.heads.before.size() - 4);   // no ".jpg": these aren't JPEGs
    p.heads.after.resize(p.heads.after.size() - 4);
    p.copy = std::make_unique<PhotoCopy>();
    p.copy->Expect(p.identity);
    return p.copy->Create(p.photo, updated.size(), w.reason) && p.copy->Write(updated.data(), updated.size(), w.reason)
        && PrivateLink(p.photo, p.heads.before, w.reason) && PrivateLink(p.copy->Path(), p.heads.after, w.reason);
}

// Everything before the tool's run: the command, the photo read, and the file the tool is
// to edit. false with the write's reason.
bool Stage(const WorkerFiles& files, size_t n, const std::string& version, Pending& p)
{
    GpsWrite& w = *p.write;
    p.command = !w.command.empty() ? w.command
        : w.sidecar ? SidecarCommandText(w.latitude, w.longitude, w.elevationText, w.precision)
                    : GpsCommandText(w.latitude, w.longitude, w.elevationText, version, w.precision);
    if (p.command.empty()) {
        SetReason(w, QT_TRANSLATE_NOOP("Tips", "the position is not a latitude and longitude on the globe"));
        return false;
    }
    if (w.command.empty())
        p.command += PlaceCommandText(w.place, w.placeIptc && !w.sidecar);
    p.heads = HeadFilesFor(files, n);
    if (w.sidecar)
        return StageSidecar(p);
    // A photo reached through a link is written where the link points, as the tool did.
    char* real = realpath(w.photoPath.c_str(), nullptr);
    if (!real) {
        w.reason = SystemReason(errno);
        return false;
    }
    p.photo = real;
    std::free(real);

    std::string original;
    if (!MayWriteInPlace(p.photo, "the photo", w.reason) || !ReadRegularFile(p.photo, original, w.reason, &p.identity))
        return false;
    if (p.identity.links > 1) {
        // A new file renamed over one name would split the links: the others keep the old photo.
        SetReason(w, QT_TRANSLATE_NOOP("Tips", "the photo has %1 hard links"), {std::to_string(p.identity.links)});
        w.fileRefused = true;
        return false;
    }
    const bool jpeg = original.size() >= 2 && original[0] == '\xFF' && original[1] == '\xD8';
    if (LooksLikeBmff(original))
        return StageBmff(std::move(original), p);
    if (!jpeg)
        return StageCopy(p.photo, std::move(original), false, p);
    // The tool rewrites only the segments before the image data and copies the rest as it
    // is, so it is given those segments alone, and the image data is put back after them.
    const size_t scan = ScanOffset(original);
    const size_t scanHeader = ScanHeaderLength(original, scan);
    if (scanHeader == 0) {
        SetReason(w, QT_TRANSLATE_NOOP("Tips", "the JPEG's segments can't be read"));
        w.fileRefused = true;
        return false;
    }
    p.jpeg = true;
    p.scan = scan;
    p.head = original.substr(0, scan + scanHeader) + "\xFF\xD9";
    p.original = std::move(original);
    return WritePrivateFile(p.heads.before, p.head, w.reason) && WritePrivateFile(p.heads.after, p.head, w.reason);
}

// After the tool's run: a JPEG's copy is made from the rewritten segments and the photo's
// own image data, whose scan must come back unchanged.
bool Finish(Pending& p)
{
    if (p.bmff)
        return FinishBmff(p);
    if (!p.jpeg)
        return FinishCopy(p);
    GpsWrite& w = *p.write;
    std::string updated;
    if (!ReadRegularFile(p.heads.after, updated, w.reason))
        return false;
    const size_t newScan = ScanOffset(updated);
    if (newScan == std::string::npos || updated.compare(newScan, std::string::npos, p.head, p.scan) != 0) {
        SetReason(w, QT_TRANSLATE_NOOP("Tips", "the tool wrote an incomplete JPEG file"));
        w.fileRefused = true;
        return false;
    }
    p.copy = std::make_unique<PhotoCopy>();
    p.copy->Expect(p.identity);
    const bool done = p.copy->Create(p.photo, p.original.size() + newScan, w.reason)
        && p.copy->Write(updated.data(), newScan, w.reason)
        && p.copy->Write(p.original.data() + p.scan, p.original.size() - p.scan, w.reason);
    std::string().swap(p.original);
    return done;
}

// The tool edits every staged photo. Photos with the same commands (the same position to a
// hundredth of a minute and the same elevation, as photos taken at one spot have) share
// one run; when a shared run fails, each photo gets a run of its own, which names the
// photo that failed. Commands delete before they add, so a second run leaves what the
// first would have.
std::vector<bool> UpdateAll(const WorkerFiles& files, std::vector<Pending>& staged)
{
    std::vector<bool> updated(staged.size(), false);
    std::map<std::string, std::vector<size_t>> groups;
    for (size_t i = 0; i < staged.size(); ++i)
        groups[staged[i].command].push_back(i);
    for (const auto& [command, members] : groups) {
        std::string reason;
        std::vector<std::string> paths;
        for (size_t m : members)
            paths.push_back(staged[m].EditPath());
        const bool commandWritten = WritePrivateFile(files.command, command, reason);
        const UpdateResult shared = commandWritten ? RunUpdate(files, paths, reason) : UpdateResult::Failed;
        if (shared == UpdateResult::Done) {
            for (size_t m : members)
                updated[m] = true;
            continue;
        }
        for (size_t m : members) {
            GpsWrite& w = *staged[m].write;
            if (!commandWritten || members.size() == 1) {   // nothing to learn from a rerun
                w.reason = reason;
                w.fileRefused = shared == UpdateResult::Refused;
                continue;
            }
            const Pending& p = staged[m];
            if (!p.Restage(w.reason))
                continue;
            const UpdateResult alone = RunUpdate(files, {p.EditPath()}, w.reason);
            updated[m] = alone == UpdateResult::Done;
            w.fileRefused = alone == UpdateResult::Refused;
        }
    }
    return updated;
}

// Lists the metadata of every pending photo, before and after, and keeps only those whose
// written tags read back and whose other tags and previews are all as they were.
void Verify(const WorkerFiles& files, std::vector<Pending>& pending)
{
    std::vector<RewriteCheck> checks;
    for (const auto& p : pending) {
        RewriteCheck c;
        c.before = p.heads.before;
        c.after = p.heads.after;
        c.command = p.command;
        checks.push_back(std::move(c));
    }
    CheckRewrites(checks, FolderOf(files.command));
    for (size_t i = 0; i < pending.size(); ++i) {
        GpsWrite& w = *pending[i].write;
        w.written = checks[i].verdict == RewriteCheck::Verdict::Kept;
        w.fileRefused = checks[i].verdict == RewriteCheck::Verdict::Lost;
        if (!w.written)
            w.reason = checks[i].reason, w.reasonText = checks[i].reasonText;
        w.file = pending[i].target.empty() ? pending[i].photo : pending[i].target;
        w.fileExisted = !pending[i].fresh;
        w.applied = pending[i].command;
        w.namedBefore = std::move(checks[i].namedBefore);
        w.beforeHash = checks[i].beforeHash;
        w.afterHash = checks[i].afterHash;
    }
}

// Flushes every pending copy, checks them all, and renames each copy that passed over its
// photo; then flushes each folder once, so that the new names last.
void CommitAll(const WorkerFiles& files, std::vector<Pending>& pending)
{
    // The flushes wait on the disk; the check meanwhile runs on the processor.
    auto flushAll = [&pending] {
        for (auto& p : pending)
            p.syncError = p.copy->Sync();
    };
    std::thread flush;
    try {
        flush = std::thread(flushAll);
    } catch (const std::system_error&) {
        flushAll();   // no thread to spare: one after the other
    }
    Verify(files, pending);
    if (flush.joinable())
        flush.join();

    // Nothing replaces its file before the journal holds what it changes.
    if (files.journal) {
        std::vector<const GpsWrite*> passed;
        for (auto& p : pending)
            if (p.write->written && p.syncError == 0)
                passed.push_back(p.write);
        std::string reason;
        if (!passed.empty() && !files.journal->Recording(passed, reason)) {
            for (auto& p : pending) {
                if (p.write->written) {
                    p.write->written = false;
                    p.write->fileRefused = false;
                    SetReason(*p.write, QT_TRANSLATE_NOOP("Tips", "the journal can't be written: %1"), {reason});
                }
            }
        }
    }

    // Each copy's data is on disk before its rename; one flush per folder then makes the
    // new names last.
    std::map<std::string, std::vector<GpsWrite*>> folders;
    for (auto& p : pending) {
        GpsWrite& w = *p.write;
        if (w.written && p.syncError != 0) {
            w.written = false;
            w.reason = SystemReason(p.syncError);
        }
        if (w.written)
            w.written = p.copy->Replace(w.reason);
        if (w.written)
            folders[FolderOf(p.copy->Path())].push_back(&w);
        p.copy.reset();   // a copy that did not replace its photo goes now
    }
    for (const auto& [folder, written] : folders) {
        if (const int error = SyncFolder(folder)) {
            for (GpsWrite* w : written)
                SetReason(*w, QT_TRANSLATE_NOOP("Tips", "the photo is written, but the folder could not be flushed: %1"),
                          {SystemReason(error)});
        }
    }
}

// One pass over the batch, each photo into the file its write names.
void WriteOnce(const WorkerFiles& files, std::vector<GpsWrite>& writes, const std::string& version)
{
    std::vector<Pending> staged;
    for (size_t n = 0; n < writes.size(); ++n) {
        GpsWrite& w = writes[n];
        w.written = false;
        w.fileRefused = false;
        w.reason.clear();
        if (files.command.empty()) {
            SetReason(w, QT_TRANSLATE_NOOP("Tips", "no working folder"));
            continue;
        }
        Pending p;
        p.write = &w;
        if (Stage(files, n, version, p))
            staged.push_back(std::move(p));
    }
    const std::vector<bool> updated = UpdateAll(files, staged);
    std::vector<Pending> pending;
    for (size_t i = 0; i < staged.size(); ++i) {
        if (updated[i] && Finish(staged[i]))
            pending.push_back(std::move(staged[i]));
    }
    staged.clear();   // the copies of photos that failed go now
    if (pending.empty())
        return;

    CommitAll(files, pending);
}

}  // namespace

void WriteGpsTagsBatch(const WorkerFiles& files, std::vector<GpsWrite>& writes, const std::string& version)
{
    WriteOnce(files, writes, version);
    // A photo that can't take the position without a loss gets it in its sidecar, and
    // stays as it was.
    std::vector<GpsWrite> retries;
    std::vector<size_t> owners;
    for (size_t i = 0; i < writes.size(); ++i) {
        // Commands of their own (undo, remove) go where they were meant, or nowhere.
        if (writes[i].written || !writes[i].fileRefused || writes[i].sidecar || !writes[i].command.empty())
            continue;
        GpsWrite retry = writes[i];
        retry.sidecar = true;
        retries.push_back(std::move(retry));
        owners.push_back(i);
    }
    if (!retries.empty())
        WriteOnce(files, retries, version);
    for (size_t k = 0; k < retries.size(); ++k) {
        GpsWrite& w = writes[owners[k]];
        if (retries[k].written) {
            w.written = true;
            w.sidecar = true;
            w.sidecarReason = w.reason;
            w.reason = retries[k].reason;
        } else {
            w.reason += "; the sidecar could not be written either: " + retries[k].reason;
        }
    }
    for (auto& w : writes) {
        if (w.written && w.sidecar)
            w.sidecarPath = SidecarPath(w.photoPath);
    }
}

bool WriteGpsTags(const WorkerFiles& files, const std::string& photoPath, double latitude,
                  double longitude, const std::string& elevationText, const std::string& version,
                  std::string& reason)
{
    std::vector<GpsWrite> writes(1);
    writes[0].photoPath = photoPath;
    writes[0].latitude = latitude;
    writes[0].longitude = longitude;
    writes[0].elevationText = elevationText;
    WriteGpsTagsBatch(files, writes, version);
    reason = writes[0].reason;
    return writes[0].written;
}
