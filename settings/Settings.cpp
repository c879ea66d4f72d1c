#include "settings/Settings.h"

#include <climits>
#include <cstdio>

#include "common/AsciiText.h"
#include "common/Numbers.h"
#include "common/OffsetText.h"
#include "common/ZoneRules.h"
#include "settings/IniFile.h"

namespace {

const char kSection[] = "Config";
const char kCameraSection[] = "CameraOffsets";

enum class Kind { Flag, Number, Seconds, Zone, Text };

// One setting: its key in the file, its field, and the value a missing key reads as.
struct Field {
    const char* key;
    Kind kind;
    int32_t Settings::*number;
    std::string Settings::*text;
    int32_t fallback;
    const char* textFallback = nullptr;   // a missing text key reads as this, else ""
};

// The schema, in the order a new file lists the keys.
const Field kFields[] = {
    {"JPGDir", Kind::Text, nullptr, &Settings::JPGDir, 0},
    {"GPXPath", Kind::Text, nullptr, &Settings::GPXPath, 0},
    {"PhotoTrack", Kind::Text, nullptr, &Settings::PhotoTrack, 0},
    {"Date", Kind::Flag, &Settings::Date, nullptr, 1},
    {"Posn", Kind::Flag, &Settings::Posn, nullptr, 1},
    {"DisplayType", Kind::Flag, &Settings::DisplayType, nullptr, 1},
    {"OffsetMinutes", Kind::Number, &Settings::OffsetMinutes, nullptr, 0},
    {"RawSidecar", Kind::Flag, &Settings::RawSidecar, nullptr, 1},
    {"Interpolate", Kind::Flag, &Settings::Interpolate, nullptr, 0},
    {"PhotoZone", Kind::Flag, &Settings::PhotoZone, nullptr, 1},
    {"ReplacePositions", Kind::Flag, &Settings::ReplacePositions, nullptr, 0},
    {"Recurse", Kind::Flag, &Settings::Recurse, nullptr, 0},
    {"Journal", Kind::Flag, &Settings::Journal, nullptr, 1},
    {"ShowMap", Kind::Flag, &Settings::ShowMap, nullptr, 1},
    {"MapTiles", Kind::Text, nullptr, &Settings::MapTiles, 0, kOsmTiles},
    {"Places", Kind::Flag, &Settings::Places, nullptr, 0},
    {"PlaceMaxKm", Kind::Number, &Settings::PlaceMaxKm, nullptr, 10},
    {"PlaceLanguage", Kind::Text, nullptr, &Settings::PlaceLanguage, 0},
    {"PlaceInName", Kind::Flag, &Settings::PlaceInName, nullptr, 0},
    {"ReplacePlaces", Kind::Flag, &Settings::ReplacePlaces, nullptr, 0},
    {"OffsetSeconds", Kind::Number, &Settings::OffsetSeconds, nullptr, 0},
    {"MaxGapSeconds", Kind::Seconds, &Settings::MaxGapSeconds, nullptr, 300},
    {"MaxInterpolationGapSeconds", Kind::Seconds, &Settings::MaxInterpolationGapSeconds, nullptr, 1800},
    {"CameraZone", Kind::Zone, nullptr, &Settings::CameraZone, 0},
    {"KeepSoftware", Kind::Flag, &Settings::KeepSoftware, nullptr, 0},
};

const Field* FindField(const std::string& key)
{
    for (const Field& field : kFields) {
        if (EqualsIgnoringAsciiCase(key, field.key))
            return &field;
    }
    return nullptr;
}

// A whole number in the 32-bit range, blanks around it allowed (Set-up's box, a hand-edited file).
bool ParseSettingNumber(const std::string& text, int32_t& number)
{
    size_t first = 0, end = text.size();
    while (first < end && (text[first] == ' ' || text[first] == '\t')) ++first;
    while (end > first && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    long long value = 0;
    if (!ParseWholeNumber(text.substr(first, end - first), INT32_MIN, INT32_MAX, value))
        return false;
    number = static_cast<int32_t>(value);
    return true;
}

// Why text can't be the value of field; "" when it can.
std::string Refusal(const Field& field, const std::string& text, int32_t& number)
{
    const std::string key = field.key;
    switch (field.kind) {
    case Kind::Flag:
        if (text == "0" || text == "1") {
            number = text == "1";
            return {};
        }
        return key + " must be 0 or 1";
    case Kind::Number:
        if (ParseSettingNumber(text, number))
            return {};
        return key + " must be a whole number from -2147483648 to 2147483647";
    case Kind::Seconds:
        if (ParseSettingNumber(text, number) && number >= 0)
            return {};
        return key + " must be a whole number of seconds from 0 to 2147483647";
    case Kind::Zone: {
        std::string reason;
        if (text.empty() || ZoneRules::Load(text, reason))
            return {};
        return key + ": " + reason;
    }
    case Kind::Text:
        if (text.find_first_of("\r\n") == std::string::npos && text.find('\0') == std::string::npos)
            return {};
        return key + " can't hold a line break";
    }
    return {};
}

// A camera's name as a key of the file: "%", "=", a leading "[", ";" or "#", and bytes
// below a blank or at either end blanks, written as %XX, so any name reads back as it was.
std::string CameraKey(const std::string& name)
{
    std::string key;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool edge = i == 0 || i + 1 == name.size();
        if (c < 0x20 || c == 0x7f || c == '%' || c == '=' || (i == 0 && (c == '[' || c == ';' || c == '#'))
            || (edge && (c == ' ' || c == '"' || c == '\''))) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            key += escaped;
        } else {
            key += static_cast<char>(c);
        }
    }
    return key;
}

