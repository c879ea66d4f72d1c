#include "track/TrackPoint.h"

#include <cmath>

#include "common/Numbers.h"

bool GpxElevation(const std::string& text, double& metres) {
    double number = 0;
    if (!LeadingNumber(text, number) || std::fabs(number) > kMaxElevationMetres)
        return false;
    metres = number;
    return true;
}
