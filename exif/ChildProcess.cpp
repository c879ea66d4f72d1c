#include "exif/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

const char* const kExifProgram = "exiv2";

namespace {

// A pipe whose two ends are close-on-exec from the start (so a child that another
// thread spawns meanwhile never inherits one) and lie above the standard descriptors,
// so that setting up the child's 0, 1 and 2 can never clobber one of them.
int MakePipe(int fds[2])
{
    if (pipe2(fds, O_CLOEXEC) != 0)
        return errno;
    for (int i = 0; i < 2; ++i) {
        if (fds[i] > 2)
            continue;
        int moved = fcntl(fds[i], F_DUPFD_CLOEXEC, 3);
        int error = errno;
        close(fds[i]);
        fds[i] = moved;
        if (moved < 0) {
            if (fds[1 - i] >= 0)
                close(fds[1 - i]);
            fds[0] = fds[1] = -1;
            return error;
        }
    }
    return 0;
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// The pipes of one run; closes what it still holds on every way out of Run.
struct Pipes {
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    ~Pipes()
    {
        for (int* p : {in, out}) {
            CloseFd(p[0]);
            CloseFd(p[1]);
        }
    }
};

ssize_t ReadRetrying(int fd, void* buffer, size_t size)
{
    ssize_t n;
    do
        n = read(fd, buffer, size);
    while (n < 0 && errno == EINTR);
    return n;
}

// The environment for the child: ours, or ours with the language forced to plain C.
std::vector<std::string> ChildEnvironment(bool plainLocale)
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (plainLocale && (std::strncmp(*entry, "LC_ALL=", 7) == 0
                            || std::strncmp(*entry, "LANGUAGE=", 9) == 0))
            continue;
        entries.emplace_back(*entry);
    }
    if (plainLocale)
        entries.emplace_back("LC_ALL=C");
    return entries;
}

// Pointers into words for exec, ending in a null pointer.
std::vector<char*> Pointers(std::vector<std::string>& words)
{
    std::vector<char*> pointers;
    for (auto& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The child's 0, 1 and 2 from the pipes (2 from errorFd when given); every other
// descriptor is closed in the child, including ones opened without close-on-exec.
int SetUpDescriptors(posix_spawn_file_actions_t& actions, const Pipes& pipes, int errorFd)
{
    if (int error = posix_spawn_file_actions_adddup2(&actions, pipes.in[0], STDIN_FILENO))
        return error;
    if (int error = posix_spawn_file_actions_adddup2(&actions, pipes.out[1], STDOUT_FILENO))
        return error;
    const int errorTarget = errorFd >= 0 ? errorFd : pipes.out[1];
    if (int error = posix_spawn_file_actions_adddup2(&actions, errorTarget, STDERR_FILENO))
        return error;
    return posix_spawn_file_actions_addclosefrom_np(&actions, 3);
}

// Every signal at its default action and none blocked: an ignored SIGPIPE would
// otherwise be inherited, and the tool should end if its reader goes away. The child
// gets a process group of its own, so that Ctrl-C at a terminal reaches only this
// program, which then lets the photos in flight finish instead of losing them.
int SetUpSignals(posix_spawnattr_t& attributes)
{
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    if (int error = posix_spawnattr_setsigdefault(&attributes, &all))
        return error;
    if (int error = posix_spawnattr_setsigmask(&attributes, &none))
        return error;
    if (int error = posix_spawnattr_setpgroup(&attributes, 0))
        return error;
    return posix_spawnattr_setflags(&attributes,
                                    POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
}

// Starts argv[0] through PATH. Returns 0 and the child's pid, or the error number
// (ENOENT when the program isn't found, EACCES when it can't be executed).
int Spawn(const std::vector<std::string>& argv, const Pipes& pipes, int errorFd,
          bool plainLocale, pid_t& pid)
{
    std::vector<std::string> words = argv;
    std::vector<std::string> environment = ChildEnvironment(plainLocale);
    std::vector<char*> args = Pointers(words);
    std::vector<char*> envp = Pointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (int error = posix_spawn_file_actions_init(&actions))
        return error;
    int result = posix_spawnattr_init(&attributes);
    if (result != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return result;
    }
    result = SetUpDescriptors(actions, pipes, errorFd);
    if (result == 0)
        result = SetUpSignals(attributes);
    if (result == 0)
        result = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

}  // namespace

int ChildProcess::Run(const std::vector<std::string>& argv)
{
    exited = false;
    exitCode = -1;
    termSignal = 0;
    if (argv.empty())
        return EINVAL;
    if (errorFd >= 0 && errorFd <= 2)
        return EBADF;   // it would be overwritten by the child's own 0, 1 or 2

    Pipes pipes;
    if (int error = MakePipe(pipes.in))
        return error;
    if (int error = MakePipe(pipes.out))
        return error;
    pid_t pid = -1;
    if (int error = Spawn(argv, pipes, errorFd, plainLocale, pid))
        return error;

    // Only the child holds the writing end of the output pipe now, so the pipe ends
    // when the child does. Nothing is ever written to its standard input: closing our
    // end at once lets a tool that reads it see end of file instead of waiting forever.
    CloseFd(pipes.out[1]);
    CloseFd(pipes.in[0]);
    CloseFd(pipes.in[1]);

    int result = ReadOutput(pipes.out[0]);
    // A child still writing after a failed read gets SIGPIPE rather than blocking for good.
    CloseFd(pipes.out[0]);
    return WaitFor(pid, result);
}

// Hands the output on in chunks of at most 256 bytes until its end. Returns 0, or
// the errno of a failed read.
int ChildProcess::ReadOutput(int fd)
{
    char buffer[256];
    for (;;) {
        ssize_t n = ReadRetrying(fd, buffer, sizeof buffer);
        if (n == 0)
            return 0;
        if (n < 0)
            return errno;
        OnBytes(buffer, static_cast<size_t>(n));
    }
}

// Waits for the child and keeps its exit status. Returns result, or the errno of a
// failed wait when result is 0.
int ChildProcess::WaitFor(int pid, int result)
{
    int status = 0;
    pid_t waited;
    do
        waited = waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    if (waited < 0)
        return result != 0 ? result : errno;
    if (WIFEXITED(status)) {
        exited = true;
        exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        termSignal = WTERMSIG(status);
    }
    return result;
}

void ChildProcess::OnBytes(const char* data, size_t size)
{
    std::string text(data, size);
    OnOutput(text.c_str());   // a zero byte among the bytes read ends the text earlier
}

ExifTool::~ExifTool()
{
    Close();
}

void ExifTool::Open(const std::string& path)
{
    Close();
    // "e": the capture file's descriptor is close-on-exec, so the tool never inherits it.
    file = std::fopen(path.c_str(), "we");
}

void ExifTool::Close()
{
    if (file)
        std::fclose(file);
    file = nullptr;
}

void ExifTool::OnOutput(const char* text)
{
    if (file)
        std::fputs(text, file);
}
