#include "common/OffsetText.h"

#include <cstdio>
#include <vector>

namespace {

const char kTypographicMinus[] = "\xE2\x88\x92";   // U+2212 in UTF-8, as the window's messages write it

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The colon-separated fields of text: the first one to 12 digits (more is out of range
// anyway, and refused before it could overflow), every later one exactly two ("1:2" is a
// typing slip, not 1:02). Empty when text is not such fields.
std::vector<int64_t> DigitFields(const std::string& text)
{
    std::vector<int64_t> fields;
    size_t start = 0;
    while (true) {
        const size_t colon = text.find(':', start);
        const size_t end = colon == std::string::npos ? text.size() : colon;
        const size_t digits = end - start;
        if (fields.empty() ? digits < 1 || digits > 12 : digits != 2)
            return {};
        int64_t value = 0;
        for (size_t i = start; i < end; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return {};
            value = value * 10 + (text[i] - '0');
        }
        fields.push_back(value);
        if (colon == std::string::npos)
            return fields;
        start = colon + 1;
    }
}

}  // namespace

std::optional<int64_t> ParseOffset(const std::string& input)
{
    std::string text = Trimmed(input);
    int sign = 1;
    if (text.compare(0, 3, kTypographicMinus) == 0) {
        sign = -1;
        text.erase(0, 3);
    } else if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        sign = text[0] == '-' ? -1 : 1;
        text.erase(0, 1);
    }
    const std::vector<int64_t> fields = DigitFields(text);
    int64_t seconds = 0;
    switch (fields.size()) {
    case 1:
        seconds = fields[0] * 60;
        break;
    case 2:
        if (fields[1] > 59)
            return std::nullopt;
        seconds = fields[0] * 60 + fields[1];
        break;
    case 3:
        if (fields[1] > 59 || fields[2] > 59)
            return std::nullopt;
        seconds = fields[0] * 3600 + fields[1] * 60 + fields[2];
        break;
    default:
        return std::nullopt;
    }
    if (seconds > kMaxOffsetSeconds)
        return std::nullopt;
    return sign * seconds;
}

std::string OffsetText(int64_t seconds)
{
    const char* sign = seconds > 0 ? "+" : seconds < 0 ? "-" : "";
    const unsigned long long size = seconds < 0 ? 0ULL - static_cast<unsigned long long>(seconds)
                                                : static_cast<unsigned long long>(seconds);
    char text[48];
    if (size % 60 == 0)
        std::snprintf(text, sizeof text, "%s%llu", sign, size / 60);
    else if (size < 3600)
        std::snprintf(text, sizeof text, "%s%llu:%02llu", sign, size / 60, size % 60);
    else
        std::snprintf(text, sizeof text, "%s%llu:%02llu:%02llu", sign, size / 3600, size / 60 % 60, size % 60);
    return text;
}

std::string OffsetWithUnits(int64_t seconds)
{
    if (seconds % 60 == 0)
        return OffsetText(seconds) + (seconds == 60 || seconds == -60 ? " minute" : " minutes");
    return OffsetText(seconds) + (seconds > -3600 && seconds < 3600 ? " (min:s)" : " (h:min:s)");
}

OffsetParts SplitOffset(int64_t seconds)
{
    // Floor division of seconds + 30: the nearest minute, a leftover of -30 .. 29 seconds.
    int64_t minutes = (seconds + 30) / 60;
    if ((seconds + 30) % 60 < 0)
        --minutes;
    OffsetParts parts;
    parts.minutes = minutes;
    parts.seconds = static_cast<int>(seconds - minutes * 60);
    return parts;
}
