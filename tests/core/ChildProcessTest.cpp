#include "exif/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TestSupport.h"

namespace {

// Keeps every chunk as it arrives.
class Recorder : public ChildProcess {
public:
    std::vector<std::string> chunks;
    std::string Joined() const
    {
        std::string all;
        for (const auto& chunk : chunks)
            all += chunk;
        return all;
    }

protected:
    void OnOutput(const char* text) override { chunks.push_back(text); }
};

std::vector<std::string> Shell(const std::string& script) { return {"/bin/sh", "-c", script}; }

// Runs argv with an ExifTool capturing into dir/capture.txt; returns the file's text.
std::string Capture(const TempDir& dir, const std::vector<std::string>& argv, int* status = nullptr,
                    ExifTool* tool = nullptr)
{
    ExifTool own;
    ExifTool& runner = tool ? *tool : own;
    runner.Open(dir.File("capture.txt"));
    int result = runner.Run(argv);
    runner.Close();
    if (status)
        *status = result;
    return ReadFile(dir.File("capture.txt"));
}

}  // namespace

TEST(ChildProcess, LongOutputArrivesWholeAndInOrderInSmallChunks)
{
    std::string expected;
    for (int i = 0; i < 300; ++i)
        expected += "line " + std::to_string(i) + "\n";
    const auto script = Shell("i=0; while [ $i -lt 300 ]; do echo \"line $i\"; i=$((i+1)); done");
    Recorder recorder;
    ASSERT_EQ(0, recorder.Run(script));
    EXPECT_EQ(expected, recorder.Joined());
    EXPECT_GT(recorder.chunks.size(), 1u);
    for (const auto& chunk : recorder.chunks)
        EXPECT_LE(chunk.size(), 256u);

    TempDir dir;
    EXPECT_EQ(expected, Capture(dir, script));   // a line split between chunks is whole in the file
}

TEST(ChildProcess, CapturesStandardErrorInOrderAndStopsAtZeroByte)
{
    TempDir dir;
    EXPECT_EQ("one\ntwo\nthree\nfour\n",
              Capture(dir, Shell("echo one; echo two >&2; echo three; echo four >&2")));
    EXPECT_EQ("ab", Capture(dir, Shell("printf 'ab\\000cd'")));
}

TEST(ChildProcess, ProgramThatCannotStartLeavesCaptureEmpty)
{
    TempDir dir;
    WriteFile(dir.File("plain.txt"), "not a program\n");
    struct { std::string program; int error; } cases[] = {
        {"pinroute-no-such-program", ENOENT},   // searched for through PATH
        {dir.File("missing"), ENOENT},
        {dir.File("plain.txt"), EACCES},        // no execute permission, even for root
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        WriteFile(dir.File("capture.txt"), "from an earlier run\n");
        ExifTool tool;
        int status = -1;
        EXPECT_EQ("", Capture(dir, {c.program, "arg"}, &status, &tool));
        EXPECT_EQ(c.error, status);
        EXPECT_TRUE(FileExists(dir.File("capture.txt")));
        EXPECT_FALSE(tool.Succeeded());
    }
}

TEST(ChildProcess, EachOpenEmptiesTheCaptureFile)
{
    TempDir dir;
    ExifTool tool;
    EXPECT_EQ("first\n", Capture(dir, {"echo", "first"}, nullptr, &tool));
    int status = -1;
    EXPECT_EQ("", Capture(dir, {"true"}, &status, &tool));
    EXPECT_EQ(0, status);
    EXPECT_TRUE(FileExists(dir.File("capture.txt")));
    EXPECT_TRUE(tool.Succeeded());
}

TEST(ChildProcess, ArgumentsReachTheProgramUninterpreted)
{
    TempDir dir;
    WriteFile(dir.File("pinroute-args"), "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n");
    ASSERT_EQ(0, chmod(dir.File("pinroute-args").c_str(), 0755));
    std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (dir.Path() + ":" + oldPath).c_str(), 1);
    int status = -1;
    std::string output = Capture(dir, {"pinroute-args", "-x 'q' $HOME.jpg", "a\"b", "", "*"}, &status);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(0, status);
    EXPECT_EQ("[-x 'q' $HOME.jpg]\n[a\"b]\n[]\n[*]\n", output);
}

