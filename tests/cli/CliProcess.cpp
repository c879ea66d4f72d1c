#include "cli/CliProcess.h"

#include <filesystem>

std::string CopyCliInto(const std::string& folder)
{
    const std::string copy = folder + "/pinroute-cli";
    std::filesystem::copy_file(PINROUTE_CLI_PATH, copy,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
    return copy;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}
