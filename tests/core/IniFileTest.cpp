#include "settings/IniFile.h"

#include <climits>
#include <filesystem>

#include <chrono>

#include <sys/resource.h>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "support/InChild.h"
#include "support/TestSupport.h"

namespace {

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
                   "long=" + std::string(600, 'p') + "\n"
                   "cut=last\r");
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
        {"cut", "last"},   // the file ends in a CR: half a line ending, not part of the value
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
        {"appended to a last line cut short after its CR", "[Config]\r\nDate=1\r", "JPGDir",
         "[Config]\r\nDate=1\r\nJPGDir=/new dir/\r\n"},
        {"replaced in a last line cut short after its CR", "[Config]\r\nJPGDir=/old/\r",
         "JPGDir", "[Config]\r\nJPGDir=/new dir/\r"},
        {"section created after a last line cut short", "[Other]\r\na=1\r", "JPGDir",
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
        EXPECT_EQ(std::vector<std::string>{"a.ini"}, FolderNames(dir.Path()));
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
    EXPECT_EQ(std::vector<std::string>{"folder.ini"}, FolderNames(dir.Path()));
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

namespace {

TEST(IniFile, ManyKeysAreSetInOneRewrite)
{
    TempDir dir;
    const std::string ini = dir.File("a.ini");
    WriteFile(ini, "[Config]\r\nb = old\r\nA=1\r\n\r\n[Other]\r\nc=3\r\n");
    std::string reason;
    // Present keys change in place, missing ones follow the section's last entry in the
    // given order; a key given twice takes its last value in its first place.
    ASSERT_TRUE(IniWriteValues(ini, "config",
                               {{"new2", "x"}, {"B", "two"}, {"new1", " padded "}, {"a", "9"},
                                {"NEW2", "y"}},
                               reason))
        << reason;
    EXPECT_EQ("[Config]\r\nb = two\r\nA=9\r\nnew2=y\r\nnew1=\" padded \"\r\n\r\n[Other]\r\nc=3\r\n",
              ReadFile(ini));

    std::vector<std::optional<std::string>> values;
    ASSERT_TRUE(IniReadValues(ini, "CONFIG", {"new1", "a", "c", "New2"}, values, reason));
    ASSERT_EQ(4u, values.size());
    EXPECT_EQ(" padded ", values[0].value_or("missing"));
    EXPECT_EQ("9", values[1].value_or("missing"));
    EXPECT_FALSE(values[2].has_value());   // in another section
    EXPECT_EQ("y", values[3].value_or("missing"));
    EXPECT_EQ(std::vector<std::string>{"a.ini"}, FolderNames(dir.Path()));
}

TEST(IniFile, QuotedValuesReadBackAsWritten)
{
    TempDir dir;
    const std::string ini = dir.File("a.ini");
    for (const char* value : {" lead", "trail ", "\"both\"", "'one'", "\"", "\"\"", "in \"mid\"",
                              "plain", ""}) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(IniWriteString(ini, "S", "k", value));
        EXPECT_EQ(value, IniReadString(ini, "S", "k", "missing"));
    }
}

// Neither a read nor a write may wait on a FIFO nobody writes to, or take a device for
// a settings file.
TEST(IniFile, OnlyRegularFilesAreOpened)
{
    TempDir dir;
    const std::string fifo = dir.File("fifo.ini");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    const std::string outcome = InChild([&] {
        std::string result;
        std::vector<std::optional<std::string>> values;
        std::string reason;
        for (const std::string& path : {fifo, std::string("/dev/null")}) {
            result += IniReadValues(path, "S", {"k"}, values, reason) ? "read;" : reason + ";";
        }
        result += IniWriteValues(fifo, "S", {{"k", "v"}}, reason) ? "written" : reason;
        return result;
    }, 5);
    EXPECT_EQ("Not a regular file;Not a regular file;Not a regular file", outcome);
    struct stat info;
    ASSERT_EQ(0, lstat(fifo.c_str(), &info));
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(std::vector<std::string>{"fifo.ini"}, FolderNames(dir.Path()));
}

pid_t DeadProcess()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST(IniFile, SaveRemovesOnlyTheLeftoversOfKilledSaves)
{
    TempDir dir;
    const std::string dead = std::to_string(DeadProcess());
    const std::string alive = std::to_string(getpid());
    struct { std::string name; bool removed; } files[] = {
        {"a.ini.saving-" + dead + "-Ab3xYz", true},
        {"a.ini.saving-" + alive + "-Ab3xYz", false},   // a save still running
        {"a.ini.saving-" + dead + "-Ab3xY", false},
        {"a.ini.saving-" + dead + "-Ab3xYz.bak", false},
        {"a.ini.saving--Ab3xYz", false},
        {"a.ini.backup", false},
        {"a.ini.Ab3xYz", false},
        {"b.ini.saving-" + dead + "-Ab3xYz", false},   // another file's
    };
    for (const auto& f : files)
        WriteFile(dir.File(f.name), "x");
    std::filesystem::create_directory(dir.File("a.ini.saving-" + dead + "-Folder"));
    if (geteuid() == 0) {   // someone else's file is theirs to remove
        const std::string foreign = "a.ini.saving-" + dead + "-Other1";
        WriteFile(dir.File(foreign), "x");
        ASSERT_EQ(0, chown(dir.File(foreign).c_str(), 65534, 65534));
    }

    ASSERT_TRUE(IniWriteString(dir.File("a.ini"), "S", "k", "v"));
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(!f.removed, FileExists(dir.File(f.name)));
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("a.ini.saving-" + dead + "-Folder")));
    if (geteuid() == 0) {
        EXPECT_TRUE(FileExists(dir.File("a.ini.saving-" + dead + "-Other1")));
    }
}

// A save killed while it writes its temporary file (here by the signal that a file size
// limit sends) leaves the old file whole, and the next save clears the temporary file away.
TEST(IniFile, KilledSaveLeavesTheOldFileAndNoLitterAfterTheNextSave)
{
    TempDir dir;
    const std::string ini = dir.File("a.ini");
    const std::string before = "[S]\nk=old\n";
    WriteFile(ini, before);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_DFL);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        IniWriteString(ini, "S", "k", std::string(100000, 'v'));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_EQ(before, ReadFile(ini));
    const std::vector<std::string> names = FolderNames(dir.Path());
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ(0u, names[1].rfind("a.ini.saving-" + std::to_string(child) + "-", 0)) << names[1];

    ASSERT_TRUE(IniWriteString(ini, "S", "k", "new"));
    EXPECT_EQ("[S]\nk=new\n", ReadFile(ini));
    EXPECT_EQ(std::vector<std::string>{"a.ini"}, FolderNames(dir.Path()));
}

// Adding a key to a section of 100,000 entries once took 8 to 13 seconds; it should take
// about as long as reading and writing the file.
TEST(IniFile, AddingKeysToALargeSectionIsLinear)
{
    TempDir dir;
    const std::string ini = dir.File("a.ini");
    std::string text = "[Config]\n";
    for (int i = 0; i < 100000; ++i)
        text += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\n";
    WriteFile(ini, text);
    IniEntries entries;
    for (int i = 0; i < 1000; ++i)
        entries.emplace_back("new" + std::to_string(i), "v");
    const auto start = std::chrono::steady_clock::now();
    std::string reason;
    ASSERT_TRUE(IniWriteValues(ini, "Config", entries, reason)) << reason;
    EXPECT_EQ("value 99999", IniReadString(ini, "Config", "key99999", ""));
    EXPECT_EQ("v", IniReadString(ini, "Config", "new999", ""));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(3));
}

}  // namespace
