#include "exif/ChildProcess.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

const char* const kExifProgram = "exiv2";

namespace {

// A pipe whose two ends are close-on-exec and lie above the standard descriptors,
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

// Closes the descriptors it holds on every way out of Run.
struct Fds {
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    int exec[2] = {-1, -1};   // the child reports a failed exec here
    ~Fds()
    {
        for (int* p : {in, out, exec}) {
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

// Runs in the forked child: only async-signal-safe calls from here to exec.
[[noreturn]] void StartChild(const Fds& fds, char* const* argv)
{
    // dup2 clears close-on-exec on the copies; the pipes' own descriptors keep it.
    if (dup2(fds.in[0], STDIN_FILENO) < 0 || dup2(fds.out[1], STDOUT_FILENO) < 0
        || dup2(fds.out[1], STDERR_FILENO) < 0) {
        int error = errno;
        (void)!write(fds.exec[1], &error, sizeof error);
        _exit(127);
    }

    // Descriptors that the rest of the program opened without close-on-exec must not
    // reach the tool either.
    if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        long limit = sysconf(_SC_OPEN_MAX);
        if (limit < 0 || limit > 65536)
            limit = 65536;
        for (int fd = 3; fd < limit; ++fd)
            fcntl(fd, F_SETFD, FD_CLOEXEC);
    }

    // An ignored or blocked SIGPIPE would be inherited through exec; the tool gets
    // the default disposition, so it ends if its reader goes away.
    signal(SIGPIPE, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    setpriority(PRIO_PROCESS, 0, 19);

    execvp(argv[0], argv);
    int error = errno;
    (void)!write(fds.exec[1], &error, sizeof error);
    _exit(127);
}

}  // namespace

int ChildProcess::Run(const std::vector<std::string>& argv)
{
    exited = false;
    exitCode = -1;
    termSignal = 0;
    if (argv.empty())
        return EINVAL;

    // Built before the fork: the child must not allocate.
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (auto& word : words)
        args.push_back(word.data());
    args.push_back(nullptr);

    Fds fds;
    if (int error = MakePipe(fds.in))
        return error;
    if (int error = MakePipe(fds.out))
        return error;
    if (int error = MakePipe(fds.exec))
        return error;

    pid_t pid = fork();
    if (pid < 0)
        return errno;
    if (pid == 0)
        StartChild(fds, args.data());

    // Only the child holds the writing end of the output pipe now, so the pipe ends
    // when the child does. Nothing is ever written to its standard input: closing our
    // end at once lets a tool that reads it see end of file instead of waiting forever.
    CloseFd(fds.out[1]);
    CloseFd(fds.in[0]);
    CloseFd(fds.in[1]);
    CloseFd(fds.exec[1]);

    // The exec pipe closes on a successful exec; before that the child writes nothing else.
    int execError = 0;
    ssize_t got = ReadRetrying(fds.exec[0], &execError, sizeof execError);
    int result = 0;
    if (got == static_cast<ssize_t>(sizeof execError))
        result = execError != 0 ? execError : ECHILD;
    else if (got < 0)
        result = errno;

    if (result == 0) {
        char buffer[256 + 1];
        for (;;) {
            ssize_t n = ReadRetrying(fds.out[0], buffer, 256);
            if (n == 0)
                break;
            if (n < 0) {
                result = errno;
                break;
            }
            buffer[n] = '\0';   // a zero byte among the bytes read ends the text earlier
            OnOutput(buffer);
        }
    }
    // A child still writing after a failed read gets SIGPIPE rather than blocking for good.
    CloseFd(fds.out[0]);

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
    if (got == static_cast<ssize_t>(sizeof execError)) {
        // The program never ran: what we know of the child is only our own _exit.
        exited = false;
        exitCode = -1;
    }
    return result;
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
