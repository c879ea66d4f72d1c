#include "help/VersionInfo.h"
// Placeholder until the version block lands.
VersionInfo::VersionInfo() = default;
VersionInfo::VersionInfo(Table t) : table(std::move(t)) {}
std::string VersionInfo::Query(const std::string& name) const { return "Failure getting " + name; }
