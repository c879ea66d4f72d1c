#pragma once
#include <cstdint>
#include "coords/PositionFormatter.h"

struct pj_ctx;
struct PJconsts;

// True where the British National Grid is defined: inside the area of use that PROJ's
// database gives for EPSG:27700 (read once), in WGS84 degrees.
bool OnBritishGrid(double latitude, double longitude);

// The tooltip's word for a position that a grid setting shows as latitude/longitude.
extern const char kOffGridNote[];

// OSGB36 national-grid references of WGS84 positions: TQ 38034 80412. Outside the grid's
// area, and where the figures leave its squares, the latitude/longitude text instead
// (offGrid is then true): a reference there names no place.
class OsgbConverter : public PositionFormatter {
public:
    OsgbConverter();
    ~OsgbConverter() override;
    OsgbConverter(const OsgbConverter&) = delete;
    OsgbConverter& operator=(const OsgbConverter&) = delete;

    // On failure puts the reason in error ("Transform failed: ..."), empties out and
    // returns false; a latitude or longitude that is no position at all fails so. Nothing
    // is printed: the callers show the reason.
    bool Format(double latitude, double longitude, std::string& out) override;

    // Two letters and digits/2 digits per axis (4 when digits/2 is outside 2..5), into text.
    void GridReference(int32_t easting, int32_t northing, int digits);

private:
    // Builds the WGS84 to OSGB transformation; false with error set.
    bool BuildTransform();

    pj_ctx* context = nullptr;
    PJconsts* transform = nullptr;
};
