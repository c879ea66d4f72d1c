#include "exif/BmffExifWriter.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const char kExvMagic[] = "\xFF\x01"
                         "Exiv2";
const size_t kExvMagicLength = 7;
const char kExifName[] = "Exif\0\0";
const size_t kExifNameLength = 6;
// An APP1 segment's length field counts itself and the Exif name too.
const size_t kLargestTiff = 0xFFFF - 2 - kExifNameLength;

const uint8_t* Bytes(const std::string& text)
{
    return reinterpret_cast<const uint8_t*>(text.data());
}

unsigned char ByteAt(const std::string& text, size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

void PutField(std::string& bytes, uint64_t at, int size, uint64_t value)
{
    for (int i = size - 1; i >= 0; --i, value >>= 8)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
}

bool FitsField(uint64_t value, int size)
{
    return size >= 8 || value <= (uint64_t(1) << (8 * size)) - 1;
}

bool KnownBrand(const std::string& brand)
{
    return brand == "heic" || brand == "heix" || brand == "mif1" || brand == "msf1" || brand == "avif";
}

bool IsTiffHeader(const std::string& bytes, size_t at)
{
    return bytes.compare(at, 4, "II*\0", 4) == 0 || bytes.compare(at, 4, "MM\0*", 4) == 0;
}

// The Exif items: with several, those that describe the primary image.
std::vector<uint32_t> ExifItems(const BmffLayout& layout)
{
    std::vector<uint32_t> all;
    for (const BmffItemInfo& info : layout.infos)
        if (info.type == "Exif")
            all.push_back(info.id);
    if (all.size() <= 1)
        return all;
    std::vector<uint32_t> primary;
    for (const BmffReference& r : layout.references) {
        const bool aboutPrimary = std::find(r.to.begin(), r.to.end(), layout.primary) != r.to.end();
        if (r.type == "cdsc" && aboutPrimary && std::find(all.begin(), all.end(), r.from) != all.end())
            primary.push_back(r.from);
    }
    return primary;
}

// The Exif item's entry in layout.locations, where it has one the write covers: one Exif item
// (or one for the primary image), unprotected, in one extent of this file outside idat.
BmffShape FindExif(const BmffLayout& layout, size_t& location)
{
    const std::vector<uint32_t> items = ExifItems(layout);
    const bool anyExif = std::any_of(layout.infos.begin(), layout.infos.end(),
                                     [](const BmffItemInfo& info) { return info.type == "Exif"; });
    if (items.size() != 1)
        return anyExif ? BmffShape::SeveralExifItems : BmffShape::NoExifItem;
    std::vector<size_t> found;
    for (size_t i = 0; i < layout.locations.size(); ++i)
        if (layout.locations[i].id == items[0])
            found.push_back(i);
    if (found.size() != 1)
        return found.empty() ? BmffShape::NoExifItem : BmffShape::SeveralExifItems;
    location = found[0];
    const BmffLocation& exif = layout.locations[location];
    for (const BmffItemInfo& info : layout.infos)
        if (info.id == items[0] && info.protection != 0)
            return BmffShape::ProtectedExif;
    if (exif.construction != 0)
        return exif.construction == 1 ? BmffShape::ExifInIdat : BmffShape::ExifFromItems;
    if (exif.dataReference != 0)
        return BmffShape::DataReference;
    if (exif.extents.size() != 1)
        return BmffShape::SeveralExtents;
    return BmffShape::Covered;
}

// Whether the other items' data leaves the write's fields alone (in a well-formed file it
// does) and none runs to the end of the file, where the new Exif goes.
BmffShape OtherItems(const BmffLayout& layout, size_t location, uint64_t size)
{
    const BmffLocation& exif = layout.locations[location];
    const BmffBox& last = layout.top.back();
    // The fields the write changes: no other item's data may hold them.
    const uint64_t fields[][2] = {{exif.baseOffsetField, uint64_t(layout.baseOffsetSize)},
        {exif.extents[0].offsetField, uint64_t(layout.offsetSize + layout.lengthSize)},
        {last.start, last.largeSize ? 16u : 4u}};
    for (size_t i = 0; i < layout.locations.size(); ++i) {
        const BmffLocation& other = layout.locations[i];
        for (const BmffExtent& extent : other.extents) {
            if (i == location || other.construction != 0)
                continue;
            if (extent.length == 0)
                return BmffShape::ItemToEnd;
            if (other.baseOffset > size || extent.offset > size - other.baseOffset)
                continue;   // outside the file: no field of it
            const uint64_t start = other.baseOffset + extent.offset;
            const uint64_t end = start + std::min(extent.length, size - start);
            for (const auto& field : fields)
                if (start < field[0] + field[1] && field[0] < end)
                    return BmffShape::Unreadable;
        }
    }
    return BmffShape::Covered;
}

bool Fail(std::string& reason, const std::string& text)
{
    reason = text;
    return false;
}

// The same item entry; placeToo: at the same base offset and extents too.
bool SameLocation(const BmffLocation& a, const BmffLocation& b, bool placeToo)
{
    if (a.id != b.id || a.construction != b.construction || a.dataReference != b.dataReference
        || a.extents.size() != b.extents.size() || (placeToo && a.baseOffset != b.baseOffset))
        return false;
    for (size_t e = 0; placeToo && e < a.extents.size(); ++e) {
        if (a.extents[e].offset != b.extents[e].offset || a.extents[e].length != b.extents[e].length)
            return false;
    }
    return true;
}

bool SameItems(const BmffLayout& a, const BmffLayout& b)
{
    if (a.infos.size() != b.infos.size() || a.references.size() != b.references.size()
        || a.primary != b.primary || a.majorBrand != b.majorBrand)
        return false;
    for (size_t i = 0; i < a.infos.size(); ++i) {
        if (a.infos[i].id != b.infos[i].id || a.infos[i].type != b.infos[i].type
            || a.infos[i].protection != b.infos[i].protection)
            return false;
    }
    for (size_t i = 0; i < a.references.size(); ++i) {
        if (a.references[i].type != b.references[i].type || a.references[i].from != b.references[i].from
            || a.references[i].to != b.references[i].to)
            return false;
    }
    return true;
}

// The same top-level boxes at the same places; only box grew, by growth bytes.
bool SameBoxes(const BmffLayout& a, const BmffLayout& b, size_t box, uint64_t growth)
{
    if (a.top.size() != b.top.size())
        return false;
    for (size_t i = 0; i < a.top.size(); ++i) {
        const uint64_t size = a.top[i].size + (i == box ? growth : 0);
        if (a.top[i].type != b.top[i].type || a.top[i].start != b.top[i].start || b.top[i].size != size
            || a.top[i].header != b.top[i].header)
            return false;
    }
    return true;
}

}  // namespace

