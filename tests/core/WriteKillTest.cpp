#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "exif/GpsTagWriter.h"
#include "exif/SafeWrite.h"
#include "exif/Workspace.h"
#include "support/HeifShapes.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

const std::vector<std::string> kWrittenTags = {"Exif.GPSInfo.", "Exif.Image.GPSTag",
                                               "Exif.Image.ExifTag", "Exif.Image.Software"};

// The running children of pid, found through /proc.
std::vector<pid_t> ChildrenOf(pid_t parent)
{
    std::vector<pid_t> children;
    DIR* proc = opendir("/proc");
    if (!proc)
        return children;
    while (dirent* entry = readdir(proc)) {
        pid_t pid = static_cast<pid_t>(std::atol(entry->d_name));
        if (pid <= 0)
            continue;
        // Read with plain calls: the process may end while it is read.
        char buffer[512] = {};
        int fd = open(("/proc/" + std::string(entry->d_name) + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ssize_t got = read(fd, buffer, sizeof buffer - 1);
        close(fd);
        std::string text(buffer, got > 0 ? size_t(got) : 0);
        size_t paren = text.rfind(')');
        char state = 0;
        long ppid = 0;
        if (paren != std::string::npos
            && std::sscanf(text.c_str() + paren + 1, " %c %ld", &state, &ppid) == 2
            && ppid == parent && state != 'Z')
            children.push_back(pid);
    }
    closedir(proc);
    return children;
}

struct Photo {
    std::string (*picture)(const std::string&) = ImageData;
    std::string path;
    std::string bytes;                 // as it is now
    std::string image;                 // the picture, which no write may change
    std::vector<std::string> others;   // the tags no write may change
};

// Writes count photos from start on (wrapping round) with one position in a process of
// its own, in a process group of its own, and reports "index result" lines on fd.
pid_t StartWriter(std::vector<Photo>& photos, size_t start, size_t count, double latitude, int fd)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    setpgid(0, 0);
    try {   // the child must never go back into the test framework
        Workspace workspace;
        WorkerFiles files = workspace.Worker(0);
        for (size_t n = 0; n < count; ++n) {
            size_t i = (start + n) % photos.size();
            std::string reason;
            bool ok = WriteGpsTags(files, photos[i].path, latitude, 20.25, "5", "v", reason);
            std::string line = std::to_string(i) + (ok ? " 1\n" : " 0\n");
            (void)!write(fd, line.data(), line.size());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "writer: %s\n", error.what());
        _exit(1);
    }
    _exit(0);
}

// Sees that the photo is either as it was or carries latitude with everything else kept.
// Returns "" or what is wrong.
std::string Check(Photo& photo, const std::string& latWords, int reported)
{
    std::string bytes = ReadFile(photo.path);
    if (bytes == photo.bytes)
        return reported == 1 ? "reported written but unchanged" : "";
    if (reported == 0)
        return "reported failed but changed";
    if (photo.picture(bytes) != photo.image)
        return "image data changed (size " + std::to_string(bytes.size()) + ")";
    std::string listing = ListTags(photo.path);
    if (TagValue(listing, "Exif.GPSInfo.GPSLatitude") != latWords)
        return "latitude " + TagValue(listing, "Exif.GPSInfo.GPSLatitude");
    if (TagsOtherThan(listing, kWrittenTags) != photo.others)
        return "other tags changed";
    photo.bytes = bytes;
    return "";
}

int EnvCount(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

}  // namespace

// Kills the tool, or the writing process together with the tool, at random moments of
// real writes; every photo must then be as it was or fully written. PINROUTE_KILL_TRIALS
// raises the number of trials for a longer measurement; PINROUTE_KILL_KIND=heic writes
// copies of the camera HEIC files instead of JPEGs.
TEST(WriteGpsTags, SurvivesKillsAtRandomMoments)
{
    const int trials = EnvCount("PINROUTE_KILL_TRIALS", 50);
    const size_t photoCount = 20, perTrial = 3;
    const char* kind = std::getenv("PINROUTE_KILL_KIND");
    const bool heic = kind && std::string(kind) == "heic";
    const char* const heics[] = {"IMG_3578.heic", "Stonehenge.heic", "2021-02-13-1929.heic"};
    TempDir dir;
    std::vector<Photo> photos(photoCount);
    for (size_t i = 0; i < photoCount; ++i) {
        Photo& photo = photos[i];
        photo.path = dir.File("IMG_" + std::to_string(1000 + i) + (heic ? ".heic" : ".jpg"));
        if (heic) {
            WriteFile(photo.path, ReadFile(std::string(CAMERA_DATA_DIR) + "/" + heics[i % 3]));
            photo.picture = HeifPicture;
        } else {
            ASSERT_TRUE(WriteCameraPhoto(photo.path, 1000000 + 50000 * i, static_cast<uint32_t>(i)));
        }
        photo.bytes = ReadFile(photo.path);
        photo.image = photo.picture(photo.bytes);
        photo.others = TagsOtherThan(ListTags(photo.path), kWrittenTags);
        ASSERT_FALSE(photo.image.empty());
    }
    std::mt19937 random(12345);
    int damaged = 0, written = 0, failed = 0, toolKills = 0, leftovers = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const bool wholeWriter = trial % 2 == 1;
        // A new position each trial, in halves of a degree, so that minutes come out whole.
        const int halves = trial % 341 - 170;
        const double latitude = halves * 0.5;
        char latWords[64];
        std::snprintf(latWords, sizeof latWords, "%d/1 %d/100 0/1", std::abs(halves) / 2,
                      std::abs(halves) % 2 * 3000);
        int fds[2];
        ASSERT_EQ(0, pipe(fds));
        pid_t writer = StartWriter(photos, (trial * perTrial) % photoCount, perTrial, latitude, fds[1]);
        setpgid(writer, writer);   // as the writer does, so that an early kill reaches the group
        close(fds[1]);

        // A writer of three photos runs for about 300 ms; the tool is killed within the first
        // 200 ms, so that it is nearly always still there to be killed.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (wholeWriter ? 300000 : 200000)));
        if (wholeWriter) {
            // A crash or a power cut takes the writer and its tool at once; the tool runs in
            // a process group of its own, so it is killed by name as well.
            const std::vector<pid_t> children = ChildrenOf(writer);
            kill(-writer, SIGKILL);
            for (pid_t child : children)
                kill(child, SIGKILL);
        } else {
            for (int tries = 0; tries < 1000; ++tries) {   // the writer may be between tools
                std::vector<pid_t> children = ChildrenOf(writer);
                if (!children.empty()) {
                    kill(children.front(), SIGKILL);
                    ++toolKills;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        }
        std::string report;
        char buffer[256];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
            report.append(buffer, static_cast<size_t>(n));
        close(fds[0]);
        waitpid(writer, nullptr, 0);

        std::vector<int> reported(photoCount, -1);
        std::istringstream lines(report);
        for (size_t i; lines >> i && i < photoCount;)
            lines >> reported[i];
        for (size_t i = 0; i < photoCount; ++i) {
            std::string fault = Check(photos[i], latWords, reported[i]);
            EXPECT_EQ("", fault) << photos[i].path;
            damaged += !fault.empty();
            written += reported[i] == 1;
            failed += reported[i] == 0;
        }
        // A killed writer may leave its copy; the next run removes it, and nothing else.
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            files += entry.is_regular_file();
        leftovers += static_cast<int>(files - photoCount);
        RemoveStaleCopies(dir.Path());
        auto names = std::filesystem::directory_iterator(dir.Path());
        EXPECT_EQ(photoCount, size_t(std::distance(begin(names), end(names))));
    }
    std::printf("kill trials: %d (tool killed %d times, writer %d times), photos written %d, "
                "failed %d, leftover copies removed %d, damaged %d\n",
                trials, toolKills, trials / 2, written, failed, leftovers, damaged);
    EXPECT_EQ(0, damaged);
    EXPECT_GT(written, 0);
    EXPECT_GT(toolKills, 0);
}
