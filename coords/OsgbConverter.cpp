#include "coords/OsgbConverter.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <proj.h>

#include "common/Text.h"

namespace {

// WGS84 longitude/latitude, and the OSGB36 national grid with its 7-parameter datum shift.
// "+type=crs" makes PROJ build coordinate systems rather than single operations.
const char* const kWgs84 = "+proj=latlong +ellps=WGS84 +towgs84=0,0,0 +no_defs +type=crs";
const char* const kOsgb =
    "+proj=tmerc +lat_0=49 +lon_0=-2 +k=0.9996012717 +x_0=400000 +y_0=-100000 +ellps=airy "
    "+towgs84=446.448,-125.157,542.060,0.1502,0.2470,0.8421,-20.4894 +units=m +type=crs";

// Truncates toward zero; false for NaN, infinities and values outside int32.
bool TruncateToInt32(double value, int32_t& result)
{
    if (!std::isfinite(value))
        return false;
    double whole = std::trunc(value);
    if (whole < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        whole > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return false;
    result = static_cast<int32_t>(whole);
    return true;
}

// EPSG:27700's area of use, west, south, east and north in degrees. These are the figures
// PROJ's database holds; they stand in only where the database can't be read.
struct GridArea {
    double west = -9.0, south = 49.75, east = 2.01, north = 61.01;
};

GridArea ReadGridArea()
{
    GridArea area;
    PJ_CONTEXT* context = proj_context_create();
    if (!context)
        return area;
    proj_log_level(context, PJ_LOG_NONE);
    if (PJ* crs = proj_create(context, "EPSG:27700")) {
        double west, south, east, north;
        if (proj_get_area_of_use(context, crs, &west, &south, &east, &north, nullptr) && west < east
            && south < north)
            area = GridArea{west, south, east, north};
        proj_destroy(crs);
    }
    proj_context_destroy(context);
    return area;
}

// The grid's squares: 700 km east and 1300 km north of the false origin.
bool InGridSquares(int32_t easting, int32_t northing)
{
    return easting >= 0 && easting < 700000 && northing >= 0 && northing < 1300000;
}

}  // namespace

const char kOffGridNote[] = QT_TRANSLATE_NOOP("Tips", "outside the British grid: shown as latitude/longitude");

bool OnBritishGrid(double latitude, double longitude)
{
    static const GridArea area = ReadGridArea();
    return latitude >= area.south && latitude <= area.north && longitude >= area.west && longitude <= area.east;
}

OsgbConverter::OsgbConverter()
{
    context = proj_context_create();
    if (context) {
        // Only the two definitions decide the result: no grids fetched from the network,
        // and PROJ's own log lines stay off standard error.
        proj_context_set_enable_network(context, 0);
        proj_log_level(context, PJ_LOG_NONE);
    }
}

OsgbConverter::~OsgbConverter()
{
    if (transform)
        proj_destroy(transform);
    if (context)
        proj_context_destroy(context);
}

bool OsgbConverter::BuildTransform()
{
    PJ* source = context ? proj_create(context, kWgs84) : nullptr;
    if (!source) {
        error = "Failed to initialise WGS84";
        return false;
    }
    PJ* destination = proj_create(context, kOsgb);
    if (!destination) {
        proj_destroy(source);
        error = "Failed to initialise OSGB";
        return false;
    }
    PJ* raw = proj_create_crs_to_crs_from_pj(context, source, destination, nullptr, nullptr);
    proj_destroy(source);
    proj_destroy(destination);
    if (raw) {
        // Longitude first, in degrees, whatever the axis order of the definitions.
        transform = proj_normalize_for_visualization(context, raw);
        proj_destroy(raw);
    }
    if (!transform) {
        int code = proj_context_errno(context);
        if (code == 0)
            code = PROJ_ERR_OTHER;
        error = "Transform failed: " + std::string(proj_context_errno_string(context, code));
        return false;
    }
    return true;
}

bool OsgbConverter::Format(double latitude, double longitude, std::string& out)
{
    out.clear();
    error.clear();
    offGrid = false;
    const auto Report = [this](const std::string& reason) { error = reason; };
    const bool position = std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180;   // false for NaN
    if (position && !OnBritishGrid(latitude, longitude)) {
        offGrid = true;
        return PositionFormatter::Format(latitude, longitude, out);
    }

    // The transformation is built on the first call and kept; it holds no per-point state.
    if (!transform && !BuildTransform())
        return false;

    proj_errno_reset(transform);
    PJ_COORD point = proj_coord(longitude, latitude, 0, 0);   // heights are not converted
    PJ_COORD grid = proj_trans(transform, PJ_FWD, point);
    int code = proj_errno(transform);
    int32_t easting = 0;
    int32_t northing = 0;
    if (code == 0 && !(TruncateToInt32(grid.xy.x, easting) && TruncateToInt32(grid.xy.y, northing)))
        code = PROJ_ERR_COORD_TRANSFM_OUTSIDE_PROJECTION_DOMAIN;
    if (code != 0) {
        proj_errno_reset(transform);
        Report("Transform failed: " + std::string(proj_context_errno_string(context, code)));
        return false;
    }

    if (!InGridSquares(easting, northing)) {
        offGrid = true;
        return PositionFormatter::Format(latitude, longitude, out);
    }
    GridReference(easting, northing, 10);
    out = text;
    return true;
}

void OsgbConverter::GridReference(int32_t easting, int32_t northing, int digits)
{
    // C++ division truncates toward zero, so west or south of the false origin the
    // remainders are negative and print with a minus sign.
    int32_t col = easting / 100000;
    int32_t row = northing / 100000;

    char first;
    if (row < 5)
        first = col < 5 ? 'S' : 'T';
    else if (row < 10)
        first = col < 5 ? 'N' : 'O';
    else
        first = 'H';

    // 'A' top left to 'Z' bottom right of the 500 km square, five to a row, no 'I'.
    // Both remainders lie in -4..4, so the code stays within 61..110.
    int code = 'U' - 5 * (row % 5) + (col % 5);
    if (code >= 'I')
        ++code;
    char second = static_cast<char>(code);

    int perAxis = digits / 2;
    if (perAxis < 2 || perAxis > 5)
        perAxis = 4;
    int divisor = 1;
    for (int i = perAxis; i < 5; ++i)
        divisor *= 10;

    char buffer[64];   // two letters, two blanks and two int32 values at most
    std::snprintf(buffer, sizeof buffer, "%c%c %0*d %0*d", first, second,
                  perAxis, static_cast<int>((easting % 100000) / divisor),
                  perAxis, static_cast<int>((northing % 100000) / divisor));
    text = buffer;
}
