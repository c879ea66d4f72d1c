#include "support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/ModulePath.h"

namespace {
// A 16 x 16 baseline JPEG (JFIF, quality 50), 641 bytes.
const unsigned char kTinyJpeg[] = {
0xff,0xd8,0xff,0xe0,0x00,0x10,0x4a,0x46,0x49,0x46,0x00,0x01,0x01,0x01,0x00,0x60,
0x00,0x60,0x00,0x00,0xff,0xdb,0x00,0x43,0x00,0x10,0x0b,0x0c,0x0e,0x0c,0x0a,0x10,
0x0e,0x0d,0x0e,0x12,0x11,0x10,0x13,0x18,0x28,0x1a,0x18,0x16,0x16,0x18,0x31,0x23,
0x25,0x1d,0x28,0x3a,0x33,0x3d,0x3c,0x39,0x33,0x38,0x37,0x40,0x48,0x5c,0x4e,0x40,
0x44,0x57,0x45,0x37,0x38,0x50,0x6d,0x51,0x57,0x5f,0x62,0x67,0x68,0x67,0x3e,0x4d,
0x71,0x79,0x70,0x64,0x78,0x5c,0x65,0x67,0x63,0xff,0xdb,0x00,0x43,0x01,0x11,0x12,
0x12,0x18,0x15,0x18,0x2f,0x1a,0x1a,0x2f,0x63,0x42,0x38,0x42,0x63,0x63,0x63,0x63,
0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,
0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,
0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0x63,0xff,0xc0,
0x00,0x11,0x08,0x00,0x10,0x00,0x10,0x03,0x01,0x22,0x00,0x02,0x11,0x01,0x03,0x11,
0x01,0xff,0xc4,0x00,0x1f,0x00,0x00,0x01,0x05,0x01,0x01,0x01,0x01,0x01,0x01,0x00,
0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,0x09,
0x0a,0x0b,0xff,0xc4,0x00,0xb5,0x10,0x00,0x02,0x01,0x03,0x03,0x02,0x04,0x03,0x05,
0x05,0x04,0x04,0x00,0x00,0x01,0x7d,0x01,0x02,0x03,0x00,0x04,0x11,0x05,0x12,0x21,
0x31,0x41,0x06,0x13,0x51,0x61,0x07,0x22,0x71,0x14,0x32,0x81,0x91,0xa1,0x08,0x23,
0x42,0xb1,0xc1,0x15,0x52,0xd1,0xf0,0x24,0x33,0x62,0x72,0x82,0x09,0x0a,0x16,0x17,
0x18,0x19,0x1a,0x25,0x26,0x27,0x28,0x29,0x2a,0x34,0x35,0x36,0x37,0x38,0x39,0x3a,
0x43,0x44,0x45,0x46,0x47,0x48,0x49,0x4a,0x53,0x54,0x55,0x56,0x57,0x58,0x59,0x5a,
0x63,0x64,0x65,0x66,0x67,0x68,0x69,0x6a,0x73,0x74,0x75,0x76,0x77,0x78,0x79,0x7a,
0x83,0x84,0x85,0x86,0x87,0x88,0x89,0x8a,0x92,0x93,0x94,0x95,0x96,0x97,0x98,0x99,
0x9a,0xa2,0xa3,0xa4,0xa5,0xa6,0xa7,0xa8,0xa9,0xaa,0xb2,0xb3,0xb4,0xb5,0xb6,0xb7,
0xb8,0xb9,0xba,0xc2,0xc3,0xc4,0xc5,0xc6,0xc7,0xc8,0xc9,0xca,0xd2,0xd3,0xd4,0xd5,
0xd6,0xd7,0xd8,0xd9,0xda,0xe1,0xe2,0xe3,0xe4,0xe5,0xe6,0xe7,0xe8,0xe9,0xea,0xf1,
0xf2,0xf3,0xf4,0xf5,0xf6,0xf7,0xf8,0xf9,0xfa,0xff,0xc4,0x00,0x1f,0x01,0x00,0x03,
0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x01,
0x02,0x03,0x04,0x05,0x06,0x07,0x08,0x09,0x0a,0x0b,0xff,0xc4,0x00,0xb5,0x11,0x00,
0x02,0x01,0x02,0x04,0x04,0x03,0x04,0x07,0x05,0x04,0x04,0x00,0x01,0x02,0x77,0x00,
0x01,0x02,0x03,0x11,0x04,0x05,0x21,0x31,0x06,0x12,0x41,0x51,0x07,0x61,0x71,0x13,
0x22,0x32,0x81,0x08,0x14,0x42,0x91,0xa1,0xb1,0xc1,0x09,0x23,0x33,0x52,0xf0,0x15,
0x62,0x72,0xd1,0x0a,0x16,0x24,0x34,0xe1,0x25,0xf1,0x17,0x18,0x19,0x1a,0x26,0x27,
0x28,0x29,0x2a,0x35,0x36,0x37,0x38,0x39,0x3a,0x43,0x44,0x45,0x46,0x47,0x48,0x49,
0x4a,0x53,0x54,0x55,0x56,0x57,0x58,0x59,0x5a,0x63,0x64,0x65,0x66,0x67,0x68,0x69,
0x6a,0x73,0x74,0x75,0x76,0x77,0x78,0x79,0x7a,0x82,0x83,0x84,0x85,0x86,0x87,0x88,
0x89,0x8a,0x92,0x93,0x94,0x95,0x96,0x97,0x98,0x99,0x9a,0xa2,0xa3,0xa4,0xa5,0xa6,
0xa7,0xa8,0xa9,0xaa,0xb2,0xb3,0xb4,0xb5,0xb6,0xb7,0xb8,0xb9,0xba,0xc2,0xc3,0xc4,
0xc5,0xc6,0xc7,0xc8,0xc9,0xca,0xd2,0xd3,0xd4,0xd5,0xd6,0xd7,0xd8,0xd9,0xda,0xe2,
0xe3,0xe4,0xe5,0xe6,0xe7,0xe8,0xe9,0xea,0xf2,0xf3,0xf4,0xf5,0xf6,0xf7,0xf8,0xf9,
0xfa,0xff,0xda,0x00,0x0c,0x03,0x01,0x00,0x02,0x11,0x03,0x11,0x00,0x3f,0x00,0xaf,
0x11,0xab,0x91,0x1a,0xa1,0x11,0xab,0x91,0x35,0x6b,0x3c,0x41,0x38,0x54,0x7f,0xff,
0xd9,
};
}  // namespace

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "pinroute-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

