#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path; }   // no final "/"
    std::string File(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

// Makes dir the current directory for the object's lifetime.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::string& dir);
    ~ScopedCwd();

private:
    std::string previous;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);   // "" when missing
bool FileExists(const std::string& path);
// The names in a folder other than "." and "..", sorted.
std::vector<std::string> FolderNames(const std::string& folder);

// A small valid baseline JPEG (16 x 16 pixels) with no EXIF data.
void WriteTinyJpeg(const std::string& path);

// WriteTinyJpeg with a capture time (Exif.Photo.DateTimeOriginal, "2023:06:17 08:04:10");
// throws when exiv2 can't set it.
void WriteJpegTakenAt(const std::string& path, const std::string& captureTime);

// What a finished child printed and how it ended.
struct ProgramResult {
    int status = -1;          // exit status, or 128 + signal number when a signal ended it
    bool signalled = false;   // a signal ended it
    std::string out;          // standard output
    std::string err;          // standard error
};

// Runs program (found through PATH unless it has a "/") with args as a child, no shell,
// stdin from /dev/null, stdout and stderr captured apart. env holds "NAME=value" entries
// added to (or replacing in) this process's environment; cwd, when not empty, is the
// child's working directory. onOutput, when given, sees stdout as it grows with the child's
// pid, so that a test can signal the child in the middle of its work. Throws
// std::runtime_error when the child can't be started.
ProgramResult RunChild(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& env = {}, const std::string& cwd = "",
                       const std::function<void(const std::string& out, int pid)>& onOutput = {});

// RunChild for argv, with standard output and then standard error in output; the exit
// status, or -1 when the program could not be started or was ended by a signal.
int RunProgram(const std::vector<std::string>& args, std::string* output = nullptr);

// Runs a command through exiv2 (argument vector, no shell); returns its output and exit status.
int RunExiv2(const std::vector<std::string>& args, std::string* output = nullptr);

// The real exiv2's path, found through PATH ("exiv2" when it isn't there).
std::string RealExiv2Path();

// An exiv2 of the test's own on PATH for the object's lifetime: a script that runs first the
// shell text before (for every run), then the real exiv2, and after an update run
// (-k -m CMD -- FILE...) the shell text afterUpdate, with $last the last file named.
class PlantedExiv2 {
public:
    explicit PlantedExiv2(const std::string& afterUpdate, const std::string& before = "");
    ~PlantedExiv2();
    PlantedExiv2(const PlantedExiv2&) = delete;
    PlantedExiv2& operator=(const PlantedExiv2&) = delete;

private:
    TempDir bin;
    std::string oldPath;
};

// The pid of a process that has ended and been reaped: a run that was killed, say.
int DeadPid();

// Sets an environment variable for the object's lifetime (unset when value is null), then
// puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name;
    bool had = false;
    std::string previous;
};

// A folder holding tr_TR.UTF-8 built by localedef, for LOCPATH: built once per test process
// (it takes seconds), "" when it can't be built.
const std::string& TurkishLocaleFolder();

// Makes LC_NUMERIC a locale with a decimal comma for the object's lifetime: an installed
// one (de_DE, fr_FR), or else one built with localedef in a folder of its own and found
// through LOCPATH. Restores LC_NUMERIC and LOCPATH afterwards. A test that needs the
// comma checks Active() and skips visibly when it is false.
class DecimalCommaLocale {
public:
    DecimalCommaLocale();
    ~DecimalCommaLocale();
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
    bool Active() const;                          // "%.1f" of 1.5 prints "1,5" right now
    const std::string& Name() const { return name; }   // the locale in use, or ""

private:
    std::string previousNumeric;
    bool hadLocPath = false;
    std::string previousLocPath;
    std::string name;
    std::unique_ptr<TempDir> built;
};

#include "common/Messages.h"

// Records the message boxes the program would show, while it is installed.
class RecordingBoxes : public MessageBoxes {
public:
    struct Box {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };
    RecordingBoxes() { SetMessageBoxes(this); }
    ~RecordingBoxes() override { SetMessageBoxes(nullptr); }
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        shown.push_back({text, caption, icon});
    }
    bool Ask(const std::string& text, const std::string& caption) override
    {
        asked.push_back({text, caption, MessageIcon::None});
        return answer;
    }
    std::vector<Box> shown;
    std::vector<Box> asked;
    bool answer = true;   // what every question gets
};

#include "run/RunFeedback.h"

// Records what a run shows: each status line, and each progress call's count and total.
struct RecordingFeedback : RunFeedback {
    std::vector<std::string> statuses;
    std::vector<int> done;
    int total = 0;
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void Progress(int count, int of, const std::string&) override
    {
        done.push_back(count);
        total = of;
    }
};
