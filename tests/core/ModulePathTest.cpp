#include "common/ModulePath.h"

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "exif/ChildProcess.h"
#include "common/Messages.h"
#include "support/TestSupport.h"

namespace {

TEST(ModuleFilePath, ReplacesOnlyTheLastComponentsExtension)
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
        SetExecutablePathForTesting(c.exe);
        std::string path = "stale";
        EXPECT_TRUE(ModuleFilePath(c.extension, true, path));
        EXPECT_EQ(c.path, path);
    }
    SetExecutablePathForTesting("");
}

TEST(ModuleFilePath, UsesTheRunningExecutable)
{
    SetExecutablePathForTesting("");
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
