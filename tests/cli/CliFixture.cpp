#include "cli/CliFixture.h"

#include <filesystem>

#include "common/Timestamps.h"
#include "support/Tracks.h"

namespace fs = std::filesystem;

CliFixture::CliFixture()
    : cli(CopyCliInto(dir.Path())), photos(dir.File("photos")), runtime(dir.File("runtime")),
      ini(dir.File("pinroute.ini"))
{
    fs::create_directory(photos);
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    env = {"XDG_RUNTIME_DIR=" + runtime, "TZ=Europe/London", "XDG_STATE_HOME=" + dir.File("state")};
}

void CliFixture::TearDown()
{
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(runtime))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(std::vector<std::string>(), left) << "working folders left behind";
}

CliResult CliFixture::Run(const std::vector<std::string>& args, const std::string& cwd)
{
    return RunChild(cli, args, env, cwd);
}

std::string CliFixture::WriteTrack(const std::string& name)
{
    const std::string path = dir.File(name);
    WriteFile(path, GpxText(EveryMinute(ParseGpxTime("2023-06-17T08:00:00Z"), 60, 54, -3, 1.0 / 16, "100.5", 1)));
    return path;
}

std::map<std::string, std::string> CliFixture::Snapshot(const std::string& folder) const
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadFile(entry.path().string());
    return files;
}

std::string CliFixture::StoredLatitude(const std::string& photo)
{
    std::string out;
    RunExiv2({"-Pv", "-K", "Exif.GPSInfo.GPSLatitude", "--", photo}, &out);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}
