#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The box structure of an ISO base media file (HEIF, HEIC, AVIF) as far as its items go:
// the brands, the top-level boxes, and the item information, locations and references of
// the file-level meta box. Every offset is from the start of the file, in bytes.

// A top-level box.
struct BmffBox {
    std::string type;          // four characters
    uint64_t start = 0;        // of its header
    uint64_t size = 0;         // header included; a box whose size field is 0 runs to the end
    uint64_t header = 0;       // 8, 16 with a 64-bit size, +16 for a uuid box
    bool largeSize = false;    // the size is in the 64-bit field at start + 8
    bool toEnd = false;        // the size field is 0
};

// An item's entry in iinf.
struct BmffItemInfo {
    uint32_t id = 0;
    std::string type;          // "Exif", "hvc1", "mime", ...; empty before infe version 2
    uint16_t protection = 0;   // an index into ipro; 0: not protected
    std::string encoding;      // a mime item's content encoding ("" when none)
};

// One extent of an item's data, with where its fields lie so they can be rewritten.
struct BmffExtent {
    uint64_t offset = 0;
    uint64_t length = 0;       // 0: to the end of the data
    uint64_t offsetField = 0;  // file position of extent_offset (offsetSize bytes)
    uint64_t lengthField = 0;  // file position of extent_length (lengthSize bytes)
};

// An item's entry in iloc.
struct BmffLocation {
    uint32_t id = 0;
    int construction = 0;      // 0: in the file, 1: in idat, 2: from other items
    uint16_t dataReference = 0;   // 0: this file
    uint64_t baseOffset = 0;
    uint64_t baseOffsetField = 0;   // file position of base_offset (baseOffsetSize bytes)
    std::vector<BmffExtent> extents;
};

struct BmffReference {
    std::string type;          // "cdsc", "thmb", "dimg", ...
    uint32_t from = 0;
    std::vector<uint32_t> to;
};

struct BmffLayout {
    std::string majorBrand;
    std::vector<std::string> compatibleBrands;
    std::vector<BmffBox> top;  // in file order
    bool hasMeta = false;
    std::string handler;       // hdlr's handler type, "pict" for still images
    uint32_t primary = 0;      // pitm's item; 0 when there is none
    std::vector<BmffItemInfo> infos;
    int ilocVersion = -1;      // -1: no iloc
    int offsetSize = 0, lengthSize = 0, baseOffsetSize = 0, indexSize = 0;   // bytes
    std::vector<BmffLocation> locations;
    std::vector<BmffReference> references;
    bool hasIdat = false;
    uint64_t idatStart = 0, idatSize = 0;   // idat's payload
};

// Reads the structure of size bytes at data. Never reads outside them, nor past the end of
// the box a field belongs to. false with a reason ("box at 1234 runs past its parent")
// when the bytes are not a well-formed ISO base media file.
bool ParseBmff(const uint8_t* data, size_t size, BmffLayout& layout, std::string& reason);

// The bytes of an item stored in the file or in idat, its extents in order; false with a
// reason for an item built from other items, in another file, or reaching past its data.
bool ItemBytes(const uint8_t* data, size_t size, const BmffLayout& layout, const BmffLocation& location,
               std::string& bytes, std::string& reason);
