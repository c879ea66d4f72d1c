#include "track/readers/ReaderSupport.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/ModulePath.h"
#include "common/Timestamps.h"

namespace {

constexpr size_t kBlockBytes = size_t{1} << 20;

// read() past interruptions; -1 with errno on an error.
ssize_t ReadSome(int fd, char* data, size_t size)
{
    ssize_t n;
    do
        n = read(fd, data, size);
    while (n < 0 && errno == EINTR);
    return n;
}

}  // namespace

int OpenTrackFile(const std::string& path, int64_t maxBytes, int64_t& size, std::string& reason)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = "can't be opened: " + SystemErrorText(errno, 256);
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        reason = "can't be read: " + SystemErrorText(errno, 256);
    } else if (!S_ISREG(info.st_mode)) {
        reason = "not a regular file";
    } else if (info.st_size > maxBytes) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(info.st_size) / 1e9);
        reason = std::string("too big to read (") + text + ")";
    } else {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        size = info.st_size;
        return fd;
    }
    close(fd);
    return -1;
}

bool ReadBlocks(int fd, const std::function<bool(const char*, size_t)>& consume, std::string& reason)
{
    std::string block(kBlockBytes, '\0');
    for (;;) {
        const ssize_t n = ReadSome(fd, &block[0], block.size());
        if (n < 0) {
            reason = "can't be read: " + SystemErrorText(errno, 256);
            return false;
        }
        if (n == 0)
            return true;
        if (!consume(block.data(), static_cast<size_t>(n)))
            return false;
    }
}

bool LineSource::Next(std::string& line, std::string& reason)
{
    for (;;) {
        const size_t end = buffer.find('\n', start);
        if (end != std::string::npos || (atEnd && start < buffer.size())) {
            const size_t stop = end == std::string::npos ? buffer.size() : end;
            line.assign(buffer, start, stop - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            start = end == std::string::npos ? buffer.size() : end + 1;
            ++number;
            if (line.size() > maxLength) {
                reason = "line " + std::to_string(number) + " is too long";
                return false;
            }
            return true;
        }
        if (atEnd)
            return false;
        if (buffer.size() - start > maxLength) {
            reason = "line " + std::to_string(number + 1) + " is too long";
            return false;
        }
        buffer.erase(0, start);
        start = 0;
        const size_t old = buffer.size();
        buffer.resize(old + kBlockBytes);
        const ssize_t n = ReadSome(fd, &buffer[old], kBlockBytes);
        if (n < 0) {
            buffer.resize(old);
            reason = "can't be read: " + SystemErrorText(errno, 256);
            return false;
        }
        buffer.resize(old + static_cast<size_t>(n));
        atEnd = n == 0;
    }
}

int NextSegment(const Track& track)
{
    int last = -1;
    for (const TrackPoint& p : track)
        last = std::max(last, p.segment);
    return last + 1;
}

std::string ElevationText(double metres)
{
    if (!std::isfinite(metres) || std::fabs(metres) > kMaxElevationMetres)
        return {};
    char text[64];
    // Shortest text that reads back as the same double; never a decimal comma.
    const auto result = std::to_chars(text, text + sizeof text, metres);
    return std::string(text, result.ptr);
}

std::string NestingText()
{
    return "too deeply nested (more than " + std::to_string(kMaxNesting) + " levels)";
}

bool ValidPosition(double lat, double lon)
{
    return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

int64_t DayOfDdMmYy(long long ddmmyy)
{
    if (ddmmyy < 0 || ddmmyy > 999999)
        return -1;
    const int day = static_cast<int>(ddmmyy / 10000), month = static_cast<int>(ddmmyy / 100 % 100);
    const int year = static_cast<int>(ddmmyy % 100);
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return -1;
    char iso[32];
    std::snprintf(iso, sizeof iso, "%d-%02d-%02dT00:00:00Z", year + (year >= 80 ? 1900 : 2000), month, day);
    return ParseGpxTime(iso);
}
