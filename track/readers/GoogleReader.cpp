// Google location history in its three layouts (GoogleLayouts.h says where each keeps its
// points). The file is read as a stream of JSON events and never held whole: a history of
// years passes 1 GB, and only the points kept take memory.
#include "track/readers/Readers.h"

#include <cctype>
#include <new>

#include <unistd.h>

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include "track/readers/GoogleLayouts.h"
#include "track/readers/JsonStream.h"
#include "track/readers/ReaderSupport.h"

namespace {

// A key in quotes followed by ':' somewhere in text.
bool HasKey(const std::string& text, const char* name)
{
    const std::string quoted = std::string("\"") + name + "\"";
    for (size_t at = text.find(quoted); at != std::string::npos; at = text.find(quoted, at + 1)) {
        const size_t after = text.find_first_not_of(" \t\r\n", at + quoted.size());
        if (after != std::string::npos && text[after] == ':')
            return true;
    }
    return false;
}

class GoogleReader : public TrackReader {
public:
    const char* Format() const override { return "Google location history"; }

    bool Recognises(const std::string& head) const override
    {
        const size_t at = head.find_first_not_of(" \t\r\n", head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
        if (at == std::string::npos)
            return false;
        if (head[at] == '{')
            return HasKey(head, "locations") || HasKey(head, "timelineObjects") ||
                   HasKey(head, "semanticSegments") || HasKey(head, "rawSignals");
        return head[at] == '[' && HasKey(head, "startTime") &&
               (HasKey(head, "visit") || HasKey(head, "activity") || HasKey(head, "timelinePath"));
    }

    TrackRead Read(const std::string& path, Track& track) override
    {
        std::string error;
        const int fd = OpenTrackFile(path, error);
        if (fd < 0)
            return TrackRead::Failed(error);
        const size_t before = track.size();
        TrackRead result;
        try {
            result = Parse(fd, track);
        } catch (const std::bad_alloc&) {
            result = TrackRead::Failed("too big to read (out of memory)");
        }
        close(fd);
        if (!result.read)
            track.resize(before);
        else if (track.size() == before)
            result.emptyReason = "no track points: the location history is empty";
        return result;
    }

private:
    // Parses the open file into track.
    static TrackRead Parse(int fd, Track& track)
    {
        const size_t before = track.size();
        JsonFileStream stream(fd);
        GoogleHandler handler(track, NextSegment(track));
        rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, JsonStackAllocator> reader;
        const rapidjson::ParseResult result = reader.Parse<rapidjson::kParseIterativeFlag>(stream, handler);
        if (!stream.error.empty())
            return TrackRead::Failed(stream.error);
        if (result.IsError() && handler.tooDeep)
            return TrackRead::Failed(NestingText());
        if (result.IsError()) {
            std::string message = rapidjson::GetParseError_En(result.Code());
            if (!message.empty() && message.back() == '.')
                message.pop_back();
            if (!message.empty())
                message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
            return TrackRead::Failed("not a JSON file (line " + std::to_string(stream.line) + ", offset " +
                                         std::to_string(result.Offset()) + ": " + message + ")",
                                     stream.line);
        }
        // Moves first, then paths and records, then visits: where they overlap in time the
        // later in the track wins, and a journey's two ends say least.
        track.insert(track.begin() + static_cast<std::ptrdiff_t>(before), handler.moves.begin(), handler.moves.end());
        track.insert(track.end(), handler.visits.begin(), handler.visits.end());
        return TrackRead::Done();
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeGoogleReader()
{
    return std::make_unique<GoogleReader>();
}
