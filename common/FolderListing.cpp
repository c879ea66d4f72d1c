#include "common/FolderListing.h"

#include <algorithm>

#include <dirent.h>

#include "common/AsciiText.h"

namespace {

// Names ignoring letter case; names that differ only in case keep a fixed order.
bool NameLess(const std::string& a, const std::string& b)
{
    const int c = CompareIgnoringAsciiCase(a, b);
    return c != 0 ? c < 0 : a < b;
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name)
{
    // Greedy matching with one back-track point: the latest '*' and where it resumed.
    size_t p = 0, n = 0, star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size()
                   && (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> MatchingNames(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            if (WildcardMatch(pattern, name))
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end(), NameLess);
    return names;
}
