#include "help/ModulePath.h"
// Placeholder until module paths land.
bool ModuleFilePath(const std::string&, bool, std::string& path) { path.clear(); return false; }
void SetExecutablePathForTesting(const std::string&) {}
void ShowSystemError(const std::string&, int) {}
std::string SystemErrorText(int, size_t) { return {}; }
