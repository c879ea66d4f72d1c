#include "coords/PositionFormatter.h"
// Placeholder until the formatter lands.
bool PositionFormatter::Format(double, double, std::string& out) { out.clear(); return false; }
