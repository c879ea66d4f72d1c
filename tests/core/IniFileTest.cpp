#include "settings/IniFile.h"

#include <climits>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TestSupport.h"

namespace {

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(IniFile, ValuesAreReadAsAHandEditedFileMeansThem)
{
    TempDir dir;
    std::string ini = dir.File("a.ini");
    WriteFile(ini, "[S]\n"
                   "spaced=  two words \t\n"
                   "double=\"quoted value\"\n"
                   "single=' inner blanks '\n"
                   "mismatched=\"half'\n"
                   "lone=\"\n"
                   "empty=\n"
                   "equals=a=b\n"
                   "  crlf  =  x \r\n"
                   "long=" + std::string(600, 'p') + "\n");
    struct { const char* key; std::string value; } cases[] = {
        {"spaced", "two words"},
        {"double", "quoted value"},
        {"single", " inner blanks "},
        {"mismatched", "\"half'"},
        {"lone", "\""},
        {"empty", ""},
        {"equals", "a=b"},
        {"crlf", "x"},
        {"long", std::string(600, 'p')},
        {"missing", "fallback"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.value, IniReadString(ini, "S", c.key, "fallback"));
    }
    EXPECT_EQ("fallback", IniReadString(ini, "T", "spaced", "fallback"));
    EXPECT_EQ("fallback", IniReadString(dir.File("none.ini"), "S", "spaced", "fallback"));
}

TEST(IniFile, IntegersAreTheLeadingNumberClampedToRange)
{
    TempDir dir;
    std::string ini = dir.File("a.ini");
    struct { const char* text; int number; } cases[] = {
        {"12abc", 12}, {"abc", 0}, {"-60", -60}, {"+7", 7}, {" 42 ", 42}, {"\"15\"", 15},
        {"", 0}, {"- 5", 0}, {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN},
        {"99999999999999999999999", INT_MAX}, {"-99999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(ini, std::string("[S]\nn=") + c.text + "\n");
        EXPECT_EQ(c.number, IniReadInt(ini, "S", "n", 33));
    }
    EXPECT_EQ(33, IniReadInt(ini, "S", "other", 33));
}

TEST(IniFile, WritingChangesOnlyWhatItMust)
{
    struct { const char* name; std::string before; const char* key; std::string after; } cases[] = {
        {"replaced in place, CRLF file, foreign content kept",
         "; settings\r\n\r\n[Window]\r\nx=10\r\n\r\n[Config]\r\n  JPGDir = /old/\r\nDate=1\r\n"
         "\r\n# tail\r\n[Tail]\r\nJPGDir=/not this/\r\n",
         "JPGDir",
         "; settings\r\n\r\n[Window]\r\nx=10\r\n\r\n[Config]\r\n  JPGDir = /new dir/\r\nDate=1\r\n"
         "\r\n# tail\r\n[Tail]\r\nJPGDir=/not this/\r\n"},
        {"appended after the section's last entry",
         "[Config]\nDate=1\n;Posn=0\n\n; next\n[Other]\na=1\n", "JPGDir",
         "[Config]\nDate=1\nJPGDir=/new dir/\n;Posn=0\n\n; next\n[Other]\na=1\n"},
        {"appended to a header-only section", "[Config]\n\n[Other]\n", "JPGDir",
         "[Config]\nJPGDir=/new dir/\n\n[Other]\n"},
        {"appended to a last line without an ending", "[Config]\r\nDate=1", "JPGDir",
         "[Config]\r\nDate=1\r\nJPGDir=/new dir/\r\n"},
        {"section created at the end", "[Other]\na=1", "JPGDir",
         "[Other]\na=1\n\n[Config]\nJPGDir=/new dir/\n"},
        {"section created after a blank line", "[Other]\r\na=1\r\n\r\n", "JPGDir",
         "[Other]\r\na=1\r\n\r\n[Config]\r\nJPGDir=/new dir/\r\n"},
        {"byte order mark kept", "\xEF\xBB\xBF[Config]\nJPGDir=/a/\n", "JPGDir",
         "\xEF\xBB\xBF[Config]\nJPGDir=/new dir/\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string ini = dir.File("a.ini");
        WriteFile(ini, c.before);
        EXPECT_TRUE(IniWriteString(ini, "Config", c.key, "/new dir/"));
        EXPECT_EQ(c.after, ReadFile(ini));
        EXPECT_EQ("/new dir/", IniReadString(ini, "Config", c.key, ""));
        EXPECT_EQ(std::vector<std::string>{"a.ini"}, Names(dir.Path()));
    }
}

TEST(IniFile, RefusesWritesThatWouldBreakTheFile)
{
    TempDir dir;
    std::string ini = dir.File("a.ini");
    const std::string before = "[Config]\nDate=1\n";
    WriteFile(ini, before);
    struct { const char* section; const char* key; const char* value; } cases[] = {
        {"Config", "Date", "2\nPosn=0"}, {"Config", "Date", "2\r"}, {"Config", "Da=te", "2"},
        {"Con]fig", "Date", "2"}, {"Config", "", "2"}, {"Config", ";Date", "2"}, {"", "Date", "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + "/" + c.value);
        EXPECT_FALSE(IniWriteString(ini, c.section, c.key, c.value));
        EXPECT_EQ(before, ReadFile(ini));
    }
}

TEST(IniFile, FailedWritesLeaveNothingBehind)
{
    TempDir dir;
    EXPECT_FALSE(IniWriteString(dir.File("missing/a.ini"), "Config", "Date", "1"));
    std::filesystem::create_directory(dir.File("folder.ini"));
    EXPECT_FALSE(IniWriteString(dir.File("folder.ini"), "Config", "Date", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.ini")));
    EXPECT_EQ(std::vector<std::string>{"folder.ini"}, Names(dir.Path()));
}

TEST(IniFile, ReplacingKeepsModeAndWritesThroughALink)
{
    TempDir dir;
    std::string real = dir.File("real.ini"), link = dir.File("a.ini");
    WriteFile(real, "[Config]\nDate=1\n");
    ASSERT_EQ(0, chmod(real.c_str(), 0640));
    std::filesystem::create_symlink("real.ini", link);

    EXPECT_TRUE(IniWriteString(link, "Config", "Date", "0"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ("[Config]\nDate=0\n", ReadFile(real));
    struct stat info;
    ASSERT_EQ(0, stat(real.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);

    // A new file gets the usual mode, not the temporary file's private 0600.
    mode_t old = umask(022);
    EXPECT_TRUE(IniWriteString(dir.File("new.ini"), "Config", "Date", "0"));
    umask(old);
    ASSERT_EQ(0, stat(dir.File("new.ini").c_str(), &info));
    EXPECT_EQ(0644u, info.st_mode & 07777);
}

}  // namespace
