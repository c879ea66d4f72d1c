#include "exif/PlaceCommands.h"

const char kIptcUtf8[] = "\x1b%G";

namespace {

// The first bytes of text up to limit, never ending inside a UTF-8 character.
std::string Cut(const std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

void Add(std::string& command, const std::string& key, const char* type, const std::string& value)
{
    if (!value.empty())
        command += "add " + key + " " + type + " \"" + value + "\"\n";
}

}  // namespace

const std::vector<std::string>& XmpPlaceKeys()
{
    static const std::vector<std::string> keys = {"Xmp.photoshop.City", "Xmp.photoshop.State",
                                                  "Xmp.photoshop.Country", "Xmp.iptc.CountryCode"};
    return keys;
}

const std::vector<std::string>& IptcPlaceKeys()
{
    static const std::vector<std::string> keys = {"Iptc.Application2.City", "Iptc.Application2.ProvinceState",
                                                  "Iptc.Application2.CountryName", "Iptc.Application2.CountryCode"};
    return keys;
}

std::string RemovePlaceCommand(bool iptc)
{
    std::string command;
    for (const auto& key : XmpPlaceKeys())
        command += "del " + key + "\n";
    if (iptc)
        for (const auto& key : IptcPlaceKeys())
            command += "del " + key + "\n";
    return command;
}

std::string PlaceCommandText(const PlaceNames& place, bool iptc)
{
    if (place.Empty())
        return {};
    std::string command = RemovePlaceCommand(iptc);
    const auto& xmp = XmpPlaceKeys();
    Add(command, xmp[0], "XmpText", place.city);
    Add(command, xmp[1], "XmpText", place.state);
    Add(command, xmp[2], "XmpText", place.country);
    Add(command, xmp[3], "XmpText", place.countryCode);
    if (!iptc)
        return command;
    const auto& keys = IptcPlaceKeys();
    command += "del Iptc.Envelope.CharacterSet\n";
    command += std::string("add Iptc.Envelope.CharacterSet String \"") + kIptcUtf8 + "\"\n";
    Add(command, keys[0], "String", Cut(place.city, 32));
    Add(command, keys[1], "String", Cut(place.state, 32));
    Add(command, keys[2], "String", Cut(place.country, 64));
    Add(command, keys[3], "String", place.countryCode3);
    return command;
}
