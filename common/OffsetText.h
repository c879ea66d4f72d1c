#pragma once
#include <cstdint>
#include <optional>
#include <string>

// A camera clock's offset (how far it runs ahead of GPS time), in seconds, as the user types it:
//   "+1:02:20"  hours:minutes:seconds
//   "-58:20"    minutes:seconds
//   "-58", "90" whole minutes, as the old minutes box took them
// A leading "+" or "-" (or the typographic minus, U+2212) signs the whole offset; blanks
// around the text are allowed; minutes and seconds after a colon are two digits, 00 to 59.
// Two parts are always minutes:seconds: "+1:00" is one minute, an hour is "+60" or "+1:00:00".
// At most 2147483647 minutes either way, so that the minutes always fit the setting.
// Nothing for any other text (empty, "1.5", "1:2", "1:60", "12h", "--5").
std::optional<int64_t> ParseOffset(const std::string& text);

// The text ParseOffset reads back as the same seconds: whole minutes as minutes ("+60",
// "-58", "0"), others as "-58:20" under an hour and "+1:02:20" from an hour up.
std::string OffsetText(int64_t seconds);

// An offset for a sentence: "+60 minutes", "-1 minute", "-58:20 (min:s)", "+1:02:20 (h:min:s)".
std::string OffsetWithUnits(int64_t seconds);

// An offset as the settings keep it: minutes rounded to the nearest minute, so that a reader
// that knows only the minutes gets the nearest whole minute, and the seconds left over,
// -30 .. 29. minutes * 60 + seconds is the offset.
struct OffsetParts {
    int64_t minutes = 0;
    int seconds = 0;
};
OffsetParts SplitOffset(int64_t seconds);

// The largest offset either way, in seconds: 2147483647 minutes.
inline constexpr int64_t kMaxOffsetSeconds = 2147483647LL * 60;
