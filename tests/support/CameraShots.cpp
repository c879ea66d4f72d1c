#include "support/CameraShots.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "support/TestSupport.h"

namespace {

// Degrees as the three rationals of a GPS coordinate, to the thousandth of a second.
std::string Rationals(double degrees)
{
    degrees = std::fabs(degrees);
    const int whole = static_cast<int>(degrees);
    const double minutes = (degrees - whole) * 60;
    const int wholeMinutes = static_cast<int>(minutes);
    const long thousandths = std::lround((minutes - wholeMinutes) * 60 * 1000);
    return std::to_string(whole) + "/1 " + std::to_string(wholeMinutes) + "/1 " + std::to_string(thousandths) + "/1000";
}

}  // namespace

Shot CameraShot(const std::string& name, const std::string& make, const std::string& model, const std::string& taken)
{
    Shot shot;
    shot.name = name;
    shot.make = make;
    shot.model = model;
    shot.taken = taken;
    return shot;
}

void WriteShot(const std::string& folder, const Shot& shot)
{
    const std::string path = folder + shot.name;
    WriteTinyJpeg(path);
    std::vector<std::string> args = {"-M", "set Exif.Photo.DateTimeOriginal Ascii " + shot.taken};
    auto set = [&args](const std::string& command) {
        args.push_back("-M");
        args.push_back(command);
    };
    if (!shot.make.empty())
        set("set Exif.Image.Make Ascii " + shot.make);
    if (!shot.model.empty())
        set("set Exif.Image.Model Ascii " + shot.model);
    if (!shot.zone.empty())
        set("set Exif.Photo.OffsetTimeOriginal Ascii " + shot.zone);
    if (!shot.gpsStamp.empty()) {
        set("set Exif.GPSInfo.GPSDateStamp Ascii " + shot.gpsStamp.substr(0, 10));
        const std::string t = shot.gpsStamp.substr(11);
        set("set Exif.GPSInfo.GPSTimeStamp Rational " + t.substr(0, 2) + "/1 " + t.substr(3, 2) + "/1 " + t.substr(6, 2) + "/1");
    }
    if (shot.positioned) {
        set(std::string("set Exif.GPSInfo.GPSLatitudeRef Ascii ") + (shot.lat < 0 ? "S" : "N"));
        set("set Exif.GPSInfo.GPSLatitude Rational " + Rationals(shot.lat));
        set(std::string("set Exif.GPSInfo.GPSLongitudeRef Ascii ") + (shot.lon < 0 ? "W" : "E"));
        set("set Exif.GPSInfo.GPSLongitude Rational " + Rationals(shot.lon));
    }
    args.push_back("--");
    args.push_back(path);
    std::string output;
    if (RunExiv2(args, &output) != 0)
        throw std::runtime_error("exiv2 can't tag " + path + ": " + output);
}

std::string ExifTimeText(int64_t count)
{
    const time_t seconds = static_cast<time_t>(count);
    struct tm fields;
    gmtime_r(&seconds, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &fields);
    return text;
}

bool ExifToolPosition(const std::string& path, double& lat, double& lon)
{
    std::string out;
    if (RunProgram({"exiftool", "-n", "-s3", "-GPSLatitude", "-GPSLongitude", "--", path}, &out) != 0)
        return false;
    std::istringstream words(out);
    return static_cast<bool>(words >> lat >> lon);
}
