#include "track/readers/FitDecoder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint16_t kRecordMessage = 20;
constexpr uint8_t kTimestampField = 253;
constexpr int64_t kFitEpoch = 631065600;        // 1989-12-31 00:00:00 UTC as a Unix time
constexpr uint32_t kFirstAbsoluteTime = 0x10000000;   // below: seconds since the device started
constexpr uint64_t kNoValue = ~uint64_t{0};

// The byte size of each base type, by its number (the low 5 bits of the base type byte).
constexpr uint8_t kBaseTypeSizes[] = {1, 1, 1, 2, 2, 4, 4, 1, 4, 8, 1, 2, 4, 1, 8, 8, 8};

// The FIT CRC-16 (reflected polynomial 0xA001, initial value 0), four bits at a time.
uint16_t Crc16(uint16_t crc, const uint8_t* p, size_t n)
{
    static const uint16_t table[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00, 0x2800, 0xE401,
                                       0xA001, 0x6C00, 0x7800, 0xB401, 0x5000, 0x9C01, 0x8801, 0x4400};
    for (size_t i = 0; i < n; ++i) {
        crc = static_cast<uint16_t>((crc >> 4) ^ table[crc & 0xF] ^ table[p[i] & 0xF]);
        crc = static_cast<uint16_t>((crc >> 4) ^ table[crc & 0xF] ^ table[p[i] >> 4]);
    }
    return crc;
}

uint64_t Unsigned(const uint8_t* p, size_t size, bool bigEndian)
{
    uint64_t v = 0;
    for (size_t i = 0; i < size; ++i)
        v = v << 8 | p[bigEndian ? i : size - 1 - i];
    return v;
}

}  // namespace

bool FitDecoder::Fail(const std::string& why)
{
    error = why;
    pending.clear();
    return false;
}

bool FitDecoder::Feed(const char* data, size_t size)
{
    if (!error.empty())
        return false;
    pending.append(data, size);
    const auto* bytes = reinterpret_cast<const uint8_t*>(pending.data());
    size_t at = 0;
    for (;;) {
        const Stage before = stage;
        size_t used = 0;
        if (!Step(bytes + at, pending.size() - at, used))
            return false;
        at += used;
        if (used == 0 && stage == before)
            break;   // the next step needs more bytes
    }
    pending.erase(0, at);
    return true;
}

bool FitDecoder::Finish()
{
    if (!error.empty())
        return false;
    if (stage == Stage::Trailing || (stage == Stage::Header && files > 0))
        return true;   // a few bytes after a file can't be one: ignored like any other tail
    return Fail(stage == Stage::Header && pending.empty() ? "not a FIT file (empty)"
                                                          : "damaged FIT file (cut short)");
}

bool FitDecoder::Step(const uint8_t* p, size_t available, size_t& used)
{
    switch (stage) {
    case Stage::Header:
        return ReadHeader(p, available, used);
    case Stage::Records:
        return ReadRecord(p, available, used);
    case Stage::Skip:
        // After a fault the records can't be followed, but the checksum still says
        // whether the file was damaged or written that way.
        used = static_cast<size_t>(std::min<uint64_t>(available, remaining));
        crc = Crc16(crc, p, used);
        remaining -= used;
        if (remaining == 0)
            stage = Stage::Crc;
        return true;
    case Stage::Crc:
        if (available < 2)
            return true;
        used = 2;
        if (Unsigned(p, 2, false) != crc)
            return Fail("damaged FIT file (checksum)");
        if (!damage.empty())
            return Fail(damage);
        ++files;
        stage = Stage::Header;
        return true;
    case Stage::Trailing:
        used = available;
        return true;
    }
    return true;
}

bool FitDecoder::ReadHeader(const uint8_t* p, size_t available, size_t& used)
{
    if (available == 0)
        return true;
    const size_t size = p[0];
    const bool header = (size == 12 || size == 14);
    if (header && available < size)
        return true;
    if (!header || std::memcmp(p + 8, ".FIT", 4) != 0) {
        if (files == 0)
            return Fail("not a FIT file");
        stage = Stage::Trailing;
        return true;
    }
    if (size == 14) {
        const uint64_t stored = Unsigned(p + 12, 2, false);
        if (stored != 0 && stored != Crc16(0, p, 12))
            return Fail("damaged FIT file (header checksum)");
    }
    used = size;
    crc = Crc16(0, p, size);
    remaining = Unsigned(p + 4, 4, false);
    damage.clear();
    for (Definition& d : definitions)
        d = Definition();
    haveTimestamp = false;
    stage = remaining > 0 ? Stage::Records : Stage::Crc;
    return true;
}

bool FitDecoder::Have(uint64_t n, size_t available)
{
    if (n > remaining) {
        damage = "damaged FIT file (message past the end of the data)";
        stage = Stage::Skip;
        return false;
    }
    return n <= available;
}

bool FitDecoder::Damaged(const char* why)
{
    damage = std::string("damaged FIT file (") + why + ")";
    stage = Stage::Skip;
    return false;
}

