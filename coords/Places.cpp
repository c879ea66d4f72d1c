#include "coords/Places.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <unordered_map>

#include <geonames.h>

namespace {

const double kEarthKm = 6371.0088;   // mean radius
const double kRegionKm = 100;        // beyond this from every town, a position has no place

// Where libgeonames0 keeps its translations (one gettext catalogue per language).
const char kCatalogues[] = "/usr/share/locale/";

// ISO 3166-1 alpha-2 then alpha-3, five letters a country, sorted; Kosovo as geonames has it.
const char kAlpha3[] =
    "ADANDAEAREAFAFGAGATGAIAIAALALBAMARMAOAGOAQATAARARGASASMATAUTAUAUSAWABWAXALAAZAZEBABIHBBBRBBDBGDBEBEL"
    "BFBFABGBGRBHBHRBIBDIBJBENBLBLMBMBMUBNBRNBOBOLBQBESBRBRABSBHSBTBTNBVBVTBWBWABYBLRBZBLZCACANCCCCKCDCOD"
    "CFCAFCGCOGCHCHECICIVCKCOKCLCHLCMCMRCNCHNCOCOLCRCRICUCUBCVCPVCWCUWCXCXRCYCYPCZCZEDEDEUDJDJIDKDNKDMDMA"
    "DODOMDZDZAECECUEEESTEGEGYEHESHERERIESESPETETHFIFINFJFJIFKFLKFMFSMFOFROFRFRAGAGABGBGBRGDGRDGEGEOGFGUF"
    "GGGGYGHGHAGIGIBGLGRLGMGMBGNGINGPGLPGQGNQGRGRCGSSGSGTGTMGUGUMGWGNBGYGUYHKHKGHMHMDHNHNDHRHRVHTHTIHUHUN"
    "IDIDNIEIRLILISRIMIMNININDIOIOTIQIRQIRIRNISISLITITAJEJEYJMJAMJOJORJPJPNKEKENKGKGZKHKHMKIKIRKMCOMKNKNA"
    "KPPRKKRKORKWKWTKYCYMKZKAZLALAOLBLBNLCLCALILIELKLKALRLBRLSLSOLTLTULULUXLVLVALYLBYMAMARMCMCOMDMDAMEMNE"
    "MFMAFMGMDGMHMHLMKMKDMLMLIMMMMRMNMNGMOMACMPMNPMQMTQMRMRTMSMSRMTMLTMUMUSMVMDVMWMWIMXMEXMYMYSMZMOZNANAM"
    "NCNCLNENERNFNFKNGNGANINICNLNLDNONORNPNPLNRNRUNUNIUNZNZLOMOMNPAPANPEPERPFPYFPGPNGPHPHLPKPAKPLPOLPMSPM"
    "PNPCNPRPRIPSPSEPTPRTPWPLWPYPRYQAQATREREUROROURSSRBRURUSRWRWASASAUSBSLBSCSYCSDSDNSESWESGSGPSHSHNSISVN"
    "SJSJMSKSVKSLSLESMSMRSNSENSOSOMSRSURSSSSDSTSTPSVSLVSXSXMSYSYRSZSWZTCTCATDTCDTFATFTGTGOTHTHATJTJKTKTKL"
    "TLTLSTMTKMTNTUNTOTONTRTURTTTTOTVTUVTWTWNTZTZAUAUKRUGUGAUMUMIUSUSAUYURYUZUZBVAVATVCVCTVEVENVGVGBVIVIR"
    "VNVNMVUVUTWFWLFWSWSMXKXKXYEYEMYTMYTZAZAFZMZMBZWZWE";

// A gettext catalogue (.mo) as a map from message to translation; empty when the file is
// missing or malformed.
std::unordered_map<std::string, std::string> ReadCatalogue(const std::string& path)
{
    std::unordered_map<std::string, std::string> messages;
    std::ifstream file(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (data.size() < 20)
        return messages;
    const auto word = [&data](size_t at, bool swap) -> uint32_t {
        if (at + 4 > data.size())
            return UINT32_MAX;
        uint32_t v = 0;
        std::memcpy(&v, data.data() + at, 4);
        return swap ? __builtin_bswap32(v) : v;
    };
    const bool swap = word(0, false) != 0x950412deu;
    if (word(0, swap) != 0x950412deu)
        return messages;
    const uint32_t count = word(8, swap), originals = word(12, swap), translations = word(16, swap);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t keyLength = word(originals + 8ull * i, swap), keyAt = word(originals + 8ull * i + 4, swap);
        const uint32_t length = word(translations + 8ull * i, swap), at = word(translations + 8ull * i + 4, swap);
        if (keyLength == UINT32_MAX || length == UINT32_MAX || uint64_t(keyAt) + keyLength > data.size()
            || uint64_t(at) + length > data.size())
            return {};
        messages.emplace(data.substr(keyAt, keyLength), data.substr(at, length));
    }
    return messages;
}

// The catalogue of a language, "de_CH.UTF-8" trying de_CH, then de.
std::unordered_map<std::string, std::string> CatalogueFor(std::string language)
{
    language = language.substr(0, language.find_first_of(".@"));
    if (language.empty() || language == "C" || language == "POSIX" || language.compare(0, 2, "en") == 0
        || language.find('/') != std::string::npos || language[0] == '.')
        return {};
    for (const std::string& name : {language, language.substr(0, language.find('_'))}) {
        auto messages = ReadCatalogue(kCatalogues + name + "/LC_MESSAGES/geonames.mo");
        if (!messages.empty())
            return messages;
    }
    return {};
}

// A name the way a photo's text tag can hold it: no quotes or control characters, and a
// translator's "(England)" after a town's name left out.
std::string Clean(std::string text, bool town)
{
    if (town && text.size() > 3 && text.back() == ')') {
        const size_t open = text.rfind(" (");
        if (open != std::string::npos && open > 0)
            text.resize(open);
    }
    std::string clean;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != 0x7f)
            clean += c;
    return clean;
}

