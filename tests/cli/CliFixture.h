#pragma once
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/CliProcess.h"
#include "support/TestSupport.h"

// A private copy of pinroute-cli with its own settings file, photo folder and runtime
// folder (where its working folder goes). Every test checks that no working folder is
// left behind.
class CliFixture : public ::testing::Test {
protected:
    CliFixture();
    void TearDown() override;

    CliResult Run(const std::vector<std::string>& args, const std::string& cwd = "");
    // A GPX track of one point a minute from 2023-06-17T08:00:00Z to 08:59:00Z, each
    // point's latitude 54 + minute / 16 (whole hundredths of a minute, so it reads back
    // as written) and longitude -3, elevation 100.5 + minute.
    std::string WriteTrack(const std::string& name = "track.gpx");
    // Every file of folder with its bytes, by name.
    std::map<std::string, std::string> Snapshot(const std::string& folder) const;
    // The photo's GPS latitude as exiv2 reads it, "" when it has none.
    static std::string StoredLatitude(const std::string& photo);

    TempDir dir;
    std::string cli;
    std::string photos;    // an empty folder for the test's photos
    std::string runtime;   // $XDG_RUNTIME_DIR of the child
    std::string ini;       // the copy's settings file
    std::vector<std::string> env;
};
