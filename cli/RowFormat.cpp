#include "cli/RowFormat.h"

#include <charconv>
#include <cstdio>

#include "common/PathText.h"

namespace {

std::string Hex2(unsigned char byte)
{
    const char digits[] = "0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 0xf]};
}

// The length of the valid UTF-8 sequence starting at text[i], or 0 when the byte there
// doesn't start one (overlong forms, surrogates and code points above U+10FFFF are invalid).
size_t Utf8Length(const std::string& text, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length;
    unsigned char low = 0x80, high = 0xbf;   // the allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        length = 2;
    else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0)
            low = 0xa0;
        if (lead == 0xed)
            high = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0)
            low = 0x90;
        if (lead == 0xf4)
            high = 0x8f;
    } else
        return 0;
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xbf)
            return 0;
    }
    return length;
}

// Degrees with six decimals and a point whatever the locale, as the window shows them.
std::string Degrees(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

std::string JsonText(const std::string& text)
{
    return "\"" + JsonEscape(text) + "\"";
}

// The position/message cell. A matched photo's cell is empty in the window; here it shows
// the point, so that a dry run says where each photo would go.
std::string MessageCell(const PhotoLine& line)
{
    if (!line.reason.empty())
        return line.message.empty() ? line.reason : line.message + ": " + line.reason;
    const std::string place = line.place.empty() ? "" : " (" + line.place + ")";
    if (!line.message.empty() || !line.match)
        return line.message + (line.message.empty() ? "" : place);
    std::string text = Degrees(line.match->storedLatitude) + " " + Degrees(line.match->storedLongitude);
    if (!line.match->storedElevationText.empty())
        text += ", " + line.match->storedElevationText + " m";
    return text + place;
}

}  // namespace

PhotoLine DescribeRow(Command kind, bool dryRun, const std::string& path, const RowOutcome& outcome)
{
    PhotoLine line;
    line.path = path;
    line.achieved = IconOf(outcome.kind) == RowIcon::Tick;
    line.date = outcome.date.value_or("");
    line.message = outcome.text.English();
    if (outcome.icon == RowIcon::Cross)
        line.reason = outcome.tip.English();
    if (kind != Command::GeoTag && outcome.icon == RowIcon::Tick && outcome.text.empty())
        line.reason = outcome.tip.English();   // a position that couldn't be shown as a grid reference
    line.match = outcome.match;
    if (outcome.match && outcome.icon == RowIcon::Tick)
        line.message.clear();   // the cell shows the point itself, with its elevation
    line.sidecar = outcome.sidecar;
    line.place = outcome.place;
    if (outcome.kind == RowKind::TaggedInSidecar && !outcome.sidecarReason.empty()) {
        // The photo itself couldn't take the position: say where it went and why.
        line.message = "in sidecar " + FileNameOf(outcome.sidecar);
        line.reason = outcome.sidecarReason;
    }
    switch (outcome.kind) {
    case RowKind::Tagged:
    case RowKind::TaggedInSidecar: line.outcome = dryRun ? "would-tag" : "tagged"; break;
    case RowKind::Rejected: line.outcome = "rejected"; break;
    case RowKind::NoExif: line.outcome = "no-exif"; break;
    case RowKind::NoPosition: line.outcome = "no-position"; break;
    case RowKind::Parsed: line.outcome = "parsed"; break;
    case RowKind::Renamed: line.outcome = dryRun ? "would-rename" : "renamed"; break;
    case RowKind::NotRenamed: line.outcome = "not-renamed"; break;
    case RowKind::Restored: line.outcome = "restored"; break;
    case RowKind::NotRestored: line.outcome = "not-restored"; break;
    case RowKind::Removed: line.outcome = "removed"; break;
    case RowKind::Kept: line.outcome = "kept"; break;
    case RowKind::ReadFailed:
        line.outcome = kind == Command::Rename ? "not-renamed" : "failed";
        break;
    default: line.outcome = "failed"; break;
    }
    if (kind == Command::Rename)
        line.newPath = outcome.newPath;
    return line;
}

std::string TsvEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (byte < 0x20 || byte == 0x7f)
                out += "\\x" + Hex2(byte);
            else
                out += c;
        }
    }
    return out;
}

std::string JsonEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8Length(text, i);
        if (length == 0) {
            out += "\\udc" + Hex2(byte);
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text, i, length);
            i += length;
            continue;
        }
        switch (byte) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (byte < 0x20 || byte == 0x7f)
                out += "\\u00" + Hex2(byte);
            else
                out += static_cast<char>(byte);
        }
        ++i;
    }
    return out;
}

std::string TsvLine(Command kind, const PhotoLine& line)
{
    std::string last;
    if (kind == Command::GeoTag && line.match)
        last = line.match->interpolating ? line.match->how.English() : std::to_string(line.match->seconds);
    else if (kind == Command::Rename)
        last = line.newPath;
    return line.outcome + "\t" + TsvEscape(line.path) + "\t" + TsvEscape(line.date) + "\t"
        + TsvEscape(MessageCell(line)) + "\t" + TsvEscape(last) + "\n";
}

std::string JsonLine(Command kind, const PhotoLine& line)
{
    std::string json = "{\"outcome\":" + JsonText(line.outcome) + ",\"path\":" + JsonText(line.path)
        + ",\"date\":" + JsonText(line.date) + ",\"message\":" + JsonText(line.message);
    if (!line.reason.empty())
        json += ",\"reason\":" + JsonText(line.reason);
    if (!line.place.empty())   // absent when the photo names no place, as before places were written
        json += ",\"place\":" + JsonText(line.place);
    if (kind == Command::GeoTag) {
        if (line.match) {
            json += ",\"seconds\":" + std::to_string(line.match->seconds)
                + ",\"latitude\":" + Degrees(line.match->storedLatitude)
                + ",\"longitude\":" + Degrees(line.match->storedLongitude)
                + ",\"elevation\":" + JsonText(line.match->storedElevationText);
            if (!line.match->how.empty())
                json += ",\"how\":" + JsonText(line.match->how.English());
            if (line.match->offsetSeconds)   // only with offsets per camera, as before them
                json += ",\"offset\":" + std::to_string(*line.match->offsetSeconds)
                    + ",\"camera\":" + JsonText(line.match->offsetCamera);
            if (!line.match->photoPoint.empty())   // absent for a track file's point, as before
                json += ",\"photo\":" + JsonText(line.match->photoPoint);
        } else {
            json += ",\"seconds\":null,\"latitude\":null,\"longitude\":null,\"elevation\":null";
        }
        if (!line.sidecar.empty())
            json += ",\"sidecar\":" + JsonText(line.sidecar);
    } else if (kind == Command::Rename) {
        json += ",\"new_path\":" + (line.newPath.empty() ? std::string("null") : JsonText(line.newPath));
    }
    return json + "}\n";
}
