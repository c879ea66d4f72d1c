// Loaded with LD_PRELOAD into pinroute-cli by the tests, to see and to break what the
// system calls do:
// - PINROUTE_SHIM_LOG=FILE appends "fsync file PATH", "fsync folder PATH" and
//   "rename FROM TO" lines (renameat's with full paths), in the order the calls are made;
// - PINROUTE_SHIM_FAIL_WRITE_OF=TEXT makes a write() of data holding TEXT write half of it,
//   and the next write() to that file fail with ENOSPC, as a disk filling up part way;
// - PINROUTE_SHIM_FAIL_FOLDER_FSYNC=1 makes fsync of a folder fail with EIO;
// - PINROUTE_SHIM_NO_THREADS=1 makes every pthread_create fail with EAGAIN, as under a
//   process limit;
// - PINROUTE_SHIM_READONLY=FOLDER makes access() for writing anything under FOLDER fail
//   with EROFS, as on a card mounted read-only (root passes every permission check).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Log(const std::string& line)
{
    const char* path = std::getenv("PINROUTE_SHIM_LOG");
    if (!path)
        return;
    const int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const std::string text = line + "\n";
    (void)!write(fd, text.data(), text.size());
    close(fd);
}

std::string PathOf(int fd)
{
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : "?";
}

template <typename F>
F Next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int fd)
{
    struct stat info;
    const bool folder = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    Log(std::string("fsync ") + (folder ? "folder " : "file ") + PathOf(fd));
    if (folder && std::getenv("PINROUTE_SHIM_FAIL_FOLDER_FSYNC")) {
        errno = EIO;
        return -1;
    }
    return Next<int (*)(int)>("fsync")(fd);
}

extern "C" int rename(const char* from, const char* to)
{
    Log(std::string("rename ") + from + " " + to);
    return Next<int (*)(const char*, const char*)>("rename")(from, to);
}

extern "C" int renameat(int fromFolder, const char* from, int toFolder, const char* to)
{
    const auto full = [](int folder, const char* path) {
        return path[0] == '/' || folder == AT_FDCWD ? std::string(path) : PathOf(folder) + "/" + path;
    };
    Log("rename " + full(fromFolder, from) + " " + full(toFolder, to));
    return Next<int (*)(int, const char*, int, const char*)>("renameat")(fromFolder, from, toFolder, to);
}

extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    static int failing = -1;   // the file whose next write fails
    const auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    const char* text = std::getenv("PINROUTE_SHIM_FAIL_WRITE_OF");
    if (!text || !text[0])
        return real(fd, data, size);
    if (fd == failing) {
        failing = -1;   // the number may serve another file next
        errno = ENOSPC;
        return -1;
    }
    const std::string bytes(static_cast<const char*>(data), size);
    if (size < 2 || bytes.find(text) == std::string::npos)
        return real(fd, data, size);
    failing = fd;
    return real(fd, data, size / 2);
}

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*),
                              void* argument)
{
    if (std::getenv("PINROUTE_SHIM_NO_THREADS"))
        return EAGAIN;
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    return Next<Create>("pthread_create")(thread, attributes, start, argument);
}

extern "C" int access(const char* path, int mode)
{
    const char* readOnly = std::getenv("PINROUTE_SHIM_READONLY");
    if (readOnly && (mode & W_OK) && std::strncmp(path, readOnly, std::strlen(readOnly)) == 0) {
        errno = EROFS;
        return -1;
    }
    return Next<int (*)(const char*, int)>("access")(path, mode);
}