std::string Text(const char* text)
{
    return text ? text : "";
}

// One town of the library's list, named in the catalogue's language where it has the name.
// The library's own getters translate by the process's locale; its record (geonames id,
// name, region code, region, country code, country, ...) is read instead where it has that
// form, so that the language is the one asked for.
PlaceTown ReadTown(int index, const std::unordered_map<std::string, std::string>& catalogue)
{
    PlaceTown town;
    GeonamesCity* city = geonames_get_city(index);
    if (!city)
        return town;
    std::string id, regionKey;
    if (std::strcmp(g_variant_get_type_string(city), "(sssssssudd)") == 0) {
        const char *geonamesId, *name, *regionCode, *region, *countryCode, *country, *zone;
        guint32 population;
        double latitude, longitude;   // read again below, as the getters give them
        g_variant_get(city, "(&s&s&s&s&s&s&sudd)", &geonamesId, &name, &regionCode, &region, &countryCode, &country,
                      &zone, &population, &latitude, &longitude);
        id = geonamesId;
        town.names.city = name;
        town.names.state = region;
        town.names.countryCode = countryCode;
        town.names.country = country;
        regionKey = town.names.countryCode + "." + regionCode;
    } else {
        town.names.city = Text(geonames_city_get_name(city));
        town.names.state = Text(geonames_city_get_state(city));
        town.names.countryCode = Text(geonames_city_get_country_code(city));
        town.names.country = Text(geonames_city_get_country(city));
    }
    town.latitude = geonames_city_get_latitude(city);
    town.longitude = geonames_city_get_longitude(city);
    geonames_city_free(city);
    const auto translated = [&catalogue](const std::string& key, std::string& name) {
        const auto found = key.empty() ? catalogue.end() : catalogue.find(key);
        if (found != catalogue.end() && !found->second.empty())
            name = found->second;
    };
    translated(id, town.names.city);
    translated(regionKey, town.names.state);
    translated(town.names.countryCode, town.names.country);
    town.names.city = Clean(town.names.city, true);
    town.names.state = Clean(town.names.state, false);
    town.names.country = Clean(town.names.country, false);
    return town;
}

int LatitudeCell(double latitude)
{
    return std::clamp(static_cast<int>(std::floor(latitude + 90)), 0, 179);
}

int LongitudeCell(double longitude)
{
    const int cell = static_cast<int>(std::floor(longitude + 180));
    return ((cell % 360) + 360) % 360;
}

}  // namespace

double DistanceKm(double latitude1, double longitude1, double latitude2, double longitude2)
{
    const double radians = M_PI / 180;
    const double dLat = (latitude2 - latitude1) * radians, dLon = (longitude2 - longitude1) * radians;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2)
        + std::cos(latitude1 * radians) * std::cos(latitude2 * radians) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthKm * std::asin(std::min(1.0, std::sqrt(a)));
}

std::string CountryAlpha3(const std::string& alpha2)
{
    if (alpha2.size() != 2)
        return {};
    for (size_t at = 0; at + 5 <= sizeof kAlpha3 - 1; at += 5)
        if (alpha2.compare(0, 2, kAlpha3 + at, 2) == 0)
            return std::string(kAlpha3 + at + 2, 3);
    return {};
}

PlaceIndex::PlaceIndex(const std::string& language) : cells(180 * 360)
{
    const auto catalogue = CatalogueFor(language);
    const int count = geonames_get_n_cities();
    towns.reserve(static_cast<size_t>(std::max(count, 0)));
    std::map<std::string, std::string> alpha3;
    for (int i = 0; i < count; ++i) {
        PlaceTown town = ReadTown(i, catalogue);
        auto code = alpha3.try_emplace(town.names.countryCode);
        if (code.second)
            code.first->second = CountryAlpha3(town.names.countryCode);
        town.names.countryCode3 = code.first->second;
        if (town.names.Empty() || !std::isfinite(town.latitude) || !std::isfinite(town.longitude))
            continue;
        cells[static_cast<size_t>(LatitudeCell(town.latitude) * 360 + LongitudeCell(town.longitude))].push_back(
            static_cast<int>(towns.size()));
        towns.push_back({std::move(town), i});
    }
}

