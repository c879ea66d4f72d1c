#include "common/Timestamps.h"

#include <cstdint>
#include <limits>

namespace {

// Reads the fields of a date or time text one after another; every failure, including
// the end of the text, makes the whole conversion fail.
class FieldReader {
public:
    explicit FieldReader(const char* text) : p(text) {}

    // A whole number: skips white space, takes an optional sign and at most width
    // characters, the sign included ("+5" fills a width of 2). Needs at least one digit.
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

    // A separator: any one character, never compared.
    bool Separator() {
        if (*p == '\0')
            return false;
        ++p;
        return true;
    }

    // The next character without consuming it; '\0' at the end of the text.
    char Peek() const { return *p; }
    // The character after the next one; only valid when Peek() is not '\0'.
    char PeekSecond() const { return p[1]; }
    void Skip() { ++p; }
    void SkipDigits() {
        while (IsDigit(*p))
            ++p;
    }
    // True when only white space is left.
    bool AtEnd() const {
        const char* q = p;
        while (IsSpace(*q))
            ++q;
        return *q == '\0';
    }

    static bool IsSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

private:

    const char* p;
};

struct Fields {
    int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Reads year (up to 4 digits), separator, month (2), separator, day (2).
bool ReadDate(FieldReader& in, Fields& f) {
    return in.Number(4, f.year) && in.Separator() && in.Number(2, f.month) && in.Separator() &&
           in.Number(2, f.day);
}

// Reads hour (up to 2 digits), separator, minute (2), separator, second (2).
bool ReadClock(FieldReader& in, Fields& f) {
    return in.Number(2, f.hour) && in.Separator() && in.Number(2, f.minute) && in.Separator() &&
           in.Number(2, f.second);
}

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar; month 1..12.
int64_t DaysFromEpoch(int64_t year, int64_t month, int64_t day) {
    // Counts from March, so the leap day ends the year; eras of 400 years repeat exactly.
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;                                // 0..399
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Seconds since 1970-01-01 00:00:00 with the fields read as UTC. Fields out of their
// range carry over as a calendar does: month 13 is January of the next year, day 0 the
// last day of the previous month, second 60 the next minute.
int64_t FieldsAsUtc(const Fields& f) {
    // The readers take at most four digits per field, so nothing here can overflow.
    const int64_t monthIndex = f.month - 1;
    const int64_t yearCarry = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    const int64_t month = monthIndex - yearCarry * 12 + 1;   // 1..12
    const int64_t days = DaysFromEpoch(f.year + yearCarry, month, 1) + f.day - 1;
    return days * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
}

// Reads a zone offset after its sign: "hh:mm" (any one character between), "hhmm" or
// "hh". Seconds east of UTC, before the sign is applied.
bool ReadZone(FieldReader& in, int64_t& seconds) {
    int64_t hours = 0, minutes = 0;
    if (!in.Number(2, hours))
        return false;
    if (in.AtEnd())
        minutes = 0;
    else if (FieldReader::IsDigit(in.Peek()))
        in.Number(2, minutes);
    else if (!in.Separator() || !in.Number(2, minutes))
        return false;
    seconds = hours * 3600 + minutes * 60;
    return true;
}

// Keeps a count only inside 1970-01-01 00:00:00 .. 9999-12-31 23:59:59 UTC.
int64_t InSpan(int64_t seconds) {
    const int64_t last = 253402300799;   // 9999-12-31 23:59:59
    if (seconds < 0 || seconds > last)
        return -1;
    return seconds;
}

}  // namespace

int64_t ParseGpxTime(const char* text, int* millis) {
    FieldReader in(text);
    if (in.Peek() == '-')
        in.Skip();

    Fields f;
    if (!ReadDate(in, f) || !in.Separator() || !ReadClock(in, f))
        return -1;

    // Fractional seconds are kept apart, in whole milliseconds (not rounded); a zone offset
    // may follow them.
    char mark = in.Peek();
    int fraction = 0;
    if (mark == '.') {
        in.Skip();
        for (int scale = 100; scale > 0 && in.Peek() >= '0' && in.Peek() <= '9'; scale /= 10) {
            fraction += (in.Peek() - '0') * scale;
            in.Skip();
        }
        in.SkipDigits();
        mark = in.Peek();
    }
    // One blank may stand before the offset: "10:15:30 +01:00".
    if (mark == ' ' && (in.PeekSecond() == '+' || in.PeekSecond() == '-')) {
        in.Skip();
        mark = in.Peek();
    }

    int64_t offset = 0;  // seconds east of UTC
    if (mark == '+' || mark == '-') {
        in.Skip();
        if (!ReadZone(in, offset))
            return -1;
        if (mark == '-')
            offset = -offset;
    }
    // Any other mark ("Z", the end of the text, anything else) leaves the clock as read.

    const int64_t seconds = InSpan(FieldsAsUtc(f) - offset);
    if (millis)
        *millis = seconds == -1 ? 0 : fraction;
    return seconds;
}

int64_t ParseGpxTime(const std::string& text, int* millis) {
    return ParseGpxTime(text.c_str(), millis);
}

int64_t ParseExifDateTime(const std::string& dateText, const std::string& timeText) {
    Fields f;
    FieldReader date(dateText.c_str());
    FieldReader clock(timeText.c_str());
    if (!ReadDate(date, f) || !ReadClock(clock, f))
        return -1;
    return InSpan(FieldsAsUtc(f));
}