bool FitDecoder::ReadDefinition(const uint8_t* p, size_t available, size_t& length)
{
    // Header, reserved, architecture, global number (2), field count, 3 bytes a field; then
    // with developer data a count and 3 bytes a field.
    const uint8_t h = p[0];
    if (!Have(6, available))
        return false;
    length = 6 + size_t{3} * p[5];
    if ((h & 0x20) && !Have(length + 1, available))
        return false;
    if (h & 0x20)
        length += 1 + size_t{3} * p[length];
    if (!Have(length, available))
        return false;
    if (p[2] > 1)
        return Damaged("byte order");
    Definition def;
    def.bigEndian = p[2] == 1;
    def.global = static_cast<uint16_t>(Unsigned(p + 3, 2, def.bigEndian));
    for (size_t i = 0; i < p[5]; ++i) {
        const uint8_t* f = p + 6 + 3 * i;
        const uint8_t base = f[2] & 0x1F;
        if (base < sizeof kBaseTypeSizes && f[1] % kBaseTypeSizes[base] != 0)
            return Damaged("field size");
        def.fields.push_back({f[0], f[1], def.size});
        def.size += f[1];
    }
    if (h & 0x20) {   // developer fields: number, size, developer index; only their size matters
        const uint8_t* dev = p + 6 + size_t{3} * p[5];
        for (size_t i = 0; i < dev[0]; ++i)
            def.size += dev[1 + 3 * i + 1];
    }
    def.defined = true;
    definitions[h & 0x0F] = std::move(def);
    return true;
}

bool FitDecoder::ReadRecord(const uint8_t* p, size_t available, size_t& used)
{
    if (!Have(1, available))
        return true;
    const uint8_t h = p[0];
    size_t length = 0;
    if ((h & 0xC0) == 0x40) {
        if (!ReadDefinition(p, available, length))
            return true;
    } else {
        // Data, with a normal header (local type in bits 0-3) or a compressed timestamp
        // header (local type in bits 5-6, seconds in bits 0-4).
        const bool compressed = h & 0x80;
        const Definition& def = definitions[compressed ? (h >> 5) & 3 : h & 0x0F];
        if (!def.defined) {
            Damaged("data for an undefined message");
            return true;
        }
        length = 1 + size_t{def.size};
        if (!Have(length, available))
            return true;
        DecodeData(def, p + 1, compressed, h & 0x1F);
    }
    used = length;
    crc = Crc16(crc, p, length);
    remaining -= length;
    if (remaining == 0)
        stage = Stage::Crc;
    return true;
}

void FitDecoder::DecodeData(const Definition& def, const uint8_t* content, bool compressed, uint8_t offset)
{
    uint64_t timestamp = kNoValue, lat = kNoValue, lon = kNoValue, altitude = kNoValue, enhanced = kNoValue;
    for (const Field& f : def.fields) {
        if (f.size != 2 && f.size != 4)
            continue;   // no field read here has another size
        const uint64_t v = Unsigned(content + f.offset, f.size, def.bigEndian);
        if (f.number == kTimestampField && f.size == 4 && v != 0xFFFFFFFF)
            timestamp = v;
        else if (def.global != kRecordMessage)
            continue;
        else if ((f.number == 0 || f.number == 1) && f.size == 4 && v != 0x7FFFFFFF)
            (f.number == 0 ? lat : lon) = v;
        else if (f.number == 2 && f.size == 2 && v != 0xFFFF)
            altitude = v;
        else if (f.number == 78 && f.size == 4 && v != 0xFFFFFFFF)
            enhanced = v;
    }
    // Any message's timestamp is the reference for the compressed ones after it; each
    // compressed header's 5 bits are the low bits of its time, rolled over past 31.
    if (timestamp != kNoValue) {
        lastTimestamp = static_cast<uint32_t>(timestamp);
        haveTimestamp = true;
    } else if (compressed && haveTimestamp) {
        lastTimestamp += (offset - lastTimestamp) & 0x1F;
        timestamp = lastTimestamp;
    }
    if (def.global != kRecordMessage)
        return;
    // Semicircles: 2^31 of them make 180 degrees; beyond +-2^30 a latitude means nothing.
    const auto latitude = static_cast<int32_t>(static_cast<uint32_t>(lat));
    if (lat == kNoValue || lon == kNoValue || latitude > (1 << 30) || latitude < -(1 << 30)) {
        ++withoutPosition;
        return;
    }
    FitPoint point;
    if (timestamp != kNoValue && timestamp >= kFirstAbsoluteTime)
        point.time = static_cast<int64_t>(timestamp) + kFitEpoch;
    point.lat = latitude * (180.0 / 2147483648.0);
    point.lon = static_cast<int32_t>(static_cast<uint32_t>(lon)) * (180.0 / 2147483648.0);
    // Altitude counts fifths of a metre from -500 m; the enhanced field has the same scale
    // with room above 12,607 m.
    const uint64_t fifths = enhanced != kNoValue ? enhanced : altitude;
    if (fifths != kNoValue) {
        point.hasElevation = true;
        point.decimetres = (static_cast<int64_t>(fifths) - 2500) * 2;
    }
    onPoint(point);
}