std::string CameraName(const std::string& key)
{
    auto hex = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; };
    std::string name;
    for (size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '%' && i + 2 < key.size() && hex(key[i + 1]) >= 0 && hex(key[i + 2]) >= 0) {
            name += static_cast<char>(hex(key[i + 1]) * 16 + hex(key[i + 2]));
            i += 2;
        } else {
            name += key[i];
        }
    }
    return name;
}

// The camera offsets of the file; a key without a whole number (an offset taken away) is none.
std::map<std::string, int32_t> ReadCameraOffsets(const std::string& iniPath)
{
    std::map<std::string, int32_t> offsets;
    IniEntries entries;
    std::string reason;
    IniReadSection(iniPath, kCameraSection, entries, reason);
    for (const auto& [key, value] : entries) {
        int32_t seconds = 0;
        if (ParseSettingNumber(value, seconds))
            offsets[CameraName(key)] = seconds;
    }
    return offsets;
}

}  // namespace

bool Settings::Read(const std::string& iniPath)
{
    const std::vector<std::string>& keys = Keys();
    std::vector<std::optional<std::string>> values;
    std::string reason;
    const bool ok = IniReadValues(iniPath, kSection, keys, values, reason);
    for (size_t i = 0; i < keys.size(); ++i) {
        const Field& field = kFields[i];
        if (field.text)
            this->*field.text = values[i].value_or(field.textFallback ? field.textFallback : "");
        else
            this->*field.number = values[i] ? IniNumber(*values[i]) : field.fallback;
    }
    if (!JPGDir.empty() && JPGDir.back() != '/')
        JPGDir += '/';
    CameraOffsets = ok ? ReadCameraOffsets(iniPath) : std::map<std::string, int32_t>();
    return ok;
}

bool Settings::Write(const std::string& iniPath, std::string& reason) const
{
    IniEntries entries;
    for (const std::string& key : Keys())
        entries.emplace_back(key, Get(key));
    // A camera whose offset was taken away keeps its key, empty, so the file's lines stay put.
    IniEntries cameras;
    for (const auto& [name, seconds] : CameraOffsets)
        cameras.emplace_back(CameraKey(name), std::to_string(seconds));
    for (const auto& [name, seconds] : ReadCameraOffsets(iniPath))
        if (!CameraOffsets.count(name))
            cameras.emplace_back(CameraKey(name), "");
    return IniWriteSections(iniPath, {{kSection, entries}, {kCameraSection, cameras}}, reason);
}

const std::vector<std::string>& Settings::Keys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> names;
        for (const Field& field : kFields)
            names.push_back(field.key);
        return names;
    }();
    return keys;
}

std::string Settings::Get(const std::string& key) const
{
    const Field* field = FindField(key);
    if (!field)
        return {};
    return field->text ? this->*field->text : std::to_string(this->*field->number);
}

bool Settings::Set(const std::string& key, const std::string& value, std::string& reason)
{
    const Field* field = FindField(key);
    if (!field) {
        reason = "unknown setting \"" + key + "\"; the settings are";
        for (const Field& f : kFields)
            reason += std::string(" ") + f.key;
        return false;
    }
    int32_t number = 0;
    reason = Refusal(*field, value, number);
    if (!reason.empty())
        return false;
    if (field->text)
        this->*field->text = value;
    else
        this->*field->number = number;
    return true;
}

int64_t Settings::Offset() const
{
    return static_cast<int64_t>(OffsetMinutes) * 60 + OffsetSeconds;
}

bool Settings::SetOffset(int64_t seconds)
{
    if (seconds < -kMaxOffsetSeconds || seconds > kMaxOffsetSeconds)
        return false;
    const OffsetParts parts = SplitOffset(seconds);
    OffsetMinutes = static_cast<int32_t>(parts.minutes);
    OffsetSeconds = parts.seconds;
    return true;
}
