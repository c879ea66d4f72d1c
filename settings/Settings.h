#pragma once
#include <cstdint>
#include <string>

// The six settings, kept in the [Config] section of the INI file beside the executable.
class Settings {
public:
    virtual ~Settings() = default;

    // Fills every field from the file; a missing file, section or key gives its default.
    // When the program's own path can't be found the record keeps its values.
    void Read();
    void WriteString(const std::string& section, const std::string& key, const std::string& text);
    void WriteInt(const std::string& section, const std::string& key, int32_t number);

    int32_t Date = 0;           // append the date on Rename (flag)
    int32_t Posn = 0;           // append the position on Rename (flag)
    int32_t DisplayType = 0;    // 0 latitude/longitude, 1 OSGB grid reference
    int32_t OffsetMinutes = 0;  // how far the camera clock runs ahead of GPX time
    std::string GPXPath;        // a GPX file, or a pattern in its last component
    std::string JPGDir;         // the photo folder; ends in "/" unless empty
};
