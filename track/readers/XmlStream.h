#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "track/TrackReader.h"
#include "track/readers/ReaderSupport.h"

struct XML_ParserStruct;

// A streaming XML reader over expat for the track readers: fed a document in blocks, it
// tells Open and Close about each element by its local name (any "prefix:" dropped, so
// gx:Track and kml:Track are both "Track") and gathers the text directly inside the
// innermost element. Memory stays small whatever the document's size.
class XmlStream {
public:
    XmlStream();
    virtual ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // Parses the next block; last is true for the final one (which may be empty). False
    // with reason untouched when the document is not well-formed XML (Line says where), or
    // with reason "too big to read (out of memory)" or, for elements nested deeper than
    // kMaxNesting, "too deeply nested (more than 10000 levels)".
    bool Feed(const char* data, size_t size, bool last, std::string& reason);
    // Feeds the open file fd to its end, as Feed, and closes it; false also with reason
    // when it can't be read.
    bool FeedFile(int fd, std::string& reason);
    // The line the parser is at (of the fault after a failed Feed), from 1.
    int64_t Line() const;

protected:
    // The handlers may throw std::bad_alloc, which stops the parse (never through expat).
    // An element starts; Name(0) is already its name.
    virtual void Open(const std::string& name) = 0;
    // An element ends, with text holding its own text; Name(0) is still its name.
    virtual void Close(const std::string& name) = 0;
    // Text inside the innermost element, in pieces as expat finds them. By default it is
    // gathered into text, up to kMaxText bytes (the rest is dropped: no field read is longer).
    virtual void Characters(const char* data, size_t size);

    // The local name of the open element up levels out from the innermost (0); "" past the root.
    const std::string& Name(size_t up) const;
    // True when an open element has that local name.
    bool Within(const char* name) const;

    // text without the white space around it.
    std::string_view Trimmed() const;

    static constexpr size_t kMaxText = 64 * 1024;
    std::string text;

private:
    static void OnStart(void* self, const char* name, const char** attributes);
    static void OnEnd(void* self, const char* name);
    static void OnText(void* self, const char* data, int size);

    // Runs a handler; a failed allocation stops the parser instead of unwinding through C.
    template <typename Handler> void Guard(const Handler& handler);

    XML_ParserStruct* parser;
    bool outOfMemory = false;
    bool tooDeep = false;
    std::vector<std::string> path;   // the open elements' local names, root first
};

// True for the white space of XML: blank, tab, CR, LF.
inline bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// True when head holds a start tag of that local name, with or without a prefix:
// "<kml " and "<k:kml>" for "kml", not "<kmlx" or "xmlns:kml".
bool HasStartTag(const std::string& head, const std::string& name);

// A number as XML formats write it ("12.5", "-3", "+1e2"), "." for the point whatever the
// locale; false unless the whole text is one finite number.
bool XmlNumber(std::string_view text, double& value);

// The frame of a track reader over an XmlStream parser, made as Parser(track): opens path
// and hands the file to parser.Take(fd, reason), which closes it. Then either
// parser.Finish(), and when no point added has a time the result's emptyReason is
// parser.WhyEmpty(whether points were added); or track is as it was and the error is Take's
// reason, or for a document that isn't well-formed "not a KML file (line 3)" (kind "KML")
// with its line.
template <typename Parser> TrackRead ReadXmlTrack(const std::string& path, Track& track, const char* kind)
{
    const size_t before = track.size();
    std::string reason;
    TrackRead result;
    try {
        Parser parser(track);
        const int fd = OpenTrackFile(path, reason);
        if (fd >= 0 && parser.Take(fd, reason)) {
            parser.Finish();
            bool timed = false;
            for (size_t i = before; i < track.size() && !timed; ++i)
                timed = track[i].time >= 0;
            result = TrackRead::Done(timed ? "" : parser.WhyEmpty(track.size() > before));
        } else if (fd >= 0 && reason.empty()) {
            result = TrackRead::Failed(std::string("not a ") + kind + " file (line " + std::to_string(parser.Line()) + ")",
                                       parser.Line());
        } else {
            result = TrackRead::Failed(reason);
        }
    } catch (const std::bad_alloc&) {
        result = TrackRead::Failed("too big to read (out of memory)");
    }
    if (!result.read)
        track.erase(track.begin() + static_cast<std::ptrdiff_t>(before), track.end());
    return result;
}
