#include "settings/SettingsLocation.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/ModulePath.h"

namespace {

// Where the last component of path begins: after its last "/", or 0.
size_t FolderEnd(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// $HOME, or the account's home folder when it is unset.
std::string HomeFolder()
{
    if (const char* home = getenv("HOME"); home && *home)
        return home;
    std::vector<char> buffer(4096);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found
        && found->pw_dir)
        return found->pw_dir;
    return {};
}

}  // namespace

std::string SettingsFilePath(const std::string& executable, const ConfigEnvironment& environment)
{
    std::string program = executable;
    const std::string cliSuffix = "-cli";
    const size_t nameStart = FolderEnd(program);
    if (program.size() - nameStart > cliSuffix.size()
        && program.compare(program.size() - cliSuffix.size(), cliSuffix.size(), cliSuffix) == 0)
        program.erase(program.size() - cliSuffix.size());
    const std::string beside = PathBeside(program, ".ini");

    struct stat info;
    if (stat(beside.c_str(), &info) == 0)
        return beside;
    // An install tree (help in ../share/pinroute/, none beside the program) is no place
    // for settings even where the user may write it, as in ~/.local/bin.
    const std::string folder = nameStart == 0 ? "./" : program.substr(0, nameStart);
    const bool installed = HelpFilePath(program) != PathBeside(program, ".qhc");
    if (!installed && faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0)
        return beside;

    std::string configHome;
    if (!environment.xdgConfigHome.empty() && environment.xdgConfigHome[0] == '/')
        configHome = environment.xdgConfigHome;
    else if (!environment.home.empty())
        configHome = environment.home + "/.config";
    else
        return beside;
    while (configHome.size() > 1 && configHome.back() == '/')
        configHome.pop_back();
    return configHome + "/pinroute/pinroute.ini";
}

std::string SettingsFilePath()
{
    std::string path;
    int error = 0;
    if (!ExecutablePath(path, error)) {
        ShowSystemError("Error: Fatal using GetModuleFileName", error);
        return {};
    }
    ConfigEnvironment environment;
    if (const char* config = getenv("XDG_CONFIG_HOME"))
        environment.xdgConfigHome = config;
    environment.home = HomeFolder();
    return SettingsFilePath(path, environment);
}

bool EnsureSettingsFolder(const std::string& settingsPath, std::string& reason)
{
    const size_t end = FolderEnd(settingsPath);
    if (end <= 1)
        return true;   // the current folder or the root
    const std::string folder = settingsPath.substr(0, end - 1);
    // Each missing folder on the way down is made in turn; one that turns up meanwhile
    // (another instance saving at the same moment) is no failure.
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        struct stat info;
        if (stat(part.c_str(), &info) != 0) {
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
                reason = SystemErrorText(errno, 1024) + ": " + part;
                return false;
            }
        } else if (!S_ISDIR(info.st_mode)) {
            reason = SystemErrorText(ENOTDIR, 1024) + ": " + part;
            return false;
        }
        if (slash == std::string::npos)
            return true;
    }
}

