#include "parse/RenamePhoto.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileSafety.h"
#include "photos/PhotoKinds.h"

namespace {

const char* MessageFor(int error)
{
    switch (error) {
    case ENOENT:
        return QT_TRANSLATE_NOOP("RowText", "Original file not found");
    case EACCES:
    case EEXIST:
        return QT_TRANSLATE_NOOP("RowText", "File or directory specified already exists or could not be created (invalid path)");
    case EINVAL:
        return QT_TRANSLATE_NOOP("RowText", "File name contains invalid characters");
    default:
        return QT_TRANSLATE_NOOP("RowText", "Unknown Error");
    }
}

// 2006:08:26 -> 2006-08-26: the last two colons become dashes, earlier ones stay.
std::string DateForName(std::string date)
{
    for (int i = 0; i < 2; ++i) {
        auto colon = date.rfind(':');
        if (colon == std::string::npos)
            break;
        date[colon] = '-';
    }
    return date;
}

// "N51 W0": whole degrees, for a position that has no text.
std::string FallbackPosition(int32_t latitude, int32_t longitude)
{
    // Magnitudes in 64 bits: the negation of INT32_MIN doesn't fit in 32.
    long long lat = latitude;
    long long lon = longitude;
    return std::string(lat < 0 ? "S" : "N") + std::to_string(std::llabs(lat)) + " " +
           (lon < 0 ? "W" : "E") + std::to_string(std::llabs(lon));
}

bool SafeInName(const std::string& part)
{
    return part.find('/') == std::string::npos && part.find('\0') == std::string::npos;
}

// What Rename appends to a name: " DATE POSITION PLACE", each part as parts asks.
std::string Suffix(const NameParts& parts)
{
    std::string suffix;
    if (parts.date) {
        suffix += ' ';
        suffix += DateForName(parts.dateText);
    }
    suffix += ' ';
    if (parts.position)
        suffix += parts.positionText.empty() ? FallbackPosition(parts.latitude, parts.longitude)
                                             : parts.positionText;
    if (!parts.placeText.empty())
        suffix += " " + parts.placeText;
    return suffix;
}

// Renames the photo at fullPath to target, its sidecar with it, never replacing a file; with
// checkOnly only sees whether it could. 0 or the errno value of the step that failed.
int MoveWithSidecar(const std::string& fullPath, const std::string& target, bool checkOnly)
{
    int error = 0;
    struct stat info;
    // The sidecar goes with its photo; both new names are checked first, so that a taken
    // sidecar name leaves the photo's name as it is too.
    const bool hasSidecar = lstat(SidecarPath(fullPath).c_str(), &info) == 0;
    if (checkOnly || hasSidecar) {
        if (lstat(fullPath.c_str(), &info) != 0)
            error = errno;
        else if (lstat(target.c_str(), &info) == 0 || (hasSidecar && lstat(SidecarPath(target).c_str(), &info) == 0))
            error = EEXIST;
    }
    if (error == 0 && !checkOnly) {
        error = RenameNoReplace(fullPath, target);
        if (error == 0 && hasSidecar) {
            error = RenameNoReplace(SidecarPath(fullPath), SidecarPath(target));
            if (error != 0)
                RenameNoReplace(target, fullPath);   // never a photo parted from its sidecar
        }
    }
    return error;
}

}  // namespace

RenameOutcome RenamePhoto(const std::string& fullPath, const NameParts& parts, bool checkOnly)
{
    RenameOutcome outcome;
    const size_t slash = fullPath.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
    const std::string fileName = fullPath.substr(dir.size());
    if (fileName.empty() || fileName == "." || fileName == ".." || !SafeInName(fileName)) {
        outcome.message = Text("RowText", MessageFor(EINVAL));
        return outcome;
    }

    // The extension runs from the last "." of the file name and keeps the dot.
    const size_t dot = fileName.rfind('.');
    std::string name = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
    const std::string suffix = Suffix(parts);
    // A name that already ends with what would be added keeps it: a second Rename changes
    // nothing, instead of growing the name each time.
    if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        outcome.renamed = true;
        outcome.unchanged = true;
        outcome.newPath = fullPath;
        return outcome;
    }
    name += suffix + extension;

    // A "/" from the date or position would put the photo into another folder.
    if (!SafeInName(name)) {
        outcome.message = Text("RowText", MessageFor(EINVAL));
        return outcome;
    }

    const std::string target = dir + name;
    const int error = MoveWithSidecar(fullPath, target, checkOnly);
    if (error != 0) {
        outcome.message = Text("RowText", MessageFor(error));
        return outcome;
    }
    outcome.renamed = true;
    outcome.newPath = target;
    return outcome;
}
