#include "exif/ListingLines.h"

#include "common/TextLines.h"

std::string ListingPrefix(const std::string& argument)
{
    std::string prefix = argument;
    if (prefix.size() < 20)
        prefix.append(20 - prefix.size(), ' ');
    return prefix + "  ";
}

std::vector<ListedLine> SplitListing(const std::string& output, const std::vector<std::string>& arguments)
{
    std::vector<std::string> prefixes;
    for (const auto& argument : arguments)
        prefixes.push_back(ListingPrefix(argument));
    std::vector<ListedLine> lines;
    size_t current = 0;
    for (const auto& line : Lines(output)) {
        size_t k = current;
        while (k < prefixes.size() && line.compare(0, prefixes[k].size(), prefixes[k]) != 0)
            ++k;
        if (k == prefixes.size()) {
            lines.push_back({current, line, true});
            continue;
        }
        current = k;
        lines.push_back({k, line.substr(prefixes[k].size()), false});
    }
    return lines;
}
