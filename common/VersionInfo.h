#pragma once
#include <map>
#include <string>

// Named values of the program's version block: FileVersion, SpecialBuild, LegalCopyright.
class VersionInfo {
public:
    using Table = std::map<std::string, std::string>;
    VersionInfo();                         // the program's own compiled-in block
    explicit VersionInfo(Table table);     // another block, for tests

    // The value, or "Failure getting <name>" when the block has none. Names match
    // without regard to ASCII letter case.
    std::string Query(const std::string& name) const;

private:
    Table table;
};

// The program's version as users see it ("1.00.0.19": the minor number has two digits),
// made from the build's one version number. The block's FileVersion has the same text.
std::string ProgramVersion();