std::string BmffShapeText(BmffShape shape, const std::string& detail)
{
    switch (shape) {
    case BmffShape::Covered: return {};
    case BmffShape::Unreadable: return "the HEIF boxes can't be read: " + detail;
    case BmffShape::Brand: return "the file's brand \"" + detail + "\" is not HEIC, HEIF or AVIF";
    case BmffShape::NoExifItem: return "the photo has no Exif item, and adding one would move its other data";
    case BmffShape::SeveralExifItems: return "the photo has several Exif items";
    case BmffShape::ProtectedExif: return "the Exif item is protected or encoded";
    case BmffShape::ExifInIdat: return "the Exif item is stored inside the meta box (idat)";
    case BmffShape::ExifFromItems: return "the Exif item is built from other items";
    case BmffShape::SeveralExtents: return "the Exif item is stored in several pieces";
    case BmffShape::DataReference: return "the Exif item lies in another file";
    case BmffShape::NoOffsetField: return "the item locations have no offset or length fields";
    case BmffShape::OffsetTooLarge: return "the new Exif's place would not fit the item location's fields";
    case BmffShape::MdatToEnd: return "the media data box has no size (it runs to the end of the file)";
    case BmffShape::MdatNotLast: return "the media data box is not the last box (a trailer follows it)";
    case BmffShape::ItemToEnd: return "another item runs to the end of the file";
    case BmffShape::ExifTooLarge: return "the Exif item is larger than 64 KB";
    }
    return {};
}

