#include "coords/OsgbConverter.h"
// Placeholder until the converter lands.
OsgbConverter::OsgbConverter() = default;
OsgbConverter::~OsgbConverter() = default;
bool OsgbConverter::Format(double, double, std::string& out) { out.clear(); return false; }
void OsgbConverter::GridReference(int32_t, int32_t, int) {}
