#include "common/ZoneRules.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

namespace {

// 28 Gregorian years hold 7 leap days, a whole number of weeks: between 1901 and 2099 a rule
// such as "last Sunday of March" falls on the same moments 28 years apart.
const int64_t kCycle = (28 * 365 + 7) * 86400LL;

int64_t BigEndian(const std::string& data, size_t at, size_t bytes)
{
    uint64_t value = 0;
    for (size_t i = 0; i < bytes; ++i)
        value = value << 8 | static_cast<unsigned char>(data[at + i]);
    if (bytes == 4)
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    return static_cast<int64_t>(value);
}

// The counts of a TZif header at `at`: isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt.
bool HeaderCounts(const std::string& data, size_t at, int64_t counts[6])
{
    if (data.size() < at + 44 || data.compare(at, 4, "TZif") != 0)
        return false;
    for (int i = 0; i < 6; ++i)
        counts[i] = BigEndian(data, at + 20 + 4 * static_cast<size_t>(i), 4);
    return std::all_of(counts, counts + 6, [](int64_t c) { return c >= 0 && c < (1 << 20); });
}

// A name the zone data could hold: letters, digits and "/_+-", no ".." nor a leading "/".
bool PlausibleName(const std::string& name)
{
    if (name.empty() || name.size() > 255 || name[0] == '/' || name.find("..") != std::string::npos)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '_'
            || c == '+' || c == '-';
    });
}

}  // namespace

std::optional<ZoneRules> ZoneRules::Load(const std::string& zoneName, std::string& reason)
{
    const char* dir = std::getenv("TZDIR");
    const std::string folder = dir && *dir ? dir : "/usr/share/zoneinfo";
    std::string data;
    struct stat info;
    if (PlausibleName(zoneName) && stat((folder + "/" + zoneName).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        std::ifstream in(folder + "/" + zoneName, std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    int64_t v1[6], v2[6];
    if (!HeaderCounts(data, 0, v1)) {
        reason = "no time zone is called \"" + zoneName + "\" in the system's zone data (" + folder
            + "); zones are named like Europe/London or America/New_York";
        return std::nullopt;
    }
    // The 64-bit data follows the 32-bit block (version 2 and later; every tzdata since 2006).
    const size_t v1Size = 44 + v1[3] * 5 + v1[4] * 6 + v1[5] + v1[2] * 8 + v1[1] + v1[0];
    const size_t body = v1Size + 44;
    if (data[4] < '2' || !HeaderCounts(data, v1Size, v2)) {
        reason = "the zone data of " + zoneName + " is damaged or too old";
        return std::nullopt;
    }
    const size_t timecnt = v2[3], typecnt = v2[4];
    const size_t types = body + timecnt * 8 + timecnt, end = types + typecnt * 6;
    if (typecnt == 0 || data.size() < end + v2[5] + v2[2] * 12 + v2[1] + v2[0]) {
        reason = "the zone data of " + zoneName + " is damaged";
        return std::nullopt;
    }
    ZoneRules rules;
    rules.name = zoneName;
    const auto typeOffset = [&](size_t type) { return static_cast<int32_t>(BigEndian(data, types + type * 6, 4)); };
    rules.offsets.push_back(typeOffset(0));
    for (size_t i = 0; i < timecnt; ++i) {
        const size_t type = static_cast<unsigned char>(data[body + timecnt * 8 + i]);
        if (type >= typecnt) {
            reason = "the zone data of " + zoneName + " is damaged";
            return std::nullopt;
        }
        rules.changes.push_back(BigEndian(data, body + i * 8, 8));
        rules.offsets.push_back(typeOffset(type));
    }
    // The footer's rule ("GMT0BST,M3.5.0/1,M10.5.0") has a "," when summer time goes on.
    const size_t footer = end + v2[5] + v2[2] * 12 + v2[1] + v2[0];
    rules.repeats = data.find(',', footer) != std::string::npos;
    return rules;
}

int32_t ZoneRules::OffsetAt(int64_t utcTime) const
{
    // Past the changes listed (to 2037 in Debian's files) the last 28 years repeat. A file
    // that lists only the changes of rules ("slim") ends earlier: its last offset serves.
    const int64_t year2030 = 1893456000;
    if (repeats && !changes.empty() && utcTime >= changes.back() && changes.back() > year2030) {
        const int64_t cycles = (utcTime - changes.back()) / kCycle + 1;
        if (cycles < 8)   // beyond 2099 the cycle no longer holds; the last offset serves
            utcTime -= cycles * kCycle;
    }
    const auto after = std::upper_bound(changes.begin(), changes.end(), utcTime);
    return offsets[static_cast<size_t>(after - changes.begin())];
}

int32_t ZoneRules::OffsetOfLocal(int64_t localTime) const
{
    // The offsets a day either side: a clock change lies between them when they differ.
    const int32_t before = OffsetAt(localTime - 86400), after = OffsetAt(localTime + 86400);
    if (OffsetAt(localTime - before) == before)
        return before;
    if (OffsetAt(localTime - after) == after)
        return after;
    return before;
}
