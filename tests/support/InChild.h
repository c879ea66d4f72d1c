#pragma once
#include <cerrno>
#include <functional>
#include <string>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs body in a forked child and returns the text it returned. The child's locale,
// environment, limits and user id changes stay there. A child that blocks for more than
// seconds, or dies, gives "killed by signal N" instead.
inline std::string InChild(const std::function<std::string()>& body, unsigned seconds = 20)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t pid = fork();
    if (pid < 0)
        return "fork failed";
    if (pid == 0) {
        close(fds[0]);
        alarm(seconds);
        const std::string text = body();
        for (size_t done = 0; done < text.size();) {
            const ssize_t n = write(fds[1], text.data() + done, text.size() - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
        else if (errno != EINTR)
            break;
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    return text;
}
