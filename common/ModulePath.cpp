#include "common/ModulePath.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/Messages.h"

namespace {

// glibc offers the GNU strerror_r (returns the text) unless strict POSIX is asked for, in
// which case it is the XSI one (returns 0 and fills the buffer); whichever is built, one
// of these two takes its result.
[[maybe_unused]] const char* ErrorTextFrom(int result, const char* buffer)
{
    return result == 0 ? buffer : "";
}

[[maybe_unused]] const char* ErrorTextFrom(const char* text, const char*)
{
    return text ? text : "";
}

// The help file of an install tree, from the folder of its programs.
const char kInstalledHelp[] = "../share/pinroute/pinroute.qhc";

// Where the last component of path begins: after its last "/", or 0.
size_t FolderEnd(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}


}  // namespace

bool ExecutablePath(std::string& path, int& error)
{
    // readlink doesn't say how long the link is: grow the buffer until the text fits.
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            error = errno;
            return false;
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            path.assign(buffer.data(), static_cast<size_t>(length));
            // An executable replaced while it runs (a rebuild, an upgrade) reads as
            // "PATH (deleted)"; its files still belong beside PATH.
            const std::string deleted = " (deleted)";
            struct stat info;
            if (path.size() > deleted.size()
                && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0
                && lstat(path.c_str(), &info) != 0)
                path.erase(path.size() - deleted.size());
            return true;
        }
        if (buffer.size() >= (1u << 20)) {
            error = ENAMETOOLONG;
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string PathBeside(const std::string& executable, const std::string& extension)
{
    // Only a dot in the last component starts an extension, and not a leading one
    // (".pinroute" is a hidden file's name, not an extension).
    std::string path = executable;
    size_t nameStart = path.rfind('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > nameStart)
        path.erase(dot);
    return path + extension;
}

bool ModuleFilePath(const std::string& extension, bool reportFailure, std::string& path)
{
    int error = 0;
    std::string executable;
    if (!ExecutablePath(executable, error)) {
        path.clear();
        if (reportFailure)
            ShowSystemError("Error: Fatal using GetModuleFileName", error);
        return false;
    }
    path = PathBeside(executable, extension);
    return true;
}

std::string HelpFilePath(const std::string& executable)
{
    const std::string beside = PathBeside(executable, ".qhc");
    struct stat info;
    if (stat(beside.c_str(), &info) == 0)
        return beside;
    const size_t nameStart = FolderEnd(executable);
    const std::string installed = executable.substr(0, nameStart) + kInstalledHelp;
    if (nameStart > 0 && stat(installed.c_str(), &info) == 0)
        return installed;
    return beside;
}

std::string HelpFilePath()
{
    std::string path;
    int error = 0;
    return ExecutablePath(path, error) ? HelpFilePath(path) : std::string();
}

void ShowSystemError(const std::string& text, int errorCode)
{
    std::string message;
    try {
        message = text + " " + SystemErrorText(errorCode, 1024);
    } catch (const std::bad_alloc&) {
        ShowMessage("Failed to build error message", "", MessageIcon::Error);
        return;
    }
    ShowMessage(message, "", MessageIcon::None);
}

std::string SystemErrorText(int errorCode, size_t room)
{
    if (errorCode == 0 || room == 0)
        return {};
    char buffer[1024] = "";
    std::string text = ErrorTextFrom(strerror_r(errorCode, buffer, sizeof buffer), buffer);
    if (text.size() >= room) {
        // Cut at room - 1 bytes, but never inside a UTF-8 sequence of a translated text.
        size_t cut = room - 1;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return text;
}