bool LooksLikeBmff(const std::string& bytes)
{
    return bytes.size() >= 12 && bytes.compare(4, 4, "ftyp") == 0;
}

BmffShape BmffExifEdit::Plan(const std::string& original, std::string& reason)
{
    const auto refuse = [&reason](BmffShape shape, const std::string& detail = "") {
        reason = BmffShapeText(shape, detail);
        return shape;
    };
    std::string detail;
    if (!ParseBmff(Bytes(original), original.size(), layout, detail))
        return refuse(BmffShape::Unreadable, detail);
    if (!KnownBrand(layout.majorBrand))
        return refuse(BmffShape::Brand, layout.majorBrand);
    const BmffShape found = FindExif(layout, location);
    if (found != BmffShape::Covered)
        return refuse(found);
    const BmffLocation& exif = layout.locations[location];
    if (layout.offsetSize == 0 || layout.lengthSize == 0)
        return refuse(BmffShape::NoOffsetField);
    mdat = layout.top.size() - 1;
    const BmffBox& last = layout.top[mdat];
    if (last.type != "mdat")
        return refuse(BmffShape::MdatNotLast);
    if (last.toEnd)
        return refuse(BmffShape::MdatToEnd);
    const BmffShape others = OtherItems(layout, location, original.size());
    if (others != BmffShape::Covered)
        return refuse(others, "an item's data overlaps the item locations");

    std::string payload;
    if (!ItemBytes(Bytes(original), original.size(), layout, exif, payload, detail))
        return refuse(BmffShape::Unreadable, detail);
    // The payload: a 4-byte count of the bytes before the TIFF header, those bytes, the TIFF.
    if (payload.size() < 4)
        return refuse(BmffShape::ProtectedExif);
    const uint64_t skip = (uint64_t(ByteAt(payload, 0)) << 24) | (ByteAt(payload, 1) << 16)
        | (ByteAt(payload, 2) << 8) | ByteAt(payload, 3);
    if (skip > payload.size() - 4 || !IsTiffHeader(payload, 4 + skip))
        return refuse(BmffShape::ProtectedExif);
    prefix = payload.substr(0, 4 + skip);
    tiff = payload.substr(4 + skip);
    if (tiff.size() > kLargestTiff)
        return refuse(BmffShape::ExifTooLarge);
    // The new Exif starts where the file ends now and is at most one segment long.
    const uint64_t largest = prefix.size() + kLargestTiff;
    const bool mdatFits = last.largeSize ? last.size <= UINT64_MAX - largest : last.size + largest <= 0xFFFFFFFF;
    const bool placeFits = layout.baseOffsetSize > 0 ? FitsField(original.size(), layout.baseOffsetSize)
                                                     : FitsField(original.size(), layout.offsetSize);
    if (!placeFits || !FitsField(largest, layout.lengthSize)
        || !mdatFits)
        return refuse(BmffShape::OffsetTooLarge);
    reason.clear();
    return BmffShape::Covered;
}

std::string BmffExifEdit::Exv() const
{
    const size_t length = 2 + kExifNameLength + tiff.size();
    std::string exv(kExvMagic, kExvMagicLength);
    exv += "\xFF\xE1";
    exv += static_cast<char>(length >> 8);
    exv += static_cast<char>(length & 0xFF);
    exv.append(kExifName, kExifNameLength);
    exv += tiff;
    exv += "\xFF\xD9";
    return exv;
}

