#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Runs one program (found through PATH, never through a shell) with its standard
// output and standard error on one pipe, its standard input a pipe that is never
// written, at the caller's own priority. Output reaches OnOutput in order, in chunks of
// at most 256 bytes. Safe to use from several threads at once, one object per thread:
// a child never inherits a descriptor of another child's pipes.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // Returns 0 once the output has been read to its end and the child has ended,
    // otherwise the errno of the step that failed (ENOENT when the program isn't found).
    int Run(const std::vector<std::string>& argv);

    // Outcome of the latest Run: true only when the child exited with status 0.
    bool Succeeded() const { return exited && exitCode == 0; }
    bool exited = false;   // the child ended through exit()
    int exitCode = -1;     // its exit status, when exited
    int termSignal = 0;    // the signal that ended it, or 0

    // When not -1, the child's standard error goes to this descriptor instead of the
    // output pipe. The descriptor stays the caller's.
    int errorFd = -1;
    // When true, the child runs with LC_ALL=C, so its messages are in English whatever
    // the user's language.
    bool plainLocale = false;

protected:
    // One chunk of output as text: the bytes read, up to the first zero byte.
    virtual void OnOutput(const char* text) = 0;
    // One chunk of output as bytes (zero bytes included); by default handed to OnOutput.
    virtual void OnBytes(const char* data, size_t size);

private:
    int ReadOutput(int fd);
    int WaitFor(int pid, int result);
};

// Keeps everything a run prints in memory, zero bytes included.
class CapturedRun : public ChildProcess {
public:
    std::string text;

protected:
    void OnOutput(const char*) override {}
    void OnBytes(const char* data, size_t size) override { text.append(data, size); }
};

// Captures everything a run prints into a text file.
class ExifTool : public ChildProcess {
public:
    ExifTool() = default;
    ExifTool(const ExifTool&) = delete;   // the stream has one owner
    ExifTool& operator=(const ExifTool&) = delete;
    ~ExifTool() override;   // closes a capture file still open
    // Creates or empties the capture file; when it can't be opened, output is dropped.
    void Open(const std::string& path);
    void Close();

protected:
    void OnOutput(const char* text) override;

private:
    FILE* file = nullptr;
};

// The program run for every EXIF action; "exiv2", found through PATH.
extern const char* const kExifProgram;
