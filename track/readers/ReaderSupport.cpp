#include "track/readers/ReaderSupport.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>
#include <utility>

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

// The lines of a file, one at a time, without their "\n" or "\r\n", and a UTF-8 byte order
// mark, which editors write, dropped from the first.
class LineSource {
public:
    enum Step { kLine, kEnd, kTooLong, kFailed };

    explicit LineSource(int fd) : fd(fd) {}
    // kLine with the next line; kEnd past the last; kTooLong for a line longer than
    // kMaxLineBytes; kFailed when the file can't be read, with reason.
    Step Next(std::string& line, std::string& reason);
    // The number of the line Next last gave or found too long, from 1.
    int64_t Number() const { return number; }

private:
    // Moves the next line out of buffer when it holds a whole one (or the last, at the end).
    bool TakeLine(std::string& line);

    static constexpr size_t kMaxLineBytes = 64 * 1024;
    const int fd;
    std::string buffer;
    size_t start = 0;
    bool atEnd = false;
    int64_t number = 0;
};

bool LineSource::TakeLine(std::string& line)
{
    const size_t end = buffer.find('\n', start);
    if (end == std::string::npos && !(atEnd && start < buffer.size()))
        return false;
    const size_t stop = end == std::string::npos ? buffer.size() : end;
    line.assign(buffer, start, stop - start);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (number == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);
    start = end == std::string::npos ? buffer.size() : end + 1;
    ++number;
    return true;
}

LineSource::Step LineSource::Next(std::string& line, std::string& reason)
{
    for (;;) {
        if (TakeLine(line))
            return line.size() > kMaxLineBytes ? kTooLong : kLine;
        if (atEnd)
            return kEnd;
        if (buffer.size() - start > kMaxLineBytes) {
            ++number;
            return kTooLong;
        }
        buffer.erase(0, start);
        start = 0;
        const size_t old = buffer.size();
        buffer.resize(old + kBlockBytes);
        const ssize_t n = ReadSome(fd, &buffer[old], kBlockBytes);
        if (n < 0) {
            buffer.resize(old);
            reason = "can't be read: " + SystemErrorText(errno, 256);
            return kFailed;
        }
        buffer.resize(old + static_cast<size_t>(n));
        atEnd = n == 0;
    }
}

// Hands take the lines of fd until the end or a fault; the result says which.
TrackRead TakeLines(int fd, const TakeLine& take)
{
    LineSource lines(fd);
    std::string line, reason;
    for (;;) {
        const LineSource::Step step = lines.Next(line, reason);
        const int64_t number = lines.Number();
        if (step == LineSource::kEnd)
            return TrackRead::Done();
        if (step == LineSource::kFailed)
            return TrackRead::Failed(reason);
        if (step == LineSource::kTooLong)
            return TrackRead::Failed("line " + std::to_string(number) + " is too long", number);
        const LineFault fault = take(line, number);
        if (!fault.what.empty() && fault.atLine)
            return TrackRead::Failed("line " + std::to_string(number) + ": " + fault.what, number);
        if (!fault.what.empty())
            return TrackRead::Failed(fault.what);
    }
}

}  // namespace

int OpenTrackFile(const std::string& path, std::string& reason)
{
    int64_t size = 0;
    return OpenTrackFile(path, kMaxTrackBytes, size, reason);
}

TrackRead ReadTrackLines(const std::string& path, Track& track, const TakeLine& take)
{
    std::string reason;
    const int fd = OpenTrackFile(path, reason);
    if (fd < 0)
        return TrackRead::Failed(reason);
    const size_t before = track.size();
    TrackRead result;
    try {
        result = TakeLines(fd, take);
    } catch (const std::bad_alloc&) {
        result = TrackRead::Failed("too big to read (out of memory)");
    }
    close(fd);
    if (!result.read)
        track.resize(before);
    return result;
}

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
