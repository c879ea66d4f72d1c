#include "common/VersionInfo.h"

#include <utility>

namespace {

// Linux executables carry no version resource: the block is compiled in.
VersionInfo::Table OwnBlock()
{
    return {
        {"FileVersion", "1.00.0.19"},
        {"SpecialBuild", ""},
        {"LegalCopyright",
         "Copyright (C) 2026 The Pinroute developers"},
    };
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

VersionInfo::VersionInfo() : table(OwnBlock()) {}

VersionInfo::VersionInfo(Table table) : table(std::move(table)) {}

std::string VersionInfo::Query(const std::string& name) const
{
    for (const auto& [key, value] : table) {
        if (SameNameIgnoringCase(key, name))
            return value;
    }
    return "Failure getting " + name;
}
