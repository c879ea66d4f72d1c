#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The rules of one IANA time zone ("Europe/London"), read once from the system's zone data
// (TZif files under $TZDIR or /usr/share/zoneinfo, the tzdata package) and then asked from
// any thread: nothing here touches the process's TZ.
class ZoneRules {
public:
    // The zone of that name; nothing, with the reason, for a name the zone data doesn't hold
    // or a file that isn't zone data.
    static std::optional<ZoneRules> Load(const std::string& name, std::string& reason);

    // Seconds east of UTC at utcTime (a time count), summer time included.
    int32_t OffsetAt(int64_t utcTime) const;

    // Seconds east of UTC of a clock in this zone that shows localTime (its fields read as
    // UTC, as capture times are). In the hour a clock change repeats the earlier reading
    // wins; in the hour it skips, the offset from before the change.
    int32_t OffsetOfLocal(int64_t localTime) const;

    const std::string& Name() const { return name; }

private:
    std::string name;
    std::vector<int64_t> changes;   // the moments (UTC time counts) the offset changes, ascending
    std::vector<int32_t> offsets;   // before the first change, then after each: one more than changes
    bool repeats = false;           // summer time goes on past the last change listed
};