PlaceNames PlaceIndex::At(double latitude, double longitude, double maxKm) const
{
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90)
        return {};
    // Only towns within the larger of the two radii count: the cells that cover it. A degree
    // of latitude is at least 110.5 km; a degree of longitude shrinks toward the poles.
    const double reachKm = std::max(kRegionKm, std::isfinite(maxKm) ? std::min(maxKm, 20000.0) : 0.0);
    const int latitudeSpan = static_cast<int>(std::ceil(reachKm / 110.5));
    const double widest = std::cos(std::min(89.9, std::fabs(latitude) + latitudeSpan) * M_PI / 180);
    const int longitudeSpan = std::min(180, static_cast<int>(std::ceil(reachKm / (111.3 * widest))));
    const int row = LatitudeCell(latitude), column = LongitudeCell(longitude);
    const Town* nearest = nullptr;
    double best = INFINITY;
    for (int r = std::max(0, row - latitudeSpan); r <= std::min(179, row + latitudeSpan); ++r) {
        for (int dc = -longitudeSpan; dc <= longitudeSpan && dc < 360 - longitudeSpan; ++dc) {
            for (int t : cells[static_cast<size_t>(r * 360 + ((column + dc) % 360 + 360) % 360)]) {
                const Town& town = towns[static_cast<size_t>(t)];
                const double km = DistanceKm(latitude, longitude, town.town.latitude, town.town.longitude);
                if (km < best) {
                    best = km;
                    nearest = &town;
                }
            }
        }
    }
    if (!nearest)
        return {};
    PlaceNames place = nearest->town.names;
    if (best <= maxKm)
        return place;
    if (best > kRegionKm)
        return {};
    place.city.clear();   // too far to say the town: the region and country still hold
    return place;
}

std::vector<PlaceTown> PlaceIndex::Find(const std::string& text, size_t limit) const
{
    std::vector<PlaceTown> found;
    if (text.empty() || limit == 0)
        return found;
    guint length = 0;
    gint* hits = geonames_query_cities_sync(text.c_str(), GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr);
    if (!hits)
        return found;
    std::map<int, const Town*> byIndex;
    for (const Town& town : towns)
        byIndex.emplace(town.index, &town);
    // The library ranks its answers, best match first.
    for (guint i = 0; i < length && found.size() < limit; ++i) {
        const auto town = byIndex.find(hits[i]);
        if (town != byIndex.end())
            found.push_back(town->second->town);
    }
    g_free(hits);
    return found;
}

std::string PlaceLanguageFor(const std::string& setting)
{
    if (!setting.empty())
        return setting;
    // LANGUAGE is a list ("de:fr"); its first entry counts, as gettext takes it.
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            const std::string language = std::string(value).substr(0, std::string(value).find(':'));
            return language == "C" || language == "POSIX" || language.compare(0, 2, "en") == 0 ? "" : language;
        }
    }
    return {};
}

const PlaceIndex& PlacesIn(const std::string& language)
{
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<PlaceIndex>> indexes;
    const std::lock_guard<std::mutex> hold(lock);
    std::unique_ptr<PlaceIndex>& index = indexes[language];
    if (!index)
        index = std::make_unique<PlaceIndex>(language);
    return *index;
}

std::string AsciiPlaceName(const std::string& text)
{
    // U+00C0 to U+00FF and U+0100 to U+017F, each as the letter it carries an accent on.
    static const char latin1[] = "AAAAAAACEEEEIIIIDNOOOOO-OUUUUYTsaaaaaaaceeeeiiiidnooooo-ouuuuyty";
    static const char extendedA[] = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNn"
                                    "OoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
    static const std::map<unsigned, const char*> pairs = {{0xC6, "AE"}, {0xE6, "ae"}, {0xDF, "ss"},
        {0xDE, "Th"}, {0xFE, "th"}, {0x152, "OE"}, {0x153, "oe"}};
    std::string out;
    const auto put = [&out](const std::string& part) {
        for (char c : part) {
            const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            if (word)
                out += c;
            else if (!out.empty() && out.back() != '-')
                out += '-';
        }
    };
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
        unsigned code = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += static_cast<size_t>(extra) + 1;
        const auto pair = pairs.find(code);
        if (pair != pairs.end())
            put(pair->second);
        else if (code < 0x80)
            put(std::string(1, static_cast<char>(code)));
        else if (code >= 0xC0 && code <= 0xFF)
            put(std::string(1, latin1[code - 0xC0]));
        else if (code >= 0x100 && code <= 0x17F)
            put(std::string(1, extendedA[code - 0x100]));
        else
            put("-");
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out;
}
