#pragma once
#include <string>

#include "photos/PhotoRows.h"

// A row's position for its tooltip, one form a line: "54.457010 -3.023355", then the OSGB
// grid reference where the grid applies ("NY 33641 07142"), elsewhere kOffGridNote ("outside
// the British grid: shown as latitude/longitude"). A written position is headed "Position
// written:", a read one "Position:".
Text PositionTipText(const RowPosition& position);
inline std::string PositionTip(const RowPosition& position) { return PositionTipText(position).English(); }
