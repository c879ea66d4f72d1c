#include "track/readers/Readers.h"

#include <vector>

#include "common/Numbers.h"
#include "common/Timestamps.h"
#include "track/readers/ReaderSupport.h"

// NMEA 0183 as GPS receivers log it: RMC sentences give the date, time and position of a
// fix, GGA sentences of the same time its altitude. Everything else, and every sentence that
// is damaged or has no fix, is noise a serial log is expected to hold, and is skipped.

namespace {

std::vector<std::string> SplitFields(const std::string& text)
{
    std::vector<std::string> fields(1);
    for (const char c : text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    return IsDigit(c)             ? c - '0'
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : -1;
}

// A plain unsigned decimal, "5130.1234": digits, an optional point and digits, nothing else.
bool PlainNumber(const std::string& text, double& value)
{
    size_t digits = 0, points = 0;
    for (const char c : text) {
        digits += IsDigit(c);
        points += c == '.';
    }
    return digits > 0 && digits + points == text.size() && points <= 1 && LeadingNumber(text, value);
}

// The digits of a time of day "hhmmss" or "hhmmss.sss" as milliseconds since midnight
// (the fraction truncated to milliseconds); -1 when it is no such time.
int64_t MillisOfDay(const std::string& text)
{
    if (text.size() < 6 || (text.size() > 6 && text[6] != '.'))
        return -1;
    for (size_t i = 0; i < text.size(); ++i)
        if (i != 6 && !IsDigit(text[i]))
            return -1;
    const int hour = (text[0] - '0') * 10 + text[1] - '0';
    const int minute = (text[2] - '0') * 10 + text[3] - '0';
    const int second = (text[4] - '0') * 10 + text[5] - '0';
    if (hour > 23 || minute > 59 || second > 60)  // 60: a leap second, counted as the next one
        return -1;
    int millis = 0;
    for (size_t i = 7, scale = 100; i < text.size() && scale > 0; ++i, scale /= 10)
        millis += (text[i] - '0') * static_cast<int>(scale);
    return ((hour * 60 + minute) * 60 + second) * int64_t{1000} + millis;
}

// "ddmm.mmmm" with "N"/"S" (or "dddmm.mmmm" with "E"/"W") as signed degrees.
bool Angle(const std::string& text, const std::string& hemisphere, char positive, char negative,
           double& degrees)
{
    double value = 0;
    if (!PlainNumber(text, value) || hemisphere.size() != 1
        || (hemisphere[0] != positive && hemisphere[0] != negative))
        return false;
    if (value >= 1e6)
        return false;
    const double whole = static_cast<double>(static_cast<int>(value / 100));
    const double minutes = value - whole * 100;
    if (minutes >= 60)
        return false;
    degrees = (whole + minutes / 60) * (hemisphere[0] == negative ? -1 : 1);
    return true;
}

// The start of the day "ddmmyy" in seconds since 1970; two-digit years 80..99 are 1980..1999,
// 00..79 are 2000..2079 (GPS dates start in 1980). -1 when the text is no date.
int64_t DayStart(const std::string& text)
{
    long long number = 0;
    if (text.size() != 6 || !IsDigit(text[0]) || !ParseWholeNumber(text, 0, 999999, number))
        return -1;
    return DayOfDdMmYy(number);
}

// The text between "$" and "*" of a line's sentence, when its checksum (the exclusive or of
// those characters, two hex digits) is right. The last "$" counts, as a receiver's noise can
// leave the start of a sentence in front of the next. A sentence without a checksum is
// taken, as some receivers write none, unless an earlier one had it.
bool Sentence(const std::string& line, bool& checksums, std::string& body)
{
    const size_t start = line.rfind('$');
    if (start == std::string::npos)
        return false;
    size_t end = line.find('*', start);
    if (end == std::string::npos) {
        end = line.find_last_not_of(" \t") + 1;
        body.assign(line, start + 1, end - start - 1);
        return !checksums;
    }
    if (end + 2 >= line.size() || line.find_first_not_of(" \t", end + 3) != std::string::npos)
        return false;
    int sum = 0;
    for (size_t i = start + 1; i < end; ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    const int high = HexValue(line[end + 1]), low = HexValue(line[end + 2]);
    if (high < 0 || low < 0 || high * 16 + low != sum)
        return false;
    checksums = true;
    body.assign(line, start + 1, end - start - 1);
    return true;
}

// Turns a log's sentences, a line at a time, into points of one segment.
class SentenceReader {
public:
    SentenceReader(Track& track, int segment) : track(track), before(track.size()), segment(segment) {}

    void Take(const std::string& line)
    {
        std::string body;
        if (!Sentence(line, checksums, body))
            return;
        const std::vector<std::string> f = SplitFields(body);
        const std::string type = f[0].size() == 5 ? f[0].substr(2) : std::string();
        if (type == "GGA" && f.size() > 9)
            TakeGga(f);
        else if (type == "RMC" && f.size() > 9 && f[2] != "A")
            voidFixes = voidFixes || f[2] == "V";
        else if (type == "RMC" && f.size() > 9)
            TakeRmc(f);
    }

    // Why no point came. GPSBabel marks every fix void when the points it converts carry no
    // fix type.
    std::string WhyEmpty() const
    {
        return voidFixes ? "no track points: every RMC sentence says no fix (status V), as "
                           "`gpsbabel -o nmea` writes points without a fix type: convert to GPX instead"
                         : "no track points: no RMC sentence with a fix";
    }

private:
    // The altitude of a fix, for the RMC of its time before or after it.
    void TakeGga(const std::vector<std::string>& f)
    {
        const int64_t millis = MillisOfDay(f[1]);
        long long quality = 0;
        double metres = 0;
        const bool below = f[9].compare(0, 1, "-") == 0;
        if (millis < 0 || !ParseWholeNumber(f[6], 1, 9, quality) || !PlainNumber(f[9].substr(below), metres))
            return;
        const std::string elevation = ElevationText(below ? -metres : metres);
        if (track.size() > before && pointMillis == millis) {
            track.back().eleText = elevation;
        } else {
            ggaMillis = millis;
            ggaElevation = elevation;
        }
    }

    // A fix's date, time and position.
    void TakeRmc(const std::vector<std::string>& f)
    {
        TrackPoint p;
        const int64_t millis = MillisOfDay(f[1]), day = DayStart(f[9]);
        if (millis < 0 || day < 0 || !Angle(f[3], f[4], 'N', 'S', p.lat) || !Angle(f[5], f[6], 'E', 'W', p.lon)
            || !ValidPosition(p.lat, p.lon))
            return;
        p.time = day + millis / 1000;
        p.millis = static_cast<int>(millis % 1000);
        p.segment = segment;
        if (millis == ggaMillis)
            p.eleText = ggaElevation;
        track.push_back(p);
        pointMillis = millis;
    }

    Track& track;
    const size_t before;       // the track's points before the log's
    const int segment;
    bool checksums = false;    // once a sentence has had one, a sentence without is cut off
    int64_t pointMillis = -1;  // the time of day of the last point, for a GGA after its RMC
    int64_t ggaMillis = -1;    // a GGA waiting for the RMC of its time, and its altitude
    std::string ggaElevation;
    bool voidFixes = false;    // an RMC said "no fix"
};

class NmeaReader : public TrackReader {
public:
    const char* Format() const override { return "NMEA"; }

    // A line starting "$GPRMC," or "!AIVDM,": a sign and five capitals or digits.
    bool Recognises(const std::string& head) const override
    {
        for (size_t at = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; at < head.size();) {
            if ((head[at] == '$' || head[at] == '!') && head.size() - at > 6 && head[at + 6] == ',') {
                bool word = true;
                for (size_t i = at + 1; i < at + 6; ++i)
                    word = word && ((head[i] >= 'A' && head[i] <= 'Z') || IsDigit(head[i]));
                if (word)
                    return true;
            }
            at = head.find('\n', at);
            at = at == std::string::npos ? head.size() : at + 1;
        }
        return false;
    }

    TrackRead Read(const std::string& path, Track& track) override
    {
        const size_t before = track.size();
        SentenceReader sentences(track, NextSegment(track));
        TrackRead result = ReadTrackLines(path, track, [&](const std::string& line, int64_t) {
            sentences.Take(line);
            return LineFault();   // a line that is no sentence is noise, never a fault
        });
        if (result.read && track.size() == before)
            result.emptyReason = sentences.WhyEmpty();
        return result;
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeNmeaReader()
{
    return std::make_unique<NmeaReader>();
}
