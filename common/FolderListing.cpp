#include "common/FolderListing.h"

#include <algorithm>
#include <strings.h>

#include <dirent.h>
#include <fnmatch.h>

namespace {

// Names ignoring letter case; names that differ only in case keep a fixed order.
bool NameLess(const std::string& a, const std::string& b)
{
    const int c = strcasecmp(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
}

// fnmatch's brackets and backslash are escaped so that they match themselves ("walk [2].gpx").
std::string OnlyStarAndQuestion(const std::string& pattern)
{
    std::string escaped;
    for (char c : pattern) {
        if (c == '[' || c == ']' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

std::vector<std::string> MatchingNames(const std::string& folder, const std::string& pattern)
{
    const std::string wildcards = OnlyStarAndQuestion(pattern);
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            if (fnmatch(wildcards.c_str(), name.c_str(), FNM_CASEFOLD) == 0)
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end(), NameLess);
    return names;
}
