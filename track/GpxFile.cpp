#include "track/GpxFile.h"

#include <cmath>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include <tinyxml2.h>

#include "common/ModulePath.h"
#include "common/Numbers.h"
#include "common/Timestamps.h"
#include "track/readers/ReaderSupport.h"

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

// The largest file read. A kept point costs the track about 60 bytes and may take as
// few as 25 in the file, so 1 GiB can already mean 2.5 GB of track; ordinary GPX holds
// some ten million points in 1 GiB, four months of one point a second.
constexpr int64_t kMaxFileBytes = int64_t{1} << 30;
// Bytes read from the file at a time, and the size from which text is parsed as a piece.
constexpr size_t kReadBytes = size_t{1} << 20;
constexpr size_t kPieceBytes = size_t{1} << 20;

locale_t CLocale() {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return cLocale;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A coordinate in degrees: a plain decimal number ("-0.125", "51.", ".5", "+3"), blanks
// around it allowed, within -limit..limit. No exponent, hex, inf, nan or decimal comma.
bool ReadCoordinate(const char* text, double limit, double& value) {
    if (text == nullptr || CLocale() == locale_t(nullptr))
        return false;
    const char* p = text;
    while (IsXmlSpace(*p))
        ++p;
    const char* const start = p;
    if (*p == '+' || *p == '-')
        ++p;
    size_t digits = 0;
    for (; IsDigit(*p); ++p)
        ++digits;
    if (*p == '.')
        for (++p; IsDigit(*p); ++p)
            ++digits;
    if (digits == 0)
        return false;
    while (IsXmlSpace(*p))
        ++p;
    if (*p != '\0')
        return false;
    value = strtod_l(start, nullptr, CLocale());
    return value >= -limit && value <= limit;
}

// The element's first child node as text, or "" when it is missing or not text.
const char* TextOf(const XMLElement* element) {
    const char* text = element != nullptr ? element->GetText() : nullptr;
    return text != nullptr ? text : "";
}

// Appends the point of a trkpt or wpt element, unless its position is unusable.
void ReadTrackPoint(const XMLElement& element, Track& track, int segment) {
    TrackPoint point;
    point.segment = segment;
    if (!ReadCoordinate(element.Attribute("lat"), 90, point.lat) ||
        !ReadCoordinate(element.Attribute("lon"), 180, point.lon))
        return;
    // No time element, a text that doesn't parse or a moment out of span: -1, so the
    // point never matches a photo.
    if (const XMLElement* time = element.FirstChildElement("time"))
        point.time = ParseGpxTime(TextOf(time), &point.millis);
    point.eleText = TextOf(element.FirstChildElement("ele"));
    double metres = 0;
    if (!GpxElevation(point.eleText, metres))   // none, rather than a number no photo can hold
        point.eleText.clear();
    track.push_back(std::move(point));
}

// The highest segment number in a track read so far, -1 for none: a file read after
// it numbers its segments on from there.
int LastSegment(const Track& track) {
    int last = -1;
    for (const auto& p : track)
        last = std::max(last, p.segment);
    return last;
}

// The points of the document's first "gpx" element: every trkpt of every trkseg of
// every trk into points, every wpt into waypoints, each in document order. Each trkseg
// takes the next number of segment, except a first one that continues the segment of the
// piece before (continues).
void ReadPoints(const XMLDocument& document, Track& points, Track& waypoints, int& segment, bool continues) {
    const XMLElement* gpx = document.FirstChildElement("gpx");
    if (gpx == nullptr)
        return;
    // Every segment counts: a receiver starts a new one after each loss of signal.
    for (const XMLElement* trk = gpx->FirstChildElement("trk"); trk != nullptr;
         trk = trk->NextSiblingElement("trk")) {
        for (const XMLElement* seg = trk->FirstChildElement("trkseg"); seg != nullptr;
             seg = seg->NextSiblingElement("trkseg")) {
            if (!continues)
                ++segment;
            continues = false;
            for (const XMLElement* pt = seg->FirstChildElement("trkpt"); pt != nullptr;
                 pt = pt->NextSiblingElement("trkpt"))
                ReadTrackPoint(*pt, points, segment);
        }
    }
    for (const XMLElement* wpt = gpx->FirstChildElement("wpt"); wpt != nullptr;
         wpt = wpt->NextSiblingElement("wpt"))
        ReadTrackPoint(*wpt, waypoints, -1);
}

// The elements a piece may be cut inside: the first top-level gpx, a trk in it, a
// trkseg in that. A point element (trkpt in a trkseg, wpt in the gpx) is never cut.
const char* const kCutPath[] = {"gpx", "trk", "trkseg"};
constexpr int kCutPathLength = 3;

// Reads a GPX file in pieces of about kPieceBytes, so that only one piece is ever held
// as a document tree (TinyXML-2's tree takes some ten bytes per byte of text).
//
// A light scan follows the markup as TinyXML-2 reads it: comments, CDATA, declarations
// and quoted attribute values are stepped over, and the open elements are counted. A
// piece ends right after an element that closes inside the cut path. It is parsed with
// the path's open elements written before it and closed after it, so TinyXML-2 still
// checks every byte, every name and every nesting of the file: a piece reads exactly
// like its part of the whole document. Files without such cuts are parsed whole.
class PieceReader {
public:
    // fileSize only guides how much room the track gets up front.
    PieceReader(int fd, int64_t fileSize, Track& points)
        : fd(fd), fileSize(fileSize), points(points), pointsAtStart(points.size()), segment(LastSegment(points)) {}

    // The line a failed Read's reason names, 0 for none.
    int64_t FaultLine() const { return faultLine; }

    // Reads the whole file; false with a reason when it can't be read or parsed.
    bool Read(std::string& reason) {
        for (bool atEnd = false; !atEnd;) {
            if (!Fill(atEnd, reason))
                return false;
            Scan();
            if (!atEnd && cut >= kPieceBytes) {
                if (!ParsePiece(cut, false, reason))
                    return false;
                if (pieces++ == 0)
                    ReserveForFile();
            }
        }
        if (!ParsePiece(buffer.size(), true, reason))
            return false;
        points.insert(points.end(), std::make_move_iterator(waypoints.begin()),
                      std::make_move_iterator(waypoints.end()));
        return true;
    }

private:
    // Makes room for as many track points as the first piece promises for the whole file,
    // sparing the track a series of ever larger copies.
    void ReserveForFile() {
        const size_t added = points.size() - pointsAtStart;
        if (added == 0 || total <= 0)
            return;
        const double perByte = static_cast<double>(added) / static_cast<double>(total);
        const size_t expected = static_cast<size_t>(perByte * static_cast<double>(fileSize) * 1.05);
        if (pointsAtStart + expected > points.capacity())
            points.reserve(pointsAtStart + expected);
    }

    // Appends up to kReadBytes of the file to the buffer.
    bool Fill(bool& atEnd, std::string& reason) {
        const size_t old = buffer.size();
        buffer.resize(old + kReadBytes);
        ssize_t n;
        do
            n = read(fd, &buffer[old], kReadBytes);
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            reason = "can't be read: " + SystemErrorText(errno, 256);
            return false;
        }
        buffer.resize(old + static_cast<size_t>(n));
        atEnd = n == 0;
        total += n;
        if (total > kMaxFileBytes) {   // the file grew while being read
            reason = "too big to read";
            return false;
        }
        return true;
    }

    bool StartsWith(size_t pos, const char* text) const {
        return buffer.compare(pos, std::strlen(text), text) == 0;
    }

    // The position just after the next `end` from pos on, or npos.
    size_t After(size_t pos, const char* end) const {
        const size_t found = buffer.find(end, pos);
        return found == std::string::npos ? found : found + std::strlen(end);
    }

    // The position just after the '>' that ends a start tag, quoted values stepped over.
    size_t TagEnd(size_t pos) const {
        char quote = 0;
        for (; pos < buffer.size(); ++pos) {
            const char c = buffer[pos];
            if (quote != 0) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return pos + 1;
            }
        }
        return std::string::npos;
    }

    // Steps over every whole token after `scanned`; a token the buffer ends inside waits
    // for the next read.
    void Scan() {
        while (!lost && scanned < buffer.size()) {
            const size_t pos = scanned;
            if (buffer[pos] != '<') {
                const size_t next = buffer.find('<', pos);
                scanned = next == std::string::npos ? buffer.size() : next;
                continue;
            }
            if (buffer.size() - pos < 9)   // long enough to tell "<![CDATA[" from "<!"
                return;
            size_t end;
            if (StartsWith(pos, "<?")) {
                end = After(pos + 2, "?>");
            } else if (StartsWith(pos, "<!--")) {
                end = After(pos + 4, "-->");
            } else if (StartsWith(pos, "<![CDATA[")) {
                end = After(pos + 9, "]]>");
            } else if (StartsWith(pos, "<!")) {
                end = After(pos + 2, ">");
            } else if (StartsWith(pos, "</")) {
                end = After(pos + 2, ">");
                if (end != std::string::npos)
                    EndTag(end);
            } else {
                end = TagEnd(pos + 1);
                if (end != std::string::npos)
                    StartTag(pos + 1, end);
            }
            if (end == std::string::npos)
                return;
            scanned = end;
        }
    }

    // A start tag from the name at pos to the '>' just before end.
    void StartTag(size_t pos, size_t end) {
        const size_t nameEnd = buffer.find_first_of(" \t\r\n/>", pos);
        const size_t nameLength = nameEnd - pos;
        const bool onPath = pathDepth == depth && depth < kCutPathLength && (depth > 0 || !gpxSeen) &&
                            buffer.compare(pos, nameLength, kCutPath[depth]) == 0;
        if (depth == 0 && buffer.compare(pos, nameLength, "gpx") == 0)
            gpxSeen = true;
        if (buffer[end - 2] == '/') {   // an empty element: opens and closes
            if (depth > 0 && pathDepth == depth)
                NoteCut(end);
            return;
        }
        ++depth;
        if (onPath)
            pathDepth = static_cast<int>(depth);
    }

    void EndTag(size_t end) {
        if (depth == 0) {   // closes nothing: TinyXML-2 will say where
            lost = true;
            return;
        }
        --depth;
        if (pathDepth > depth)
            pathDepth = static_cast<int>(depth);
        if (depth > 0 && pathDepth == depth)
            NoteCut(end);
    }

    void NoteCut(size_t end) {
        cut = end;
        cutDepth = pathDepth;
    }

    // Parses buffer[0, end) with the open path elements around it, reads its points and
    // drops it from the buffer. The last piece closes its own elements.
    bool ParsePiece(size_t end, bool last, std::string& reason) {
        text.clear();
        for (int i = 0; i < openAtStart; ++i)
            text.append("<").append(kCutPath[i]).append(">");
        text.append(buffer, 0, end);
        for (int i = last ? 0 : cutDepth; i > 0; --i)
            text.append("</").append(kCutPath[i - 1]).append(">");

        // Parse() empties the document first; its node pools are kept for the next piece.
        document.Parse(text.data(), text.size());
        if (document.ErrorID() == tinyxml2::XML_ERROR_EMPTY_DOCUMENT ||
            (!document.Error() && document.RootElement() == nullptr)) {
            // Only comments or a declaration: no XML document at all.
            reason = "not a GPX file (no XML element)";
            return false;
        }
        if (document.Error() ||
            (!last && document.FirstChildElement("gpx") != document.LastChildElement())) {
            int64_t at = line + std::max(document.Error() ? document.ErrorLineNum() : 1, 1) - 1;
            if (last && document.ErrorID() == tinyxml2::XML_ERROR_PARSING) {
                // The file ends with elements still open. TinyXML-2 names the line where the
                // innermost one opened, which for a piece is where the piece begins; the
                // fault is where the file ends.
                at = line + std::count(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(end), '\n');
                if (end > 0 && buffer[end - 1] == '\n')
                    --at;
            }
            faultLine = at;
            reason = "not a GPX file (line " + std::to_string(at) + ")";
            return false;
        }
        ReadPoints(document, points, waypoints, segment, openAtStart == kCutPathLength);

        line += std::count(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(end), '\n');
        buffer.erase(0, end);
        scanned -= end;
        openAtStart = cutDepth;
        cut = 0;
        return true;
    }

    const int fd;
    const int64_t fileSize;
    Track& points;
    const size_t pointsAtStart;
    int segment;               // the last segment number given out
    Track waypoints;           // appended after every track point
    XMLDocument document;      // the piece being read
    std::string text;          // the piece with its opening and closing path elements
    int pieces = 0;            // pieces read so far
    std::string buffer;        // text read and not yet parsed; starts on line `line`
    int64_t total = 0;         // bytes read
    int64_t line = 1;
    int openAtStart = 0;       // path elements open where the buffer starts
    size_t scanned = 0;        // buffer[0, scanned) is stepped over
    size_t cut = 0;            // the last place to end a piece, 0 when none yet
    int cutDepth = 0;          // path elements open at cut
    int64_t depth = 0;         // elements open at scanned
    int pathDepth = 0;         // how many of them follow the cut path
    bool gpxSeen = false;      // a top-level gpx has started
    bool lost = false;         // an end tag closed nothing: no more cuts
    int64_t faultLine = 0;     // the line a reason "not a GPX file (line 3)" names
};

}  // namespace

int LoadGpx(const std::string& path, Track& track, std::string* reason, int64_t* errorLine) {
    std::string why;
    const size_t before = track.size();
    bool read = false;
    int fd = -1;
    try {
        int64_t size = 0;
        fd = OpenTrackFile(path, kMaxFileBytes, size, why);
        if (fd >= 0) {
            PieceReader pieces(fd, size, track);
            read = pieces.Read(why);
            if (errorLine != nullptr)
                *errorLine = pieces.FaultLine();
        }
    } catch (const std::bad_alloc&) {
        why = "too big to read (out of memory)";
    }
    if (fd >= 0)
        close(fd);
    if (read)
        return 0;
    track.erase(track.begin() + static_cast<std::ptrdiff_t>(before), track.end());
    if (reason != nullptr)
        *reason = why;
    return -1;
}
