#include "track/readers/Readers.h"

#include "common/Numbers.h"
#include "common/Timestamps.h"
#include "track/readers/ReaderSupport.h"

// IGC, the flight recorder format of gliders and paragliders: an HFDTE header line gives the
// UTC date of the flight, then each B record a fix's time of day, position and altitudes.
// Other records (tasks, events, security) are skipped.

namespace {

// The whole number in text[at, at + width), all digits, or -1.
long long Digits(const std::string& text, size_t at, size_t width)
{
    long long value = -1;
    if (text.size() < at + width || text[at] == '+' || text[at] == '-'
        || !ParseWholeNumber(text.substr(at, width), 0, 99999999, value))
        return -1;
    return value;
}

// An altitude field of five characters, "00123" or "-0012"; false for anything else.
bool Altitude(const std::string& text, size_t at, long long& metres)
{
    return text.size() >= at + 5 && text[at] != '+'
           && ParseWholeNumber(text.substr(at, 5), -9999, 99999, metres);
}

// Degrees of "DDMMmmm" + "N"/"S" (width 2) or "DDDMMmmm" + "E"/"W" (width 3): whole degrees,
// then minutes in thousandths.
bool Angle(const std::string& text, size_t at, size_t width, const char* hemispheres, double& degrees)
{
    const long long whole = Digits(text, at, width), thousandths = Digits(text, at + width, 5);
    const char hemisphere = text.size() > at + width + 5 ? text[at + width + 5] : '\0';
    if (whole < 0 || thousandths < 0 || thousandths >= 60000
        || (hemisphere != hemispheres[0] && hemisphere != hemispheres[1]))
        return false;
    degrees = (static_cast<double>(whole) + static_cast<double>(thousandths) / 60000)
              * (hemisphere == hemispheres[1] ? -1 : 1);
    return true;
}

// The start of the day of an HFDTE line, "HFDTE170623" or "HFDTEDATE:170623,01", in seconds
// since 1970 (UTC); -1 when the line holds no date. Two-digit years 80..99 are 1980..1999,
// 00..79 are 2000..2079.
int64_t DayStart(const std::string& line)
{
    const size_t at = line.compare(5, 5, "DATE:") == 0 ? 10 : 5;
    const long long date = Digits(line, at, 6);
    const char after = line.size() > at + 6 ? line[at + 6] : ',';
    if (date < 0 || (after != ',' && after != ' '))
        return -1;
    return DayOfDdMmYy(date);
}

// Turns a flight's records, a line at a time, into points of one segment.
class FlightReader {
public:
    FlightReader(Track& track, int segment) : track(track), segment(segment) {}

    LineFault Take(const std::string& line)
    {
        if (line.compare(0, 5, "HFDTE") == 0) {
            day = DayStart(line);
            previousSecond = -1;
            return day < 0 ? LineFault::At("unreadable date in the HFDTE header") : LineFault();
        }
        if (line.compare(0, 1, "B") == 0) {
            fixes = true;
            TakeFix(line);
        }
        return LineFault();
    }

    // Why no point came.
    std::string WhyEmpty() const
    {
        return !fixes    ? "no track points: no B record"
               : day < 0 ? "no track points: no HFDTE date before the B records"
                         : "no track points: no readable B record";
    }

private:
    // B HHMMSS DDMMmmmN DDDMMmmmE V PPPPP GGGGG, then extensions.
    void TakeFix(const std::string& line)
    {
        const long long clock = Digits(line, 1, 6);
        const int second = static_cast<int>(clock / 10000 * 3600 + clock / 100 % 100 * 60 + clock % 100);
        TrackPoint p;
        long long pressure = 0, gnss = 0;
        // A cut-off or garbled record (a recorder losing power leaves one) is skipped, as is
        // one at exactly 0 degrees north and east: a fix with "no GPS data".
        if (day < 0 || clock < 0 || clock / 10000 > 23 || clock / 100 % 100 > 59 || clock % 100 > 59
            || !Angle(line, 7, 2, "NS", p.lat) || !Angle(line, 15, 3, "EW", p.lon)
            || !Altitude(line, 25, pressure) || !Altitude(line, 30, gnss)
            || (line[24] != 'A' && line[24] != 'V') || !ValidPosition(p.lat, p.lon)
            || (p.lat == 0 && p.lon == 0))
            return;
        // The clock going back by more than half a day is midnight passing; a smaller step
        // back is a recorder's glitch, and stays on the same day.
        if (previousSecond >= 0 && second < previousSecond - 43200)
            day += 86400;
        previousSecond = second;
        p.time = day + second;
        p.segment = segment;
        // GNSS altitude, or pressure altitude from a recorder without it; both 0 means neither.
        // Validity V is a fix without a third dimension: its GNSS altitude is none.
        if (line[24] == 'V')
            gnss = 0;
        if (gnss != 0 || pressure != 0)
            p.eleText = ElevationText(static_cast<double>(gnss != 0 ? gnss : pressure));
        track.push_back(p);
    }

    Track& track;
    const int segment;
    int64_t day = -1;             // the start of the UTC day of the fixes read
    int64_t previousSecond = -1;  // the time of day of the last fix
    bool fixes = false;           // a B record came, with or without a date
};

class IgcReader : public TrackReader {
public:
    const char* Format() const override { return "IGC"; }

    // An A record (the recorder's maker) first, then an HFDTE line or a B record in the head.
    bool Recognises(const std::string& head) const override
    {
        if (head.empty() || head[0] != 'A')
            return false;
        for (size_t at = head.find('\n'); at != std::string::npos; at = head.find('\n', at + 1)) {
            if (head.compare(at + 1, 5, "HFDTE") == 0)
                return true;
            double degrees = 0;
            const std::string start = head.substr(at + 1, 25);
            if (start.size() == 25 && start[0] == 'B' && Digits(start, 1, 6) >= 0
                && Angle(start, 7, 2, "NS", degrees) && Angle(start, 15, 3, "EW", degrees))
                return true;
        }
        return false;
    }

    TrackRead Read(const std::string& path, Track& track) override
    {
        const size_t before = track.size();
        FlightReader flight(track, NextSegment(track));
        TrackRead result = ReadTrackLines(path, track, [&](const std::string& line, int64_t) {
            return flight.Take(line);
        });
        if (result.read && track.size() == before)
            result.emptyReason = flight.WhyEmpty();
        return result;
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeIgcReader()
{
    return std::make_unique<IgcReader>();
}