ScopedCwd::ScopedCwd(const std::string& dir)
{
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer))
        previous = buffer;
    if (chdir(dir.c_str()) != 0)
        throw std::runtime_error("chdir failed: " + dir);
}

ScopedCwd::~ScopedCwd()
{
    if (!previous.empty() && chdir(previous.c_str()) != 0)
        std::perror("chdir");
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

void WriteTinyJpeg(const std::string& path)
{
    WriteFile(path, std::string(reinterpret_cast<const char*>(kTinyJpeg), sizeof kTinyJpeg));
}

void WriteJpegTakenAt(const std::string& path, const std::string& captureTime)
{
    WriteTinyJpeg(path);
    if (RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal Ascii " + captureTime, "--", path}) != 0)
        throw std::runtime_error("exiv2 could not set the capture time of " + path);
}

extern char** environ;

namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra)
{
    std::map<std::string, std::string> entries;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        entries[entry.substr(0, entry.find('='))] = entry;
    }
    for (const auto& entry : extra)
        entries[entry.substr(0, entry.find('='))] = entry;
    std::vector<std::string> merged;
    for (const auto& item : entries)
        merged.push_back(item.second);
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& words)
{
    std::vector<char*> pointers;
    for (auto& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ProgramResult RunChild(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& cwd,
                   const std::function<void(const std::string& out, int pid)>& onOutput)
{
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    if (!cwd.empty())
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());

    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = MergedEnvironment(env);
    auto argPointers = Pointers(argv);
    auto envPointers = Pointers(envp);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argPointers.data(),
                                     envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0)
        throw std::runtime_error("can't start " + program + ": " + std::strerror(spawned));

    ProgramResult result;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
            if (i == 0 && onOutput)
                onOutput(result.out, pid);
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.signalled = !WIFEXITED(status);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

int RunProgram(const std::vector<std::string>& args, std::string* output)
{
    if (output)
        output->clear();
    try {
        const ProgramResult result = RunChild(args.at(0), std::vector<std::string>(args.begin() + 1, args.end()));
        if (output)
            *output = result.out + result.err;
        return result.signalled ? -1 : result.status;
    } catch (const std::exception&) {
        return -1;   // could not be started
    }
}

namespace {

bool CommaIsLive()
{
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    return std::string(probe) == "1,5" && std::string(std::localeconv()->decimal_point) == ",";
}

}  // namespace

std::string RealExiv2Path()
{
    std::string path;
    if (RunProgram({"sh", "-c", "command -v exiv2"}, &path) != 0 || path.empty())
        return "exiv2";
    return path.substr(0, path.find('\n'));
}

PlantedExiv2::PlantedExiv2(const std::string& afterUpdate, const std::string& before)
{
    const std::string real = RealExiv2Path();
    WriteFile(bin.File("exiv2"), "#!/bin/sh\nfor last; do :; done\n" + before + "\nif [ \"$1\" = -k ]; then " + real
                                     + " \"$@\" || exit $?; " + afterUpdate + "\nexit 0; fi\nexec " + real + " \"$@\"\n");
    chmod(bin.File("exiv2").c_str(), 0755);
    const char* path = std::getenv("PATH");
    oldPath = path ? path : "";
    setenv("PATH", (bin.Path() + ":" + oldPath).c_str(), 1);
}

PlantedExiv2::~PlantedExiv2()
{
    setenv("PATH", oldPath.c_str(), 1);
}

int DeadPid()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name(name)
{
    const char* old = std::getenv(name);
    had = old != nullptr;
    previous = old ? old : "";
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (had)
        setenv(name.c_str(), previous.c_str(), 1);
    else
        unsetenv(name.c_str());
}

const std::string& TurkishLocaleFolder()
{
    static TempDir folder;
    static const std::string built =
        RunProgram({"localedef", "-i", "tr_TR", "-f", "UTF-8", folder.File("tr_TR.UTF-8")}) == 0 ? folder.Path() : "";
    return built;
}

int RunExiv2(const std::vector<std::string>& args, std::string* output)
{
    std::vector<std::string> argv{"exiv2"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, output);
}

DecimalCommaLocale::DecimalCommaLocale()
{
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    previousNumeric = current ? current : "C";
    const char* locPath = std::getenv("LOCPATH");
    hadLocPath = locPath != nullptr;
    previousLocPath = locPath ? locPath : "";

    for (const char* installed : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"}) {
        if (std::setlocale(LC_NUMERIC, installed) && CommaIsLive()) {
            name = installed;
            return;
        }
    }

    // None installed: build one that has nothing but a decimal comma, over plain ASCII.
    built = std::make_unique<TempDir>();
    std::string charmap = "<code_set_name> ASCII\n<escape_char> /\nCHARMAP\n";
    for (int c = 0; c < 128; ++c) {
        char line[32];
        std::snprintf(line, sizeof line, "<U%04X> /x%02x\n", c, c);
        charmap += line;
    }
    WriteFile(built->File("ascii.cm"), charmap + "END CHARMAP\n");
    WriteFile(built->File("comma.def"), "LC_NUMERIC\ndecimal_point \"<U002C>\"\n"
                                        "thousands_sep \"<U002E>\"\ngrouping 3;3\nEND LC_NUMERIC\n");
    // localedef complains about the categories the definition lacks (-c writes the
    // locale anyway); whether setlocale accepts the result is what counts.
    RunProgram({"localedef", "-c", "-i", built->File("comma.def"), "-f", built->File("ascii.cm"),
                built->File("comma")},
               nullptr);
    setenv("LOCPATH", built->Path().c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "comma") && CommaIsLive())
        name = "comma (built with localedef)";
}

DecimalCommaLocale::~DecimalCommaLocale()
{
    std::setlocale(LC_NUMERIC, previousNumeric.c_str());
    if (hadLocPath)
        setenv("LOCPATH", previousLocPath.c_str(), 1);
    else
        unsetenv("LOCPATH");
}

bool DecimalCommaLocale::Active() const
{
    return !name.empty() && CommaIsLive();
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

// Before any test runs: the journal of every run a test makes, and the place index's
// cache file, go to a folder of this program's own, never the user's (the programs a test
// starts inherit it). Removed when the program ends.
struct PrivateStateHome {
    std::string folder;
    PrivateStateHome()
    {
        char name[] = "/tmp/pinroute-test-state-XXXXXX";
        if (mkdtemp(name)) {
            folder = name;
            setenv("XDG_STATE_HOME", name, 1);
            setenv("XDG_CACHE_HOME", (folder + "/cache").c_str(), 1);
        }
    }
    ~PrivateStateHome()
    {
        if (!folder.empty())
            std::filesystem::remove_all(folder);
    }
} privateStateHome;

}  // namespace
