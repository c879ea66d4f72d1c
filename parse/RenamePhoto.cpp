#include "parse/RenamePhoto.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

const char* MessageFor(int error)
{
    switch (error) {
    case ENOENT:
        return "Original file not found";
    case EACCES:
    case EEXIST:
        return "File or directory specified already exists or could not be created (invalid path)";
    case EINVAL:
        return "File name contains invalid characters";
    default:
        return "Unknown Error";
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

// Returns 0 or an errno value; never replaces an existing entry.
int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    int error = errno;
    if (error == EINVAL || error == ENOSYS)   // file system or kernel without the flag
        return LinkThenUnlink(from, to);
    return error;
}

}  // namespace

int LinkThenUnlink(const std::string& from, const std::string& to)
{
    if (link(from.c_str(), to.c_str()) != 0)
        return errno;
    if (unlink(from.c_str()) != 0) {
        int error = errno;
        unlink(to.c_str());   // keep the photo under its old name only
        return error;
    }
    return 0;
}

namespace {

bool RenameInFolder(const std::string& fullPath, const std::string& folder, int dateFlag, int posnFlag,
                    int32_t latitude, int32_t longitude, const std::string& positionText,
                    const std::string& dateText, std::string& newName, std::string& message)
{
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    // The photo's own name must lie directly in the folder, or the new name would not be
    // beside it.
    std::string fileName = fullPath.compare(0, dir.size(), dir) == 0 ? fullPath.substr(dir.size()) : "";
    if (fileName.empty() || fileName == "." || fileName == ".." || !SafeInName(fileName) ||
        dir.find('\0') != std::string::npos) {
        message = MessageFor(EINVAL);
        return false;
    }

    // The extension runs from the last "." of the file name and keeps the dot.
    auto dot = fileName.rfind('.');
    std::string baseName = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot);

    std::string name = baseName;
    if (dateFlag) {
        name += ' ';
        name += DateForName(dateText);
    }
    name += ' ';
    if (posnFlag)
        name += positionText.empty() ? FallbackPosition(latitude, longitude) : positionText;
    name += extension;

    // A "/" from the date or position would put the photo into another folder.
    if (!SafeInName(name)) {
        message = MessageFor(EINVAL);
        return false;
    }

    std::string target = dir + name;
    int error = RenameNoReplace(fullPath, target);
    if (error != 0) {
        message = MessageFor(error);
        return false;
    }
    newName = target;
    return true;
}

}  // namespace

bool RenamePhoto(const std::string& fullPath, const std::string& folder, int dateFlag, int posnFlag,
                 int32_t latitude, int32_t longitude, const std::string& positionText,
                 const std::string& dateText, std::string& newName, std::string& message)
{
    // Built aside first: a caller may pass the previous newName as fullPath.
    std::string builtName;
    std::string builtMessage;
    bool renamed = RenameInFolder(fullPath, folder, dateFlag, posnFlag, latitude, longitude, positionText,
                                  dateText, builtName, builtMessage);
    newName = builtName;
    message = builtMessage;
    return renamed;
}