TEST(ChildProcess, KeepsExitStatusAndSignal)
{
    Recorder recorder;
    EXPECT_EQ(0, recorder.Run(Shell("exit 3")));
    EXPECT_TRUE(recorder.exited);
    EXPECT_EQ(3, recorder.exitCode);
    EXPECT_EQ(0, recorder.termSignal);
    EXPECT_FALSE(recorder.Succeeded());

    EXPECT_EQ(0, recorder.Run(Shell("echo before; kill -TERM $$; echo after")));
    EXPECT_EQ("before\n", recorder.Joined());
    EXPECT_FALSE(recorder.exited);
    EXPECT_EQ(SIGTERM, recorder.termSignal);
    EXPECT_FALSE(recorder.Succeeded());
}

TEST(ChildProcess, ChildSeesEndOfInputOnlyItsStandardDescriptorsAndOurPriority)
{
    TempDir dir;
    // Descriptors the program opened without close-on-exec must not reach the child.
    int plain = open(dir.File("plain").c_str(), O_CREAT | O_WRONLY, 0644);
    int pipeFds[2];
    ASSERT_GE(plain, 0);
    ASSERT_EQ(0, pipe(pipeFds));
    std::string fds = Capture(dir, {CHILD_PROBE_PATH, "fds"});
    close(plain);
    close(pipeFds[0]);
    close(pipeFds[1]);
    EXPECT_EQ("0 1 2\n", fds);

    int status = -1;
    EXPECT_EQ("eof 0\n", Capture(dir, {CHILD_PROBE_PATH, "stdin"}, &status));
    EXPECT_EQ(0, status);
    errno = 0;
    const int ours = getpriority(PRIO_PROCESS, 0);
    ASSERT_EQ(0, errno);
    EXPECT_EQ(std::to_string(ours) + "\n", Capture(dir, {"nice"}));
}

namespace {

// Keeps the bytes as they arrive, zero bytes included.
class ByteRecorder : public ChildProcess {
public:
    std::string bytes;

protected:
    void OnOutput(const char*) override {}
    void OnBytes(const char* data, size_t size) override { bytes.append(data, size); }
};

}  // namespace

TEST(ChildProcess, MessagesToTheirOwnDescriptorInPlainLocale)
{
    TempDir dir;
    ByteRecorder recorder;
    EXPECT_EQ(0, recorder.Run(Shell("printf 'ab\\000cd'")));
    EXPECT_EQ(std::string("ab\0cd", 5), recorder.bytes);

    const int errors = open(dir.File("errors").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    ASSERT_GE(errors, 3);
    setenv("LANGUAGE", "de", 1);
    recorder.bytes.clear();
    recorder.errorFd = errors;
    recorder.plainLocale = true;
    EXPECT_EQ(0, recorder.Run(Shell("echo \"out $LC_ALL [$LANGUAGE]\"; echo err >&2")));
    unsetenv("LANGUAGE");
    close(errors);
    EXPECT_EQ("out C []\n", recorder.bytes);
    EXPECT_EQ("err\n", ReadFile(dir.File("errors")));

    recorder.errorFd = 2;   // would be lost under the child's own descriptors
    EXPECT_EQ(EBADF, recorder.Run({"true"}));
}

TEST(ChildProcess, RunsFromSeveralThreadsNeverShareAPipe)
{
    // A pipe end that leaked into a long-lived child spawned by another thread would
    // keep a short run waiting until that child ends.
    std::atomic<bool> done{false};
    std::vector<std::thread> sleepers;
    for (int t = 0; t < 2; ++t) {
        sleepers.emplace_back([&] {
            Recorder recorder;
            while (!done)
                recorder.Run({"sleep", "1"});
        });
    }
    double slowest = 0;
    for (int i = 0; i < 60; ++i) {
        Recorder recorder;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(0, recorder.Run({"echo", std::to_string(i)}));
        slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        EXPECT_EQ(std::to_string(i) + "\n", recorder.Joined());
    }
    done = true;
    for (auto& sleeper : sleepers)
        sleeper.join();
    EXPECT_LT(slowest, 0.8);
}
