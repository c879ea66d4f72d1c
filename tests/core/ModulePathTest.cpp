#include "common/ModulePath.h"
#include "settings/SettingsLocation.h"

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "exif/ChildProcess.h"
#include "common/Messages.h"
#include "support/TestSupport.h"

namespace {

TEST(PathBeside, ReplacesOnlyTheLastComponentsExtension)
{
    struct { const char* exe; const char* extension; const char* path; } cases[] = {
        {"build/pinroute", ".ini", "build/pinroute.ini"},
        {"x/app.bin", ".ini", "x/app.ini"},
        {"/opt/my.tools/pinroute", ".qch", "/opt/my.tools/pinroute.qch"},
        {"/a/app.tar.gz", ".ini", "/a/app.tar.ini"},
        {"/a/.pinroute", ".ini", "/a/.pinroute.ini"},
        {"pinroute", ".ini", "pinroute.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exe);
        EXPECT_EQ(c.path, PathBeside(c.exe, c.extension));
    }
}

TEST(ModuleFilePath, UsesTheRunningExecutable)
{
    std::string path;
    ASSERT_TRUE(ModuleFilePath(".ini", true, path));
    ASSERT_GT(path.size(), 15u);
    EXPECT_EQ('/', path.front());
    EXPECT_EQ("/core_tests.ini", path.substr(path.size() - 15));
}

TEST(ModuleFilePath, AnExecutableReplacedWhileRunningKeepsItsName)
{
    // The kernel names a deleted executable "PATH (deleted)"; a rebuild or an upgrade
    // while the program runs must not send its settings to "PATH (deleted).ini".
    TempDir dir;
    std::filesystem::copy_file(CHILD_PROBE_PATH, dir.File("probe"));
    ExifTool tool;
    tool.Open(dir.File("out.txt"));
    ASSERT_EQ(0, tool.Run({dir.File("probe"), "ini"}));
    tool.Close();
    EXPECT_EQ(0, tool.exitCode);
    EXPECT_EQ(dir.File("probe.ini") + "\n", ReadFile(dir.File("out.txt")));
}

TEST(SettingsFilePath, StaysBesideAWritableProgramElseGoesToTheConfigFolder)
{
    TempDir dir;
    const std::string build = dir.Path() + "/build";
    std::filesystem::create_directory(build);
    // A folder that does not exist can't be written either, by anyone.
    const std::string gone = dir.Path() + "/gone/bin";
    struct {
        const char* name;
        std::string exe;
        ConfigEnvironment environment;
        std::string path;
    } cases[] = {
        {"build folder", build + "/pinroute", {"/xdg", "/home/u"}, build + "/pinroute.ini"},
        {"terminal tool shares the window's file", build + "/pinroute-cli", {"/xdg", "/home/u"},
         build + "/pinroute.ini"},
        {"a program named only -cli keeps its name", build + "/-cli", {"", "/home/u"},
         build + "/-cli.ini"},
        {"installed", gone + "/pinroute", {"/xdg", "/home/u"}, "/xdg/pinroute/pinroute.ini"},
        {"installed terminal tool", gone + "/pinroute-cli", {"/xdg", "/home/u"},
         "/xdg/pinroute/pinroute.ini"},
        {"no XDG_CONFIG_HOME", gone + "/pinroute", {"", "/home/u"},
         "/home/u/.config/pinroute/pinroute.ini"},
        {"relative XDG_CONFIG_HOME is ignored", gone + "/pinroute", {"cfg", "/home/u"},
         "/home/u/.config/pinroute/pinroute.ini"},
        {"trailing slashes", gone + "/pinroute", {"/xdg//", "/home/u"},
         "/xdg/pinroute/pinroute.ini"},
        {"no home at all", gone + "/pinroute", {"", ""}, gone + "/pinroute.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.path, SettingsFilePath(c.exe, c.environment));
    }
}

TEST(SettingsFilePath, AnInstallTreeTheUserCanWriteStillUsesTheConfigFolder)
{
    // cmake --install --prefix ~/.local: bin/ is the user's, the help is in share/pinroute/.
    TempDir prefix;
    std::filesystem::create_directories(prefix.Path() + "/bin");
    std::filesystem::create_directories(prefix.Path() + "/share/pinroute");
    WriteFile(prefix.File("share/pinroute/pinroute.qhc"), "");
    const ConfigEnvironment environment{"", "/home/u"};
    const std::string xdg = "/home/u/.config/pinroute/pinroute.ini";
    EXPECT_EQ(xdg, SettingsFilePath(prefix.File("bin/pinroute"), environment));
    EXPECT_EQ(xdg, SettingsFilePath(prefix.File("bin/pinroute-cli"), environment));

    // A build folder has its help beside the program: the settings stay there too.
    WriteFile(prefix.File("bin/pinroute.qhc"), "");
    EXPECT_EQ(prefix.File("bin/pinroute.ini"),
              SettingsFilePath(prefix.File("bin/pinroute"), environment));
    // So do settings the user put beside an installed program.
    std::filesystem::remove(prefix.File("bin/pinroute.qhc"));
    WriteFile(prefix.File("bin/pinroute.ini"), "[Config]\n");
    EXPECT_EQ(prefix.File("bin/pinroute.ini"),
              SettingsFilePath(prefix.File("bin/pinroute-cli"), environment));
}

// SettingsFilePath for a user who can't write folder. Root writes every folder, so as
// root the answer comes from a child process that has dropped to the "nobody" user.
std::string SettingsPathWithoutWriteAccess(const std::string& folder, const std::string& exe,
                                           const ConfigEnvironment& environment)
{
    chmod(folder.c_str(), 0555);
    if (geteuid() != 0)
        return SettingsFilePath(exe, environment);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        const std::string path = SettingsFilePath(exe, environment);
        _exit(write(pipeEnds[1], path.data(), path.size()) == static_cast<ssize_t>(path.size())
                  ? 0
                  : 3);
    }
    close(pipeEnds[1]);
    std::string path;
    char buffer[512];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        path.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? path : "child failed";
}

TEST(SettingsFilePath, AReadOnlyInstallFolderUsesItsFileOnlyWhenItExists)
{
    TempDir dir;
    chmod(dir.Path().c_str(), 0755);   // the nobody user must reach the folder
    const std::string bin = dir.Path() + "/bin";
    std::filesystem::create_directory(bin);
    const ConfigEnvironment environment{"/xdg", "/home/u"};

    EXPECT_EQ("/xdg/pinroute/pinroute.ini",
              SettingsPathWithoutWriteAccess(bin, bin + "/pinroute-cli", environment));

    // A portable copy that brought its settings along keeps them, writable or not.
    chmod(bin.c_str(), 0755);
    WriteFile(bin + "/pinroute.ini", "[Config]\n");
    EXPECT_EQ(bin + "/pinroute.ini",
              SettingsPathWithoutWriteAccess(bin, bin + "/pinroute", environment));
    chmod(bin.c_str(), 0755);
}

TEST(EnsureSettingsFolder, MakesMissingFoldersPrivateAndExplainsAFailure)
{
    TempDir dir;
    const std::string file = dir.Path() + "/config/pinroute/pinroute.ini";
    std::string reason;
    ASSERT_TRUE(EnsureSettingsFolder(file, reason)) << reason;
    struct stat info;
    ASSERT_EQ(0, stat((dir.Path() + "/config/pinroute").c_str(), &info));
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(0700u, info.st_mode & 0777u);
    // Again, with everything there: nothing to do, no failure.
    EXPECT_TRUE(EnsureSettingsFolder(file, reason)) << reason;
    EXPECT_TRUE(EnsureSettingsFolder("pinroute.ini", reason)) << reason;

    WriteFile(dir.File("blocked"), "a file, not a folder");
    reason.clear();
    EXPECT_FALSE(EnsureSettingsFolder(dir.File("blocked") + "/pinroute/pinroute.ini", reason));
    EXPECT_EQ(SystemErrorText(ENOTDIR, 1024) + ": " + dir.File("blocked"), reason);
}

TEST(HelpFilePath, BuildFolderFirstThenTheInstallTree)
{
    struct {
        const char* name;
        bool beside;
        bool installed;
        const char* expected;   // relative to the prefix
    } cases[] = {
        {"build folder", true, false, "bin/pinroute.qhc"},
        {"install tree", false, true, "bin/../share/pinroute/pinroute.qhc"},
        {"both: the one beside wins", true, true, "bin/pinroute.qhc"},
        {"neither: named beside", false, false, "bin/pinroute.qhc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir prefix;
        std::filesystem::create_directories(prefix.Path() + "/bin");
        std::filesystem::create_directories(prefix.Path() + "/share/pinroute");
        if (c.beside)
            WriteFile(prefix.File("bin/pinroute.qhc"), "");
        if (c.installed)
            WriteFile(prefix.File("share/pinroute/pinroute.qhc"), "");
        EXPECT_EQ(prefix.File(c.expected), HelpFilePath(prefix.File("bin/pinroute")));
    }
}

TEST(SystemErrorText, IsEmptyForNoErrorAndCutToRoom)
{
    EXPECT_EQ("", SystemErrorText(0, 1024));
    std::string full = SystemErrorText(ENOENT, 1024);
    ASSERT_GT(full.size(), 5u);
    EXPECT_EQ(full.substr(0, 4), SystemErrorText(ENOENT, 5));
    EXPECT_EQ("", SystemErrorText(ENOENT, 1));
    EXPECT_EQ("", SystemErrorText(ENOENT, 0));
}

TEST(ShowSystemError, JoinsTheTextsWithOneBlankWithoutIconOrCaption)
{
    RecordingBoxes boxes;
    ShowSystemError("Error: Fatal using GetModuleFileName", 0);
    ShowSystemError("Oops", ENOENT);

    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ("Error: Fatal using GetModuleFileName ", boxes.shown[0].text);
    EXPECT_EQ("Oops " + SystemErrorText(ENOENT, 1024), boxes.shown[1].text);
    for (const auto& box : boxes.shown) {
        EXPECT_EQ("", box.caption);
        EXPECT_EQ(MessageIcon::None, box.icon);
    }
}

}  // namespace
