#include "journal/JournalCheck.h"

#include <algorithm>

#include "common/PathText.h"

namespace {

// A tag name as exiv2 spells it, Family.Group.Tag, of letters, digits and "_" alone: nothing
// that could end a command line or start another.
bool IsTagName(const std::string& key)
{
    size_t dots = 0;
    bool empty = true;
    for (char c : key) {
        if (c == '.') {
            if (empty)
                return false;
            ++dots;
            empty = true;
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') {
            empty = false;
        } else {
            return false;
        }
    }
    return dots == 2 && !empty
        && (key.compare(0, 5, "Exif.") == 0 || key.compare(0, 4, "Xmp.") == 0 || key.compare(0, 5, "Iptc.") == 0);
}

bool IsWord(const std::string& text)
{
    for (char c : text)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// Paths reach system calls as C strings: a NUL would cut one short into another path.
bool IsPath(const std::string& path)
{
    return !path.empty() && path.find('\0') == std::string::npos;
}

}  // namespace

// A run's id is a file name of letters, digits and "-" alone.
bool IsRunId(const std::string& id)
{
    if (id.empty() || id.size() > 64)
        return false;
    for (char c : id)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-'))
            return false;
    return true;
}

// What a value shows in a reason: control characters as "?".
std::string ShownText(const std::string& text)
{
    std::string shown = text.substr(0, 80);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return shown;
}

// Every value of a run read back, checked before anything uses it: the names and paths come
// from Pinroute alone, so one that is not as Pinroute writes it means the file is not ours.
// The old values come from photos; RestoreCommand refuses those a command can't hold.
bool CheckJournalRun(const JournalRun& run, const std::string& id, std::string& reason)
{
    if (run.id != id) {
        reason = "it names another run";
        return false;
    }
    for (const auto& folder : run.folders)
        if (!IsPath(folder)) {
            reason = "a folder in it is no path";
            return false;
        }
    for (size_t i = 0; i < run.photos.size(); ++i) {
        const JournalEntry& e = run.photos[i];
        const std::string where = "photo " + std::to_string(i + 1) + ": ";
        if (!IsPath(e.photo) || (!e.file.empty() && !IsPath(e.file)) || (!e.oldPath.empty() && !IsPath(e.oldPath))) {
            reason = where + "a path in it is no path";
            return false;
        }
        // Rename never moves a photo out of its folder; an old name elsewhere is not the photo's.
        const std::string oldName = FileNameOf(e.oldPath);
        if (!e.oldPath.empty() && (FolderOf(e.oldPath) != FolderOf(e.photo) || oldName == "." || oldName == "..")) {
            reason = where + "its old name " + ShownText(e.oldPath) + " is not in the photo's folder";
            return false;
        }
        if (e.oldPath.empty() && e.file.empty()) {
            reason = where + "it names no file";
            return false;
        }
        for (const auto& key : e.keys)
            if (!IsTagName(key)) {
                reason = where + "\"" + ShownText(key) + "\" is not a tag name";
                return false;
            }
        for (const TagValue& t : e.before)
            if (!IsTagName(t.key) || !IsWord(t.type)
                || std::find(e.keys.begin(), e.keys.end(), t.key) == e.keys.end()) {
                reason = where + "the old value of \"" + ShownText(t.key) + "\" is not one of its tags";
                return false;
            }
    }
    return true;
}

