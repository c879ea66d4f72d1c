// A small program for the runner tests: reports what the child process sees.
//   child_probe fds     prints the open descriptors, such as "0 1 2"
//   child_probe stdin   reads standard input to its end and prints "eof <bytes>";
//                       killed by SIGALRM after 5 s if the end never comes
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    if (std::strcmp(argv[1], "fds") == 0) {
        DIR* dir = opendir("/proc/self/fd");
        if (!dir)
            return 3;
        std::set<int> fds;
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.' && std::atoi(entry->d_name) != dirfd(dir))
                fds.insert(std::atoi(entry->d_name));
        }
        closedir(dir);
        const char* separator = "";
        for (int fd : fds) {
            std::printf("%s%d", separator, fd);
            separator = " ";
        }
        std::printf("\n");
        return 0;
    }
    if (std::strcmp(argv[1], "stdin") == 0) {
        alarm(5);
        char buffer[64];
        long total = 0;
        ssize_t n;
        while ((n = read(0, buffer, sizeof buffer)) > 0)
            total += n;
        std::printf("eof %ld\n", total);
        return n == 0 ? 0 : 4;
    }
    return 2;
}
