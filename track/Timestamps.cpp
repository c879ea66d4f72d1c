#include "track/Timestamps.h"

#include <cstdint>
#include <ctime>
#include <limits>

namespace {

static_assert(sizeof(time_t) >= 8, "timegm must reach beyond 2038 so the span can be checked");

// Reads text the way scanf's conversions do; every failure, including the end of
// the text, makes the whole conversion fail.
class FieldReader {
public:
    explicit FieldReader(const char* text) : p(text) {}

    // "%Nd": skips white space, takes an optional sign and at most width characters
    // (the sign counts towards the width, as in scanf). Needs at least one digit.
    bool Number(int width, int64_t& value) {
        while (IsSpace(*p))
            ++p;
        bool negative = false;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
            --width;
        }
        if (width <= 0 || !IsDigit(*p))
            return false;
        int64_t n = 0;
        for (; width > 0 && IsDigit(*p); --width)
            n = n * 10 + (*p++ - '0');
        value = negative ? -n : n;
        return true;
    }

    // "%c": any one character, never compared.
    bool Separator() {
        if (*p == '\0')
            return false;
        ++p;
        return true;
    }

    // The next character without consuming it; '\0' at the end of the text.
    char Peek() const { return *p; }
    void Skip() { ++p; }
    void SkipDigits() {
        while (IsDigit(*p))
            ++p;
    }

private:
    static bool IsSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    const char* p;
};

struct Fields {
    int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Reads "%4d%c%2d%c%2d" into the date fields.
bool ReadDate(FieldReader& in, Fields& f) {
    return in.Number(4, f.year) && in.Separator() && in.Number(2, f.month) && in.Separator() &&
           in.Number(2, f.day);
}

// Reads "%2d%c%2d%c%2d" into the time-of-day fields.
bool ReadClock(FieldReader& in, Fields& f) {
    return in.Number(2, f.hour) && in.Separator() && in.Number(2, f.minute) && in.Separator() &&
           in.Number(2, f.second);
}

// Seconds since 1970-01-01 00:00:00 with the fields read as UTC; out-of-range fields
// are normalised as timegm does (month 13 is January of the next year, day 0 the
// last day of the previous month).
int64_t FieldsAsUtc(const Fields& f) {
    // The readers take at most four digits per field, so every value fits an int.
    std::tm tm{};
    tm.tm_year = static_cast<int>(f.year - 1900);
    tm.tm_mon = static_cast<int>(f.month - 1);
    tm.tm_mday = static_cast<int>(f.day);
    tm.tm_hour = static_cast<int>(f.hour);
    tm.tm_min = static_cast<int>(f.minute);
    tm.tm_sec = static_cast<int>(f.second);
    tm.tm_isdst = 0;
    return static_cast<int64_t>(timegm(&tm));
}

// Keeps a count only inside 1970-01-01 00:00:00 .. 2038-01-19 03:14:07 UTC.
int32_t InSpan(int64_t seconds) {
    if (seconds < 0 || seconds > std::numeric_limits<int32_t>::max())
        return -1;
    return static_cast<int32_t>(seconds);
}

}  // namespace

int32_t ParseGpxTime(const std::string& text) {
    FieldReader in(text.c_str());
    if (in.Peek() == '-')
        in.Skip();

    Fields f;
    if (!ReadDate(in, f) || !in.Separator() || !ReadClock(in, f))
        return -1;

    // Fractional seconds are dropped, not rounded; a zone offset may follow them.
    char mark = in.Peek();
    if (mark == '.') {
        in.Skip();
        in.SkipDigits();
        mark = in.Peek();
    }

    int64_t offset = 0;  // seconds east of UTC
    if (mark == '+' || mark == '-') {
        in.Skip();
        int64_t zoneHours = 0, zoneMinutes = 0;
        if (!in.Number(2, zoneHours) || !in.Separator() || !in.Number(2, zoneMinutes))
            return -1;
        offset = zoneHours * 3600 + zoneMinutes * 60;
        if (mark == '-')
            offset = -offset;
    }
    // Any other mark ("Z", the end of the text, anything else) leaves the clock as read.

    return InSpan(FieldsAsUtc(f) - offset);
}

int32_t ParseExifDateTime(const std::string& dateText, const std::string& timeText) {
    Fields f;
    FieldReader date(dateText.c_str());
    FieldReader clock(timeText.c_str());
    if (!ReadDate(date, f) || !ReadClock(clock, f))
        return -1;
    return InSpan(FieldsAsUtc(f));
}