bool ExifOfExv(const std::string& exv, std::string& tiff)
{
    if (exv.compare(0, kExvMagicLength, kExvMagic, kExvMagicLength) != 0)
        return false;
    for (size_t i = kExvMagicLength; i + 4 <= exv.size();) {
        if (ByteAt(exv, i) != 0xFF || ByteAt(exv, i + 1) == 0xD9)
            return false;
        const size_t length = (size_t(ByteAt(exv, i + 2)) << 8) | ByteAt(exv, i + 3);
        if (length < 2 || length > exv.size() - i - 2)
            return false;
        if (ByteAt(exv, i + 1) == 0xE1 && length >= 2 + kExifNameLength
            && exv.compare(i + 4, kExifNameLength, kExifName, kExifNameLength) == 0) {
            tiff = exv.substr(i + 4 + kExifNameLength, length - 2 - kExifNameLength);
            return true;
        }
        i += 2 + length;
    }
    return false;
}

bool BmffExifEdit::Build(const std::string& original, const std::string& editedExv, std::string& updated,
                         std::string& reason) const
{
    std::string newTiff;
    if (!ExifOfExv(editedExv, newTiff) || !IsTiffHeader(newTiff, 0))
        return Fail(reason, "the tool left no Exif to write");
    const std::string payload = prefix + newTiff;
    const BmffLocation& exif = layout.locations[location];
    const BmffBox& last = layout.top[mdat];
    updated.reserve(original.size() + payload.size());
    updated = original;
    updated += payload;
    // With base offsets, the base points at the new Exif and the extent starts there: exiv2
    // 0.27 reads an item at its base offset alone.
    if (layout.baseOffsetSize > 0)
        PutField(updated, exif.baseOffsetField, layout.baseOffsetSize, original.size());
    PutField(updated, exif.extents[0].offsetField, layout.offsetSize,
             layout.baseOffsetSize > 0 ? 0 : original.size());
    PutField(updated, exif.extents[0].lengthField, layout.lengthSize, payload.size());
    PutField(updated, last.largeSize ? last.start + 8 : last.start, last.largeSize ? 8 : 4,
             last.size + payload.size());

    return Check(original, updated, payload, reason);
}

bool BmffExifEdit::Check(const std::string& original, const std::string& updated, const std::string& payload,
                         std::string& reason) const
{
    const BmffLocation& exif = layout.locations[location];
    const BmffBox& last = layout.top[mdat];
    // The copy read again: the same boxes and items, each other item's bytes the same, and
    // the Exif item's bytes the new ones.
    BmffLayout after;
    std::string detail;
    if (!ParseBmff(Bytes(updated), updated.size(), after, detail))
        return Fail(reason, "the new file's boxes can't be read: " + detail);
    if (!SameBoxes(layout, after, mdat, payload.size()) || !SameItems(layout, after)
        || after.locations.size() != layout.locations.size())
        return Fail(reason, "the new file's boxes or items differ from the photo's");
    for (size_t i = 0; i < layout.locations.size(); ++i) {
        std::string was, now, ignored;
        const bool readBefore = ItemBytes(Bytes(original), original.size(), layout, layout.locations[i], was, ignored);
        const bool readAfter = ItemBytes(Bytes(updated), updated.size(), after, after.locations[i], now, ignored);
        if (!SameLocation(layout.locations[i], after.locations[i], i != location) || readBefore != readAfter
            || (i == location ? now != payload : was != now))
            return Fail(reason, "item " + std::to_string(layout.locations[i].id) + " would change");
    }
    // Every byte outside the rewritten fields is the photo's own.
    std::vector<std::pair<uint64_t, uint64_t>> fields = {{exif.baseOffsetField, layout.baseOffsetSize},
        {exif.extents[0].offsetField, layout.offsetSize}, {exif.extents[0].lengthField, layout.lengthSize},
        {last.largeSize ? last.start + 8 : last.start, last.largeSize ? 8 : 4}};
    std::sort(fields.begin(), fields.end());
    uint64_t from = 0;
    for (const auto& [at, size] : fields) {
        if (updated.compare(from, at - from, original, from, at - from) != 0)
            return Fail(reason, "bytes outside the Exif item's location would change");
        from = at + size;
    }
    if (updated.compare(from, original.size() - from, original, from, original.size() - from) != 0)
        return Fail(reason, "bytes outside the Exif item's location would change");
    return true;
}
