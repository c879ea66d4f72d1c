#pragma once
#include <map>
#include <string>

// Named values of the program's version block: FileVersion, SpecialBuild, LegalCopyright.
class VersionInfo {
public:
    using Table = std::map<std::string, std::string>;
    VersionInfo();                         // the program's own compiled-in block
    explicit VersionInfo(Table table);     // another block, for tests
    virtual ~VersionInfo() = default;

    // The value, or "Failure getting <name>" when the block has none.
    std::string Query(const std::string& name) const;

private:
    Table table;
};
