#include "support/kinds/FitKind.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t kFitEpoch = 631065600;   // 1989-12-31 00:00:00 UTC

// CRC-16 with the reflected polynomial 0xA001, a bit at a time (the decoder's is by table).
uint16_t Crc(const std::string& bytes)
{
    uint16_t crc = 0;
    for (const unsigned char c : bytes) {
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

void Put(std::string& out, uint64_t value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i)
        out += static_cast<char>(value >> 8 * (bigEndian ? size - 1 - i : i));
}

struct FieldDef { int number, size, baseType; };

void Define(std::string& out, int local, int global, const std::vector<FieldDef>& fields, bool bigEndian,
            bool developer)
{
    out += static_cast<char>(0x40 | (developer ? 0x20 : 0) | local);
    out += '\0';
    out += static_cast<char>(bigEndian ? 1 : 0);
    Put(out, global, 2, bigEndian);
    out += static_cast<char>(fields.size());
    for (const FieldDef& f : fields)
        out += {static_cast<char>(f.number), static_cast<char>(f.size), static_cast<char>(f.baseType)};
    if (developer)
        out += std::string("\x01\x00\x03\x00", 4);   // one field: number 0, 3 bytes, developer 0
}

uint32_t Semicircles(double degrees)
{
    if (!std::isfinite(degrees))
        return 0x7FFFFFFF;
    return static_cast<uint32_t>(std::llround(degrees * 2147483648.0 / 180));
}

}  // namespace

std::string FitFile(const std::string& records, int headerSize)
{
    std::string file;
    file += static_cast<char>(headerSize);
    file += '\x20';                         // protocol 2.0
    Put(file, 2132, 2, false);              // profile 21.32
    Put(file, records.size(), 4, false);
    file += ".FIT";
    if (headerSize == 14)
        Put(file, Crc(file), 2, false);
    file += records;
    Put(file, Crc(file), 2, false);
    return file;
}

std::string FitBytesWith(const std::vector<KindPoint>& points, const FitOptions& options)
{
    const bool big = options.bigEndian;
    const bool enhanced = options.altitude != FitOptions::Altitude::Plain;
    const bool plain = options.altitude != FitOptions::Altitude::Enhanced;
    std::string records;
    // file_id: type activity, manufacturer development, time_created
    Define(records, 0, 0, {{0, 1, 0x00}, {1, 2, 0x84}, {4, 4, 0x86}}, big, false);
    records += '\0';
    records += '\x04';
    Put(records, 255, 2, big);
    Put(records, points.empty() ? 0 : points[0].time - kFitEpoch, 4, big);

    std::vector<FieldDef> fields = {{0, 4, 0x85}, {1, 4, 0x85}};
    if (enhanced)
        fields.push_back({78, 4, 0x86});
    if (plain)
        fields.push_back({2, 2, 0x84});
    Define(records, 2, 20, fields, big, options.developerField);   // record, compressed time
    fields.insert(fields.begin(), FieldDef{253, 4, 0x86});
    Define(records, 1, 20, fields, big, options.developerField);   // record with its timestamp

    bool first = true;
    int64_t last = 0;
    for (const KindPoint& p : points) {
        const bool compress = options.compressed && !first && p.time >= last && p.time - last < 32;
        if (compress) {
            records += static_cast<char>(0x80 | 2 << 5 | ((p.time - kFitEpoch) & 0x1F));
        } else {
            records += '\x01';
            Put(records, p.time - kFitEpoch, 4, big);
        }
        Put(records, Semicircles(p.lat), 4, big);
        Put(records, Semicircles(p.lon), 4, big);
        const uint64_t fifths = std::isfinite(p.ele) ? std::llround((p.ele + 500) * 5) : ~uint64_t{0};
        if (enhanced)
            Put(records, fifths, 4, big);
        if (plain)
            Put(records, enhanced && std::isfinite(p.ele) ? 0 : fifths, 2, big);
        if (options.developerField)
            records += "abc";
        first = false;
        last = p.time;
    }
    return FitFile(records);
}

std::string FitBytes(const std::vector<KindPoint>& points)
{
    return FitBytesWith(points, FitOptions());
}
