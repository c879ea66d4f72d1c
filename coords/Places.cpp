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

#include <dlfcn.h>
#include <sys/stat.h>

#include <geonames.h>

namespace {

const double kEarthKm = 6371.0088;   // mean radius
const double kRegionKm = 100;        // beyond this from every town, a position has no place

// Where libgeonames0 keeps its translations (one gettext catalogue per language).
const char kCatalogues[] = "/usr/share/locale/";

// The words for a region's kind that go before its name in the data's English names and in
// the German, French and Italian catalogues, longest first where one starts another. The
// data's 2,700 regions hold them only for Swiss cantons ("Canton of Zurich", "Kanton
// Zürich", "Canton de Zurich", "Canton Zurigo"), two US states, seven Indian states and two
// provinces (Groningen, Eastern Cape), whose neighbours carry the bare name. "Region of" is
// not one: Tajikistan's "Region of Republican Subordination" is a name. Words after a name
// ("Brittany Region", "Aichi Prefecture") stay: "Flemish Region" would lose its noun.
const char* const kRegionKinds[] = {"Canton of ", "Canton de ", "Canton du ", "Canton d'", "Canton d\u2019",
                                    "Canton ", "Kanton ", "State of ", "Province of ", "County of "};

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

// The catalogue file of a language, "de_CH.UTF-8" trying de_CH, then de; "" for English
// and for a language the library has no catalogue for.
std::string CataloguePath(std::string language)
{
    language = language.substr(0, language.find_first_of(".@"));
    if (language.empty() || language == "C" || language == "POSIX" || language.compare(0, 2, "en") == 0
        || language.find('/') != std::string::npos || language[0] == '.')
        return {};
    for (const std::string& name : {language, language.substr(0, language.find('_'))}) {
        const std::string path = kCatalogues + name + "/LC_MESSAGES/geonames.mo";
        struct stat info;
        if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            return path;
    }
    return {};
}

// "path size modification-time" of a file, which changes when a package update replaces it.
std::string FileKey(const std::string& path)
{
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return "none";
    return path + " " + std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "."
        + std::to_string(info.st_mtim.tv_nsec);
}

// What an index is built from: the library (its data is compiled into it) and the catalogue.
std::string IndexKey(const std::string& catalogue)
{
    Dl_info library{};
    const bool found = dladdr(reinterpret_cast<void*>(&geonames_get_n_cities), &library) != 0
        && library.dli_fname;
    return "library " + (found ? FileKey(library.dli_fname) : std::string("unknown")) + "\ncatalogue "
        + FileKey(catalogue);
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

using Catalogue = std::unordered_map<std::string, std::string>;

// One town of the library's list into the table, named in the catalogue's language where it
// has the name. The library's own getters translate by the process's locale; its record
// (geonames id, name, region code, region, country code, country, zone, population,
// latitude, longitude) is read instead where it has that form, so that the language is the
// one asked for. regions maps "CH.ZH" to its place in the table.
void AddTown(int index, const Catalogue& catalogue, PlaceTable& table, std::map<std::string, uint32_t>& regions)
{
    GeonamesCity* city = geonames_get_city(index);
    if (!city)
        return;
    PlaceEntry town;
    PlaceRegion region;
    std::string id, regionKey;
    if (std::strcmp(g_variant_get_type_string(city), "(sssssssudd)") == 0) {
        const char *geonamesId, *name, *regionCode, *state, *countryCode, *country, *zone;
        guint32 population;
        g_variant_get(city, "(&s&s&s&s&s&s&sudd)", &geonamesId, &name, &regionCode, &state, &countryCode, &country,
                      &zone, &population, &town.latitude, &town.longitude);
        id = geonamesId;
        town.city = name;
        region = {state, country, countryCode, ""};
        regionKey = region.countryCode + "." + regionCode;
    } else {
        town.city = Text(geonames_city_get_name(city));
        region = {Text(geonames_city_get_state(city)), Text(geonames_city_get_country(city)),
                  Text(geonames_city_get_country_code(city)), ""};
        town.latitude = geonames_city_get_latitude(city);
        town.longitude = geonames_city_get_longitude(city);
        regionKey = region.countryCode + "." + region.state;
    }
    geonames_city_free(city);
    const auto translated = [&catalogue](const std::string& key, std::string& name) {
        const auto found = key.empty() ? catalogue.end() : catalogue.find(key);
        if (found != catalogue.end() && !found->second.empty())
            name = found->second;
    };
    translated(id, town.city);
    town.city = Clean(town.city, true);
    const auto known = regions.try_emplace(regionKey, static_cast<uint32_t>(table.regions.size()));
    if (known.second) {
        translated(regionKey, region.state);
        translated(region.countryCode, region.country);
        region.state = RegionShortName(Clean(region.state, false));
        region.country = Clean(region.country, false);
        region.countryCode3 = CountryAlpha3(region.countryCode);
        table.regions.push_back(std::move(region));
    }
    const PlaceRegion& named = table.regions[known.first->second];
    if ((town.city.empty() && named.state.empty() && named.country.empty()) || !std::isfinite(town.latitude)
        || !std::isfinite(town.longitude))
        return;
    town.region = known.first->second;
    town.index = index;
    table.towns.push_back(std::move(town));
}

// The table from the library's data, in the catalogue's language.
PlaceTable BuildTable(const std::string& cataloguePath)
{
    const Catalogue catalogue = cataloguePath.empty() ? Catalogue() : ReadCatalogue(cataloguePath);
    PlaceTable table;
    std::map<std::string, uint32_t> regions;
    const int count = geonames_get_n_cities();
    table.towns.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        AddTown(i, catalogue, table, regions);
    return table;
}

// A position as a point on the unit sphere: x toward 0 N 0 E, z toward the north pole.
void UnitPoint(double latitude, double longitude, double* point)
{
    const double radians = M_PI / 180, across = std::cos(latitude * radians);
    point[0] = across * std::cos(longitude * radians);
    point[1] = across * std::sin(longitude * radians);
    point[2] = std::sin(latitude * radians);
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

std::string RegionShortName(const std::string& name)
{
    for (const char* kind : kRegionKinds) {
        const size_t length = std::strlen(kind);
        // What follows must start a name: a capital, or a letter beyond ASCII ("Île", "Ä").
        if (name.size() > length && name.compare(0, length, kind) == 0
            && ((name[length] >= 'A' && name[length] <= 'Z') || static_cast<unsigned char>(name[length]) >= 0x80))
            return name.substr(length);
    }
    return name;
}

std::string PlaceCachePath(const std::string& language)
{
    const std::string folder = PlaceCacheFolder();
    if (folder.empty())
        return {};
    // The catalogue's folder names the language: ".../locale/de/LC_MESSAGES/geonames.mo".
    std::string name = "en";
    const std::string catalogue = CataloguePath(language);
    if (!catalogue.empty()) {
        const size_t end = catalogue.rfind("/LC_MESSAGES/");
        name = catalogue.substr(sizeof kCatalogues - 1, end - (sizeof kCatalogues - 1));
    }
    return folder + "/places-" + name + ".cache";
}

PlaceIndex::PlaceIndex(const std::string& language)
{
    const std::string catalogue = CataloguePath(language), key = IndexKey(catalogue);
    const std::string cache = PlaceCachePath(language);
    fromCache = LoadPlaceTable(cache, key, table);
    if (!fromCache) {
        table = BuildTable(catalogue);
        SavePlaceTable(cache, key, table);
    }
    // The grid: count the towns of each cell, then place each town in its cell's run.
    const auto cellOf = [](const PlaceEntry& town) {
        return static_cast<size_t>(LatitudeCell(town.latitude) * 360 + LongitudeCell(town.longitude));
    };
    cellStart.assign(180 * 360 + 1, 0);
    for (const PlaceEntry& town : table.towns)
        ++cellStart[cellOf(town) + 1];
    for (size_t c = 1; c < cellStart.size(); ++c)
        cellStart[c] += cellStart[c - 1];
    cellTowns.resize(table.towns.size());
    std::vector<uint32_t> next(cellStart.begin(), cellStart.end() - 1);
    points.resize(3 * table.towns.size());
    for (size_t t = 0; t < table.towns.size(); ++t) {
        cellTowns[next[cellOf(table.towns[t])]++] = static_cast<uint32_t>(t);
        UnitPoint(table.towns[t].latitude, table.towns[t].longitude, &points[3 * t]);
    }
}

PlaceTown PlaceIndex::TownAt(size_t town) const
{
    const PlaceEntry& entry = table.towns[town];
    const PlaceRegion& region = table.regions[entry.region];
    return {{entry.city, region.state, region.country, region.countryCode, region.countryCode3}, entry.latitude,
            entry.longitude};
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
    double here[3];
    UnitPoint(latitude, longitude, here);
    size_t nearest = SIZE_MAX;
    double closest = -INFINITY;   // the dot product grows as the distance shrinks
    for (int r = std::max(0, row - latitudeSpan); r <= std::min(179, row + latitudeSpan); ++r) {
        for (int dc = -longitudeSpan; dc <= longitudeSpan && dc < 360 - longitudeSpan; ++dc) {
            const size_t cell = static_cast<size_t>(r * 360 + ((column + dc) % 360 + 360) % 360);
            for (uint32_t at = cellStart[cell]; at < cellStart[cell + 1]; ++at) {
                const double* point = &points[3 * size_t(cellTowns[at])];
                const double dot = here[0] * point[0] + here[1] * point[1] + here[2] * point[2];
                if (dot > closest) {
                    closest = dot;
                    nearest = cellTowns[at];
                }
            }
        }
    }
    if (nearest == SIZE_MAX)
        return {};
    const PlaceEntry& town = table.towns[nearest];
    const double best = DistanceKm(latitude, longitude, town.latitude, town.longitude);
    PlaceNames place = TownAt(nearest).names;
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
    // The library ranks its answers, best match first; the table holds its towns in its order.
    for (guint i = 0; i < length && found.size() < limit; ++i) {
        const auto town = std::lower_bound(table.towns.begin(), table.towns.end(), hits[i],
                                           [](const PlaceEntry& entry, int index) { return entry.index < index; });
        if (town != table.towns.end() && town->index == hits[i])
            found.push_back(TownAt(static_cast<size_t>(town - table.towns.begin())));
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
