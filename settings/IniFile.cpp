#include "settings/IniFile.h"
// Placeholder until the INI reader lands.
std::string IniReadString(const std::string&, const std::string&, const std::string&, const std::string& f) { return f; }
int IniReadInt(const std::string&, const std::string&, const std::string&, int f) { return f; }
bool IniWriteString(const std::string&, const std::string&, const std::string&, const std::string&) { return false; }
