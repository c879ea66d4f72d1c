#include "common/VersionInfo.h"

#include <utility>

#include "common/AsciiText.h"

// The build passes the version from its project definition (CMakeLists.txt).
#ifndef PINROUTE_DISPLAY_VERSION
#error "PINROUTE_DISPLAY_VERSION must come from the build"
#endif

namespace {

// Linux executables carry no version resource: the block is compiled in.
VersionInfo::Table OwnBlock()
{
    return {
        {"FileVersion", ProgramVersion()},
        {"SpecialBuild", ""},
        {"LegalCopyright",
         "Copyright (C) 2026 The Pinroute developers"},
    };
}

}  // namespace

std::string ProgramVersion()
{
    return PINROUTE_DISPLAY_VERSION;
}

VersionInfo::VersionInfo() : table(OwnBlock()) {}

VersionInfo::VersionInfo(Table table) : table(std::move(table)) {}

std::string VersionInfo::Query(const std::string& name) const
{
    for (const auto& [key, value] : table) {
        if (EqualsIgnoringAsciiCase(key, name))
            return value;
    }
    return "Failure getting " + name;
}
