#pragma once
#include <cstdint>
#include <memory>
#include <string>

// How Parse and Rename show a position: the values of the DisplayType setting. A file
// may hold other numbers; they show latitude/longitude.
enum class DisplayType : int32_t { LatLon = 0, Osgb = 1 };

// Latitude/longitude text, "%f %f": 51.477500 -0.001400.
class PositionFormatter {
public:
    virtual ~PositionFormatter() = default;
    // Replaces out with the position text; true when a text was produced.
    virtual bool Format(double latitude, double longitude, std::string& out);

    std::string text;    // the latest grid reference of an OsgbConverter
    std::string error;   // why the latest Format failed ("Transform failed: ..."), or ""
    bool offGrid = false;   // the latest grid Format gave latitude/longitude: off the grid
};

// The formatter for the DisplayType setting: latitude/longitude, or (1) an OSGB grid
// reference. One per thread: a grid formatter holds a PROJ context.
std::unique_ptr<PositionFormatter> FormatterFor(int32_t displayType);
