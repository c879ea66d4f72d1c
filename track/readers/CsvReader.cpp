#include "track/readers/Readers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/Timestamps.h"
#include "track/readers/ReaderSupport.h"

// CSV as GPS loggers and phone apps write it: a header row naming the columns, then a row per
// point. The columns are found by name, in any order; the separator (comma, semicolon or tab)
// is the one that makes the header name them.

namespace {

// The names taken for each column, most specific first; a header's names are compared in
// lower case, with any unit "(m)" or "[m]" taken off and blanks, '-' and '.' read as '_'.
const char* const kTimeNames[] = {"time",     "datetime", "date_time",    "timestamp",     "utc",
                                  "time_utc", "utc_time", "datetime_utc", "timestamp_utc", "unix_time",
                                  "unixtime", "epoch",    "timestamp_ms"};
const char* const kDateNames[] = {"date", "utc_date", "date_utc"};
const char* const kLatNames[] = {"lat", "latitude", "latitude_n/s"};
const char* const kLonNames[] = {"lon", "lng", "long", "longitude", "longitude_e/w"};
const char* const kEleNames[] = {"ele", "elevation", "alt", "altitude", "height"};

// The last time taken, 9999-12-31 23:59:59, as seconds since 1970.
constexpr int64_t kLastSecond = 253402300799;
// GPS time began on 1980-01-06: a smaller count is no moment a receiver logged but time
// since a log's start, as drone and action camera logs count it. RowTime's result for one.
constexpr int64_t kFirstGpsSecond = 315964800;
constexpr int64_t kFromStart = -2;
const char kFromStartReason[] = "the time column counts seconds from the log's start, not dates";

constexpr size_t kNone = std::string::npos;

struct Columns {
    char separator = 0;
    size_t time = kNone, date = kNone, lat = kNone, lon = kNone, ele = kNone;  // field numbers
    double eleScale = 1;                                                       // metres per unit of ele
    size_t needed = 0;                                                         // fields every row must have
};

// The fields of a line: a quoted field may hold the separator, and "" for a quote. Blanks
// around fields are dropped (and NULs, which some loggers pad fields with). False when a
// quote is left open.
bool SplitFields(const std::string& line, char separator, std::vector<std::string>& fields)
{
    fields.assign(1, std::string());
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == separator && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    for (std::string& field : fields) {
        const size_t first = field.find_first_not_of(std::string(" \t\0", 3));
        field = first == std::string::npos
                    ? ""
                    : field.substr(first, field.find_last_not_of(std::string(" \t\0", 3)) + 1 - first);
    }
    return !quoted;
}

template <size_t N> size_t Find(const std::vector<std::string>& names, const char* const (&wanted)[N])
{
    for (const char* name : wanted)
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                return i;
    return kNone;
}

// The columns a header line names, when it names a time, a latitude and a longitude.
bool ReadHeader(std::string line, Columns& columns)
{
    if (line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);
    for (const char separator : {',', ';', '\t'}) {
        std::vector<std::string> names, units;
        SplitFields(line, separator, names);
        for (std::string& name : names) {
            for (char& c : name)
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            std::string unit;
            const size_t open = name.find_first_of("([");
            if (open != std::string::npos) {
                unit = name.substr(open + 1, name.find_first_of(")]", open) - open - 1);
                name.erase(open);
                name.erase(name.find_last_not_of(' ') + 1);  // npos + 1 is 0: all blanks go
            }
            units.push_back(unit);
            std::replace_if(
                name.begin(), name.end(), [](char c) { return c == ' ' || c == '-' || c == '.'; }, '_');
        }
        Columns c;
        c.separator = separator;
        c.time = Find(names, kTimeNames);
        c.date = Find(names, kDateNames);
        c.lat = Find(names, kLatNames);
        c.lon = Find(names, kLonNames);
        c.ele = Find(names, kEleNames);
        if (c.time == kNone || c.lat == kNone || c.lon == kNone)
            continue;
        const std::string unit = c.ele == kNone ? "" : units[c.ele];
        if (unit == "ft" || unit == "feet")
            c.eleScale = 0.3048;
        else if (!unit.empty() && unit != "m" && unit.compare(0, 4, "metr") != 0
                 && unit.compare(0, 4, "mete") != 0)
            c.ele = kNone;  // a unit we can't convert: better no elevation than a wrong one
        c.needed = std::max({c.time, c.lat, c.lon, c.date == kNone ? 0 : c.date}) + 1;
        columns = c;
        return true;
    }
    return false;
}

// A decimal number and nothing else: "51.5", "-0.12", "+3", "1e3"; a decimal comma is read
// where the separator is not one. A trailing hemisphere letter (the second of hemispheres
// negative), "51.5N", is taken where hemispheres are given.
bool Number(std::string text, char separator, const char* hemispheres, double& value)
{
    double sign = 1;
    if (hemispheres && !text.empty() && (text.back() == hemispheres[0] || text.back() == hemispheres[1])) {
        sign = text.back() == hemispheres[1] ? -1 : 1;
        text.pop_back();
    }
    if (separator != ',' && text.find(',') != std::string::npos && text.find('.') == std::string::npos)
        text[text.find(',')] = '.';
    const size_t start = text.compare(0, 1, "+") == 0 ? 1 : 0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (text.size() == start || result.ec != std::errc() || result.ptr != text.data() + text.size()
        || !std::isfinite(value))
        return false;
    value *= sign;
    return true;
}

// A row's time: Unix seconds or milliseconds (a count of 1e11 and over is milliseconds: in
// seconds it would be past the year 5000), or a date and time as ISO 8601 has it or with a
// blank, "2023-06-17 08:04:00". A time without a zone is UTC: loggers write UTC, and a local
// time could not be told from it. With a date column, a clock "08:04:00" or "080400" is taken
// with the row's date, which may be "230617" (yymmdd, in 2000..2099, as Columbus loggers write
// it). -1 when the text is no time, kFromStart for a count before GPS time began.
int64_t RowTime(const std::string& text, const std::string* date, int& millis)
{
    millis = 0;
    const size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
    const char after = digits < text.size() ? text[digits] : '\0';
    const bool clock = date
                       && ((digits == 6 && (after == '\0' || after == '.'))
                           || ((digits == 1 || digits == 2) && after == ':'));
    if (!clock && digits != 0 && (after == '\0' || after == '.')) {
        const std::string fraction = after == '\0' ? "" : text.substr(digits + 1);
        if (digits > 15 || fraction.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        int64_t count = std::strtoll(text.substr(0, digits).c_str(), nullptr, 10);
        if (count >= 100000000000) {
            millis = static_cast<int>(count % 1000);
            count /= 1000;
        } else {
            for (size_t i = 0, scale = 100; i < fraction.size() && scale > 0; ++i, scale /= 10)
                millis += (fraction[i] - '0') * static_cast<int>(scale);
        }
        return count < kFirstGpsSecond ? kFromStart : count <= kLastSecond ? count : -1;
    }
    if (!clock)
        return ParseGpxTime(text, &millis);
    std::string day = *date;
    if (day.size() == 6 && day.find_first_not_of("0123456789") == std::string::npos)
        day = "20" + day.substr(0, 2) + "-" + day.substr(2, 2) + "-" + day.substr(4);
    const std::string time =
        digits == 6 ? text.substr(0, 2) + ":" + text.substr(2, 2) + ":" + text.substr(4) : text;
    return ParseGpxTime(day + "T" + time, &millis);
}

class CsvReader : public TrackReader {
public:
    const char* Format() const override { return "CSV"; }

    bool Recognises(const std::string& head) const override
    {
        std::string first = head.substr(0, head.find('\n'));
        if (!first.empty() && first.back() == '\r')
            first.pop_back();
        Columns columns;
        return ReadHeader(first, columns);
    }

    TrackRead Read(const std::string& path, Track& track) override
    {
        const int segment = NextSegment(track);
        const size_t before = track.size();
        Columns c;
        std::vector<std::string> f;
        TrackRead result = ReadTrackLines(path, track, [&](const std::string& line, int64_t number) {
            if (number == 1)
                return ReadHeader(line, c) ? LineFault()
                                           : LineFault::At("no header naming a time, a latitude and a longitude column");
            if (line.find_first_not_of(" \t") == std::string::npos)
                return LineFault();
            return RowPoint(line, c, f, segment, track);
        });
        if (result.read && track.size() == before)
            result.emptyReason = c.separator == 0 ? "no track points: the file is empty"
                                                  : "no track points: no row with a position";
        return result;
    }

private:
    // Appends the point of a row; no fault when it did, or when the row has no position (a
    // logger without a fix leaves latitude and longitude empty).
    static LineFault RowPoint(const std::string& line, const Columns& c, std::vector<std::string>& f,
                                int segment, Track& track)
    {
        if (!SplitFields(line, c.separator, f))
            return LineFault::At("a quote is not closed");
        if (f.size() < c.needed)
            return LineFault::At("too few fields");
        const std::string &lat = f[c.lat], &lon = f[c.lon], &time = f[c.time];
        if (lat.empty() && lon.empty())
            return LineFault();
        TrackPoint p;
        if (!Number(lat, c.separator, "NS", p.lat))
            return LineFault::At("no latitude");
        if (!Number(lon, c.separator, "EW", p.lon))
            return LineFault::At("no longitude");
        if (!ValidPosition(p.lat, p.lon))
            return LineFault::At("position out of range");
        if (time.empty())
            return LineFault::At("no time");
        p.time = RowTime(time, c.date == kNone ? nullptr : &f[c.date], p.millis);
        if (p.time == kFromStart)   // the whole column's fault, not the row's
            return LineFault::OfFile(kFromStartReason);
        if (p.time < 0)
            return LineFault::At("unreadable time");
        // An elevation that is empty or no number ("-", "NaN") is none, as in GPX.
        double metres = 0;
        if (c.ele < f.size() && Number(f[c.ele], c.separator, nullptr, metres))
            p.eleText = ElevationText(metres * c.eleScale);
        p.segment = segment;
        track.push_back(p);
        return LineFault();
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeCsvReader()
{
    return std::make_unique<CsvReader>();
}
