#include "coords/PlaceCache.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/FileSafety.h"

namespace {

// The file starts with this and a format number; raise the number whenever the layout or
// the way names are made changes, so that older files are built again.
const char kMagic[] = "pinroute places\n";
const uint32_t kFormat = 2;

// FNV-1a, 64 bits: enough to tell a damaged file from a whole one.
uint64_t Checksum(const char* data, size_t size)
{
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    return hash;
}

template <typename T> void Put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void PutText(std::string& out, const std::string& text)
{
    Put(out, static_cast<uint32_t>(text.size()));
    out += text;
}

// Reads the file's fields in order; every read past the end fails, and once one fails all do.
class Reader {
public:
    Reader(const char* data, size_t size) : data(data), size(size) {}
    template <typename T> bool Get(T& value)
    {
        if (!ok || size - at < sizeof value)
            return ok = false;
        std::memcpy(&value, data + at, sizeof value);
        at += sizeof value;
        return true;
    }
    bool GetText(std::string& text)
    {
        uint32_t length = 0;
        if (!Get(length) || size - at < length)
            return ok = false;
        text.assign(data + at, length);
        at += length;
        return true;
    }
    // Whether count records of at least minimum bytes each can still follow.
    bool Holds(uint32_t count, size_t minimum) { return ok = ok && count <= (size - at) / minimum; }
    bool AtEnd() const { return ok && at == size; }

private:
    const char* data;
    size_t size;
    size_t at = 0;
    bool ok = true;
};

bool ReadTowns(Reader& in, PlaceTable& table)
{
    uint32_t count = 0;
    if (!in.Get(count) || !in.Holds(count, 4 + 4 + 4 + 16))
        return false;
    table.towns.resize(count);
    int32_t previous = -1;
    for (PlaceEntry& town : table.towns) {
        if (!in.GetText(town.city) || !in.Get(town.region) || !in.Get(town.index) || !in.Get(town.latitude)
            || !in.Get(town.longitude))
            return false;
        // Searches find towns by their library index, in order.
        if (town.region >= table.regions.size() || town.index <= previous || !std::isfinite(town.latitude)
            || !std::isfinite(town.longitude))
            return false;
        previous = town.index;
    }
    return true;
}

}  // namespace

std::string PlaceCacheFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/')
        return std::string(cache) + "/pinroute";
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/.cache/pinroute" : std::string();
}

std::string EncodePlaceTable(const std::string& key, const PlaceTable& table)
{
    std::string out(kMagic);
    Put(out, kFormat);
    PutText(out, key);
    Put(out, static_cast<uint32_t>(table.regions.size()));
    for (const PlaceRegion& region : table.regions)
        for (const std::string* text : {&region.state, &region.country, &region.countryCode, &region.countryCode3})
            PutText(out, *text);
    Put(out, static_cast<uint32_t>(table.towns.size()));
    for (const PlaceEntry& town : table.towns) {
        PutText(out, town.city);
        Put(out, town.region);
        Put(out, town.index);
        Put(out, town.latitude);
        Put(out, town.longitude);
    }
    Put(out, Checksum(out.data(), out.size()));
    return out;
}

bool DecodePlaceTable(const std::string& bytes, const std::string& key, PlaceTable& table)
{
    const size_t magic = sizeof kMagic - 1;
    uint64_t sum = 0;
    if (bytes.size() < magic + sizeof sum || bytes.compare(0, magic, kMagic) != 0)
        return false;
    std::memcpy(&sum, bytes.data() + bytes.size() - sizeof sum, sizeof sum);
    if (sum != Checksum(bytes.data(), bytes.size() - sizeof sum))
        return false;
    Reader in(bytes.data() + magic, bytes.size() - magic - sizeof sum);
    uint32_t format = 0, regions = 0;
    std::string madeFor;
    if (!in.Get(format) || format != kFormat || !in.GetText(madeFor) || madeFor != key || !in.Get(regions)
        || !in.Holds(regions, 4 * 4))
        return false;
    PlaceTable read;
    read.regions.resize(regions);
    for (PlaceRegion& region : read.regions)
        for (std::string* text : {&region.state, &region.country, &region.countryCode, &region.countryCode3})
            if (!in.GetText(*text))
                return false;
    if (!ReadTowns(in, read) || !in.AtEnd())
        return false;
    table = std::move(read);
    return true;
}

bool LoadPlaceTable(const std::string& path, const std::string& key, PlaceTable& table)
{
    std::string bytes, reason;
    return !path.empty() && ReadRegularFile(path, bytes, reason) && DecodePlaceTable(bytes, key, table);
}

void SavePlaceTable(const std::string& path, const std::string& key, const PlaceTable& table)
{
    if (path.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::string reason;
    ReplaceFileSafely(path, EncodePlaceTable(key, table), 0644, reason);
}
