#include "support/HeifShapes.h"

#include <cstdint>

#include "exif/BmffBoxes.h"

namespace {

uint64_t Get(const std::string& bytes, uint64_t at, int size)
{
    uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void Put(std::string& bytes, uint64_t at, int size, uint64_t value)
{
    for (int i = size - 1; i >= 0; --i, value >>= 8)
        bytes[at + i] = static_cast<char>(value & 0xFF);
}

BmffLayout Layout(const std::string& bytes)
{
    BmffLayout layout;
    std::string reason;
    ParseBmff(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), layout, reason);
    return layout;
}

const BmffLocation& ExifLocation(const BmffLayout& layout)
{
    for (const BmffItemInfo& info : layout.infos)
        for (const BmffLocation& location : layout.locations)
            if (info.type == "Exif" && location.id == info.id)
                return location;
    return layout.locations.at(0);
}

// Where the Exif item's infe keeps its protection index: "infe", version 2, flags, a 16-bit id.
size_t ExifInfe(const std::string& bytes)
{
    for (size_t at = bytes.find("infe"); at != std::string::npos; at = bytes.find("infe", at + 4))
        if (bytes.compare(at + 12, 4, "Exif") == 0)
            return at + 8;
    return std::string::npos;
}

// The Exif item in two extents: 8 more bytes in iloc, so meta and every offset after it move.
std::string TwoExtents(std::string bytes)
{
    const BmffLayout layout = Layout(bytes);
    const BmffExtent& exif = ExifLocation(layout).extents.at(0);
    const size_t meta = layout.top.at(1).start, iloc = bytes.rfind("iloc", exif.offsetField) - 4;
    for (const BmffLocation& location : layout.locations)
        Put(bytes, location.extents.at(0).offsetField, 4, location.extents.at(0).offset + 8);
    const uint64_t half = exif.length / 2;
    Put(bytes, exif.lengthField, 4, half);
    Put(bytes, exif.offsetField - 2, 2, 2);   // the extent count
    std::string second(8, '\0');
    Put(second, 0, 4, exif.offset + 8 + half);
    Put(second, 4, 4, exif.length - half);
    bytes.insert(exif.lengthField + 4, second);
    Put(bytes, iloc, 4, Get(bytes, iloc, 4) + 8);
    Put(bytes, meta, 4, Get(bytes, meta, 4) + 8);
    return bytes;
}

// offset_size 0: each entry's offset moves into its base offset, a field of the same size.
std::string NoOffsetField(std::string bytes)
{
    const BmffLayout layout = Layout(bytes);
    const size_t sizes = bytes.rfind("iloc", layout.locations.at(0).extents.at(0).offsetField) + 8;
    bytes[sizes] = 0x04;       // offset_size 0, length_size 4
    bytes[sizes + 1] = 0x40;   // base_offset_size 4
    for (const BmffLocation& location : layout.locations) {
        const BmffExtent& extent = location.extents.at(0);
        const uint64_t entry = extent.offsetField - 2 - 2 - 2;   // id, data reference, extent count
        Put(bytes, entry + 4, 4, extent.offset);
        Put(bytes, entry + 8, 2, 1);
        Put(bytes, entry + 10, 4, extent.length);
    }
    return bytes;
}

}  // namespace

std::string HeifPicture(const std::string& bytes)
{
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    BmffLayout layout;
    std::string reason, item, picture;
    if (!ParseBmff(data, bytes.size(), layout, reason))
        return "";
    for (const BmffLocation& location : layout.locations) {
        bool exif = false;
        for (const BmffItemInfo& info : layout.infos)
            exif = exif || (info.id == location.id && info.type == "Exif");
        if (!exif)
            picture += std::to_string(location.id) + ":"
                + (ItemBytes(data, bytes.size(), layout, location, item, reason) ? item : reason) + "\n";
    }
    return picture;
}

std::vector<HeifShape> HeifShapes(const std::string& smallV0, const std::string& v1)
{
    std::vector<HeifShape> shapes;
    const BmffLayout layout = Layout(smallV0);
    const BmffBox mdat = layout.top.back();
    const BmffExtent& v1Exif = ExifLocation(Layout(v1)).extents.at(0);
    const size_t construction = v1Exif.offsetField - 2 - 2 - 2;   // then data reference, extent count

    std::string bytes = v1;
    Put(bytes, construction, 2, 1);
    shapes.push_back({"Exif in idat", BmffShape::ExifInIdat, "", bytes});
    Put(bytes, construction, 2, 2);
    shapes.push_back({"Exif from other items", BmffShape::ExifFromItems, "", bytes});
    bytes = v1;
    Put(bytes, construction + 2, 2, 1);
    shapes.push_back({"data reference", BmffShape::DataReference, "", bytes});
    shapes.push_back({"two extents", BmffShape::SeveralExtents, "", TwoExtents(smallV0)});
    shapes.push_back({"offset_size 0", BmffShape::NoOffsetField, "", NoOffsetField(smallV0)});
    bytes = smallV0;
    Put(bytes, mdat.start, 4, 0);   // a 64-bit size's box keeps it; a size 0 box ignores it
    shapes.push_back({"mdat to the end", BmffShape::MdatToEnd, "", bytes});
    shapes.push_back({"trailer after mdat", BmffShape::MdatNotLast, "", smallV0 + std::string("\0\0\0\x10mpvd", 8) + "trailer!"});
    bytes = smallV0;
    bytes[ExifInfe(bytes) + 4] = 'X';   // the type "Exif" becomes "Xxif"
    shapes.push_back({"no Exif item", BmffShape::NoExifItem, "", bytes});
    bytes = smallV0;
    Put(bytes, ExifInfe(bytes) + 2, 2, 1);
    shapes.push_back({"protected Exif", BmffShape::ProtectedExif, "", bytes});
    bytes = smallV0;
    for (const BmffLocation& location : layout.locations) {   // the item that ends the file
        const BmffExtent& extent = location.extents.at(0);
        if (location.id != ExifLocation(layout).id && extent.offset + extent.length == bytes.size())
            Put(bytes, extent.lengthField, 4, 0);
    }
    shapes.push_back({"item to the end", BmffShape::ItemToEnd, "", bytes});
    bytes = smallV0;
    bytes.replace(8, 4, "mp42");
    shapes.push_back({"brand mp42", BmffShape::Brand, "mp42", bytes});
    return shapes;
}
