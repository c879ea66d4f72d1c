#include "exif/CameraListing.h"

#include <cmath>

#include "common/AsciiText.h"
#include "common/Timestamps.h"
#include "exif/ExifListing.h"
#include "exif/PlaceListing.h"

namespace {

const char kMakeKey[] = "Exif.Image.Make";
const char kModelKey[] = "Exif.Image.Model";
const char kBodySerialKey[] = "Exif.Photo.BodySerialNumber";
const char kDngSerialKey[] = "Exif.Image.CameraSerialNumber";
const char kGpsDateKey[] = "Exif.GPSInfo.GPSDateStamp";
const char kGpsTimeKey[] = "Exif.GPSInfo.GPSTimeStamp";

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Hours, minutes and seconds as three rational words: "14/1 24/1 4500/100"; -1 when they
// aren't three readable numbers of a time of day.
double SecondsOfDay(const std::string& value)
{
    double parts[3];
    size_t pos = 0;
    for (double& part : parts) {
        const size_t start = value.find_first_not_of(' ', pos);
        if (start == std::string::npos)
            return -1;
        pos = value.find(' ', start);
        long numerator = 0, denominator = 1;
        ParseRational(value.substr(start, pos == std::string::npos ? std::string::npos : pos - start),
                      numerator, denominator);
        if (denominator <= 0 || numerator < 0)
            return -1;
        part = static_cast<double>(numerator) / static_cast<double>(denominator);
    }
    const double seconds = parts[0] * 3600 + parts[1] * 60 + parts[2];
    return parts[0] < 24 && parts[1] < 60 && parts[2] < 61 ? seconds : -1;
}

}  // namespace

std::string HeldCamera::ModelName() const
{
    if (make.empty() || model.empty())
        return make.empty() ? model : make;
    const std::string firstWord = make.substr(0, make.find(' '));
    const bool named = StartsWithIgnoringAsciiCase(model, firstWord)
        && (model.size() == firstWord.size() || model[firstWord.size()] == ' ' || model[firstWord.size()] == '-');
    return named ? model : make + " " + model;
}

std::string HeldCamera::Name() const
{
    const std::string name = ModelName();
    return name.empty() || serial.empty() ? name : name + " #" + serial;
}

int64_t HeldCamera::GpsTime() const
{
    if (gpsSeconds < 0 || gpsDate.size() < 10)
        return -1;
    const int64_t midnight = ParseExifDateTime(gpsDate.substr(0, 10), "00:00:00");
    return midnight == -1 ? -1 : midnight + static_cast<int64_t>(std::floor(gpsSeconds));
}

double HeldCamera::GpsFraction() const
{
    return gpsSeconds < 0 ? 0 : gpsSeconds - std::floor(gpsSeconds);
}

const std::vector<std::string>& CameraListedKeys()
{
    static const std::vector<std::string> keys = {kMakeKey, kModelKey, kBodySerialKey, kDngSerialKey,
                                                  kGpsDateKey, kGpsTimeKey};
    return keys;
}

bool ReadCameraLine(const std::string& line, HeldCamera& held)
{
    const std::string key = line.substr(0, line.find(' '));
    const std::string value = Trimmed(ListingLineValue(line));
    // The first line of a key counts, as for the other tags.
    if (key == kMakeKey)
        held.make = held.make.empty() ? value : held.make;
    else if (key == kModelKey)
        held.model = held.model.empty() ? value : held.model;
    else if (key == kBodySerialKey)
        held.serial = value;   // the EXIF 2.3 tag wins over the DNG one
    else if (key == kDngSerialKey)
        held.serial = held.serial.empty() ? value : held.serial;
    else if (key == kGpsDateKey)
        held.gpsDate = held.gpsDate.empty() ? value : held.gpsDate;
    else if (key == kGpsTimeKey)
        held.gpsSeconds = held.gpsSeconds < 0 ? SecondsOfDay(value) : held.gpsSeconds;
    else
        return false;
    return true;
}
