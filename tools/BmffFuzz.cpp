// libFuzzer target for the ISO base media box parser and the narrow Exif write built on it;
// scripts/fuzz-bmff.sh builds and runs it.
//
// Every item the parser finds is read (the reads stay inside the input, which the address
// sanitizer enforces). Where the write covers the input's shape, a changed Exif is written and
// must pass the write's own check, and a second plan of the result must cover it too. Built
// with -DBMFF_SEED_WRITER instead, this file is a program that makes seed inputs from photos.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exif/BmffBoxes.h"
#include "exif/BmffExifWriter.h"

#ifndef BMFF_SEED_WRITER

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BmffLayout layout;
    std::string reason;
    if (ParseBmff(data, size, layout, reason)) {
        std::string bytes;
        for (const BmffLocation& location : layout.locations)
            if (ItemBytes(data, size, layout, location, bytes, reason) && bytes.size() > size)
                std::abort();
    } else if (reason.empty()) {
        std::abort();
    }
    const std::string original(reinterpret_cast<const char*>(data), size);
    BmffExifEdit edit;
    if (edit.Plan(original, reason) != BmffShape::Covered)
        return 0;
    // The tool's edit stands in as the same TIFF with one more byte at its end.
    std::string exv = edit.Exv(), tiff, updated;
    if (!ExifOfExv(exv, tiff))
        std::abort();
    tiff += 'x';
    const size_t length = 8 + tiff.size();
    if (length <= 0xFFFF) {
        exv = std::string("\xFF\x01" "Exiv2\xFF\xE1", 9) + static_cast<char>(length >> 8)
            + static_cast<char>(length & 0xFF) + std::string("Exif\0\0", 6) + tiff + "\xFF\xD9";
        if (!edit.Build(original, exv, updated, reason))
            std::abort();
        BmffExifEdit again;
        if (again.Plan(updated, reason) != BmffShape::Covered || again.Exv() != exv)
            std::abort();
    }
    return 0;
}

#else

#include <fstream>
#include <iterator>

// A seed keeps a photo's boxes before its last one, then an mdat that holds only the Exif
// item, whose extent offset is pointed at it: small, and still a shape the write covers.
int main(int argc, char** argv)
{
    for (int n = 2; n < argc; ++n) {
        std::ifstream in(argv[n], std::ios::binary);
        std::string photo((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto* data = reinterpret_cast<const uint8_t*>(photo.data());
        BmffLayout layout;
        std::string reason, payload;
        if (!ParseBmff(data, photo.size(), layout, reason) || layout.offsetSize != 4)
            continue;
        std::string seed = photo.substr(0, layout.top.back().start);
        for (const BmffItemInfo& info : layout.infos) {
            for (const BmffLocation& location : layout.locations) {
                if (info.type != "Exif" || location.id != info.id || location.extents.size() != 1
                    || !ItemBytes(data, photo.size(), layout, location, payload, reason))
                    continue;
                uint64_t offset = seed.size() + 8 - location.baseOffset;
                for (int i = 3; i >= 0; --i, offset >>= 8)
                    seed[location.extents[0].offsetField + i] = static_cast<char>(offset & 0xFF);
            }
        }
        const size_t size = 8 + payload.size();
        seed += std::string{char(size >> 24), char((size >> 16) & 0xFF), char((size >> 8) & 0xFF), char(size & 0xFF)};
        seed += "mdat" + payload;
        const std::string name = argv[n];
        std::ofstream(std::string(argv[1]) + "/" + name.substr(name.rfind('/') + 1) + ".seed", std::ios::binary) << seed;
    }
    return 0;
}

#endif
