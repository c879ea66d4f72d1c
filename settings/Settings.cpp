#include "settings/Settings.h"
// Placeholder until the settings store lands.
void Settings::Read() {}
void Settings::WriteString(const std::string&, const std::string&, const std::string&) {}
void Settings::WriteInt(const std::string&, const std::string&, int32_t) {}
