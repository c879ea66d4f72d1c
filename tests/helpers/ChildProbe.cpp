// A small program that tests start as a child, to see what a child process sees.
//   child_probe fds     prints the open descriptors, such as "0 1 2"
//   child_probe stdin   reads standard input to its end and prints "eof <bytes>";
//                       killed by SIGALRM after 5 s if the end never comes
//   child_probe ini     deletes its own executable, then prints the settings path
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <string>
#include <unistd.h>

#include "common/ModulePath.h"

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
    if (std::strcmp(argv[1], "ini") == 0) {
        char self[4096];
        ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n < 0)
            return 5;
        self[n] = '\0';
        std::string path;
        if (unlink(self) != 0 || !ModuleFilePath(".ini", false, path))
            return 6;
        std::printf("%s\n", path.c_str());
        return 0;
    }
    return 2;
}
