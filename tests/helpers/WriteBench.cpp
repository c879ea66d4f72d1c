// Measures the verified photo write against the former in-place write of the tool, and
// writes photos on a disk that fills up. Run by scripts/bench-write.sh and
// scripts/full-disk-trials.sh.
//   write_bench bench FOLDER COUNT BYTES   COUNT photo pairs of about BYTES each, timed side by side
//   write_bench fill FOLDER COUNT BYTES    COUNT writes in FOLDER while a filler eats its space
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "exif/ChildProcess.h"
#include "exif/GpsTagWriter.h"
#include "exif/GpsTagWriter.h"
#include "exif/Workspace.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

class Quiet : public ChildProcess {
protected:
    void OnOutput(const char*) override {}
};

// The former write: the tool rewrites the photo in place.
bool InPlaceWrite(const WorkerFiles& files, const std::string& photo, double lat, double lon)
{
    WriteFile(files.command, GpsCommandText(lat, lon, "5", "1.00.0.19"));
    Quiet tool;
    return tool.Run({"exiv2", "-k", "-m", files.command, "--", photo}) == 0 && tool.Succeeded();
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

int Bench(const std::string& folder, int count, size_t bytes)
{
    Workspace workspace;
    WorkerFiles files = workspace.Worker(0);
    mkdir((folder + "/in-place").c_str(), 0755);
    mkdir((folder + "/verified").c_str(), 0755);
    double inPlace = 0, verified = 0;
    int inPlaceOk = 0, verifiedOk = 0;
    for (int i = 0; i < count; ++i) {
        std::string name = "/IMG_" + std::to_string(1000 + i) + ".jpg";
        std::string a = folder + "/in-place" + name, b = folder + "/verified" + name;
        if (!WriteCameraPhoto(a, bytes, static_cast<uint32_t>(i)))
            return 1;
        WriteFile(b, ReadFile(a));
        // Alternate the order, so that neither always finds the disk busy with the other.
        for (int k = 0; k < 2; ++k) {
            double lat = 51 + i * 0.001, lon = -1 - i * 0.001;
            auto start = Clock::now();
            if ((k + i) % 2 == 0) {
                inPlaceOk += InPlaceWrite(files, a, lat, lon);
                inPlace += Seconds(start);
            } else {
                std::string reason;
                verifiedOk += WriteGpsTags(files, b, lat, lon, "5", "1.00.0.19", reason);
                verified += Seconds(start);
            }
        }
    }
    std::printf("photos: %d of %zu bytes\nin-place: %.3f s (%.1f ms each, %d written)\n"
                "verified: %.3f s (%.1f ms each, %d written)\nratio: %.2f\n",
                count, bytes, inPlace, 1000 * inPlace / count, inPlaceOk, verified,
                1000 * verified / count, verifiedOk, verified / inPlace);
    return 0;
}

// Appends to a filler file until the disk is full.
void Fill(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    static char block[65536];
    while (fd >= 0 && write(fd, block, sizeof block) > 0) {}
    if (fd >= 0)
        close(fd);
}

// Writes count photos on a disk that is full (during: that fills up while the write runs).
int FullDisk(const std::string& folder, int count, size_t bytes, bool during)
{
    Workspace workspace;   // in the runtime folder, not on the full disk
    WorkerFiles files = workspace.Worker(0);
    std::mt19937 random(7);
    int written = 0, failed = 0, damaged = 0;
    for (int i = 0; i < count; ++i) {
        std::string photo = folder + "/IMG_" + std::to_string(1000 + i) + ".jpg";
        std::string fillerPath = folder + "/filler";
        unlink(fillerPath.c_str());
        if (!WriteCameraPhoto(photo, bytes, static_cast<uint32_t>(i)))
            return 1;
        const std::string before = ReadFile(photo);
        const std::string image = ImageData(before);
        // The filler starts at a random moment of the write and fills the disk.
        unsigned delay = random() % 20000;
        if (!during)
            Fill(fillerPath);
        std::thread filler([&fillerPath, delay, during] {
            if (during) {
                std::this_thread::sleep_for(std::chrono::microseconds(delay));
                Fill(fillerPath);
            }
        });
        std::string reason;
        bool ok = WriteGpsTags(files, photo, 51.5, -0.5, "5", "v", reason);
        filler.join();
        std::string after = ReadFile(photo);
        bool intact = after == before
            || (ok && ImageData(after) == image
                && TagValue(ListTags(photo), "Exif.GPSInfo.GPSLatitude") == "51/1 3000/100 0/1");
        written += ok;
        failed += !ok;
        damaged += !intact;
        std::printf("%s: %s%s\n", photo.c_str(), ok ? "written" : "failed: ", reason.c_str());
        unlink(fillerPath.c_str());
        unlink(photo.c_str());
    }
    std::printf("%s: %d writes, %d written, %d failed, %d damaged\n",
                during ? "disk filling during the write" : "disk full before the write", count,
                written, failed, damaged);
    return damaged == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: write_bench bench|fill FOLDER COUNT BYTES\n");
        return 64;
    }
    std::string mode = argv[1];
    int count = std::atoi(argv[3]);
    size_t bytes = std::strtoul(argv[4], nullptr, 10);
    if (mode == "bench")
        return Bench(argv[2], count, bytes);
    int full = FullDisk(argv[2], count, bytes, false);
    int filling = FullDisk(argv[2], count, bytes, true);
    return full != 0 ? full : filling;
}
