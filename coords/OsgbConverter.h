#pragma once
#include <cstdint>
#include "coords/PositionFormatter.h"

struct pj_ctx;
struct PJconsts;

// OSGB36 national-grid references of WGS84 positions: TQ 38034 80412.
class OsgbConverter : public PositionFormatter {
public:
    OsgbConverter();
    ~OsgbConverter() override;
    OsgbConverter(const OsgbConverter&) = delete;
    OsgbConverter& operator=(const OsgbConverter&) = delete;

    // On failure puts the reason in error ("Transform failed: ..."), empties out and
    // returns false. Nothing is printed: the callers show the reason.
    bool Format(double latitude, double longitude, std::string& out) override;

    // Two letters and digits/2 digits per axis (4 when digits/2 is outside 2..5), into text.
    void GridReference(int32_t easting, int32_t northing, int digits);

private:
    pj_ctx* context = nullptr;
    PJconsts* transform = nullptr;
};
