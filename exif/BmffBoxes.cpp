#include "exif/BmffBoxes.h"

namespace {

// Reads big-endian fields within [pos, end) of the file; a read past end fails and every
// later read fails too, so a caller may check once after a group of reads.
class Reader {
public:
    Reader(const uint8_t* data, uint64_t pos, uint64_t end) : data(data), pos(pos), end(end) {}

    uint64_t Read(int bytes)
    {
        if (!ok || bytes < 0 || bytes > 8 || static_cast<uint64_t>(bytes) > end - pos) {
            ok = false;
            return 0;
        }
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | data[pos++];
        return value;
    }
    std::string Type()
    {
        const uint64_t at = pos;
        Read(4);
        return ok ? std::string(reinterpret_cast<const char*>(data + at), 4) : std::string();
    }
    // A NUL-terminated string; one without its NUL runs to the end.
    std::string Text()
    {
        std::string text;
        while (ok && pos < end && data[pos] != 0)
            text += static_cast<char>(data[pos++]);
        if (pos < end)
            ++pos;
        return text;
    }
    bool Ok() const { return ok; }
    uint64_t Pos() const { return pos; }
    uint64_t Left() const { return end - pos; }

private:
    const uint8_t* data;
    uint64_t pos;
    uint64_t end;
    bool ok = true;
};

struct Box {
    std::string type;
    uint64_t start = 0, size = 0, header = 0;
    bool largeSize = false, toEnd = false;
    uint64_t Body() const { return start + header; }
    uint64_t End() const { return start + size; }
};

// The box header at pos within [pos, end); a size 0 box (to the end) only where allowed.
bool ReadBox(const uint8_t* data, uint64_t pos, uint64_t end, bool mayRunToEnd, Box& box, std::string& reason)
{
    Reader r(data, pos, end);
    box.start = pos;
    box.size = r.Read(4);
    box.type = r.Type();
    box.header = 8;
    box.largeSize = box.size == 1;
    box.toEnd = box.size == 0;
    if (box.largeSize) {
        box.size = r.Read(8);
        box.header = 16;
    }
    if (box.type == "uuid") {
        r.Read(8);
        r.Read(8);
        box.header += 16;
    }
    if (!r.Ok()) {
        reason = "the box header at " + std::to_string(pos) + " is cut short";
        return false;
    }
    if (box.toEnd) {
        if (!mayRunToEnd) {
            reason = "the box at " + std::to_string(pos) + " has no size";
            return false;
        }
        box.size = end - pos;
    }
    if (box.size < box.header || box.size > end - pos) {
        reason = "the box at " + std::to_string(pos) + " runs past its parent";
        return false;
    }
    return true;
}

// A full box's version (flags are skipped); -1 when the box is too short for them.
int FullBoxVersion(Reader& r)
{
    const int version = static_cast<int>(r.Read(1));
    r.Read(3);
    return r.Ok() ? version : -1;
}

bool Fail(std::string& reason, const std::string& text)
{
    reason = text;
    return false;
}

bool ReadInfe(const uint8_t* data, const Box& box, BmffLayout& layout, std::string& reason)
{
    Reader r(data, box.Body(), box.End());
    const int version = FullBoxVersion(r);
    BmffItemInfo info;
    info.id = static_cast<uint32_t>(r.Read(version >= 3 ? 4 : 2));
    info.protection = static_cast<uint16_t>(r.Read(2));
    if (version >= 2) {
        info.type = r.Type();
        r.Text();   // the item's name
        if (info.type == "mime") {
            r.Text();   // content type
            info.encoding = r.Text();
        }
    }
    if (!r.Ok())
        return Fail(reason, "an item information entry is cut short");
    layout.infos.push_back(std::move(info));
    return true;
}

bool ReadIinf(const uint8_t* data, const Box& box, BmffLayout& layout, std::string& reason)
{
    Reader r(data, box.Body(), box.End());
    const int version = FullBoxVersion(r);
    r.Read(version == 0 ? 2 : 4);   // the entry count; the boxes that follow are what counts
    if (!r.Ok())
        return Fail(reason, "the item information box is cut short");
    for (uint64_t pos = r.Pos(); pos < box.End();) {
        Box child;
        if (!ReadBox(data, pos, box.End(), false, child, reason))
            return false;
        if (child.type == "infe" && !ReadInfe(data, child, layout, reason))
            return false;
        pos = child.End();
    }
    return true;
}

bool ValidFieldSize(int size)
{
    return size == 0 || size == 4 || size == 8;
}

bool ReadIloc(const uint8_t* data, const Box& box, BmffLayout& layout, std::string& reason)
{
    Reader r(data, box.Body(), box.End());
    const int version = FullBoxVersion(r);
    if (version < 0 || version > 2)
        return Fail(reason, "the item location box has an unknown version");
    const uint64_t sizes = r.Read(1), moreSizes = r.Read(1);
    layout.ilocVersion = version;
    layout.offsetSize = static_cast<int>(sizes >> 4);
    layout.lengthSize = static_cast<int>(sizes & 15);
    layout.baseOffsetSize = static_cast<int>(moreSizes >> 4);
    layout.indexSize = version == 0 ? 0 : static_cast<int>(moreSizes & 15);
    if (!ValidFieldSize(layout.offsetSize) || !ValidFieldSize(layout.lengthSize)
        || !ValidFieldSize(layout.baseOffsetSize) || !ValidFieldSize(layout.indexSize))
        return Fail(reason, "the item location box has a field size other than 0, 4 or 8");
    const uint64_t count = r.Read(version < 2 ? 2 : 4);
    const int extentWidth = layout.offsetSize + layout.lengthSize + layout.indexSize;
    for (uint64_t n = 0; n < count && r.Ok(); ++n) {
        BmffLocation location;
        location.id = static_cast<uint32_t>(r.Read(version < 2 ? 2 : 4));
        if (version > 0)
            location.construction = static_cast<int>(r.Read(2) & 15);
        location.dataReference = static_cast<uint16_t>(r.Read(2));
        location.baseOffsetField = r.Pos();
        location.baseOffset = r.Read(layout.baseOffsetSize);
        const uint64_t extents = r.Read(2);
        // Extents that take no room would let a few bytes describe millions of them.
        if (extentWidth == 0 && extents > 1)
            return Fail(reason, "the item location box lists extents without fields");
        for (uint64_t e = 0; e < extents && r.Ok(); ++e) {
            BmffExtent extent;
            r.Read(layout.indexSize);
            extent.offsetField = r.Pos();
            extent.offset = r.Read(layout.offsetSize);
            extent.lengthField = r.Pos();
            extent.length = r.Read(layout.lengthSize);
            location.extents.push_back(extent);
        }
        layout.locations.push_back(std::move(location));
    }
    if (!r.Ok())
        return Fail(reason, "the item location box is cut short");
    return true;
}

bool ReadIref(const uint8_t* data, const Box& box, BmffLayout& layout, std::string& reason)
{
    Reader head(data, box.Body(), box.End());
    const int version = FullBoxVersion(head);
    if (version < 0)
        return Fail(reason, "the item reference box is cut short");
    const int idSize = version == 0 ? 2 : 4;
    for (uint64_t pos = head.Pos(); pos < box.End();) {
        Box child;
        if (!ReadBox(data, pos, box.End(), false, child, reason))
            return false;
        Reader r(data, child.Body(), child.End());
        BmffReference reference;
        reference.type = child.type;
        reference.from = static_cast<uint32_t>(r.Read(idSize));
        const uint64_t count = r.Read(2);
        for (uint64_t n = 0; n < count && r.Ok(); ++n)
            reference.to.push_back(static_cast<uint32_t>(r.Read(idSize)));
        if (!r.Ok())
            return Fail(reason, "an item reference is cut short");
        layout.references.push_back(std::move(reference));
        pos = child.End();
    }
    return true;
}

bool ReadMetaChild(const uint8_t* data, const Box& child, BmffLayout& layout, std::string& reason)
{
    Reader r(data, child.Body(), child.End());
    if (child.type == "hdlr") {
        FullBoxVersion(r);
        r.Read(4);   // pre_defined
        layout.handler = r.Type();
        return r.Ok() || Fail(reason, "the handler box is cut short");
    }
    if (child.type == "pitm") {
        const int version = FullBoxVersion(r);
        layout.primary = static_cast<uint32_t>(r.Read(version == 0 ? 2 : 4));
        return r.Ok() || Fail(reason, "the primary item box is cut short");
    }
    if (child.type == "idat") {
        layout.hasIdat = true;
        layout.idatStart = child.Body();
        layout.idatSize = child.size - child.header;
        return true;
    }
    if (child.type == "iinf")
        return ReadIinf(data, child, layout, reason);
    if (child.type == "iloc")
        return ReadIloc(data, child, layout, reason);
    if (child.type == "iref")
        return ReadIref(data, child, layout, reason);
    return true;   // dinf, iprp, grpl, ...: not needed to find the items' bytes
}

bool ReadMeta(const uint8_t* data, const Box& box, BmffLayout& layout, std::string& reason)
{
    Reader r(data, box.Body(), box.End());
    if (FullBoxVersion(r) < 0)
        return Fail(reason, "the meta box is cut short");
    layout.hasMeta = true;
    for (uint64_t pos = r.Pos(); pos < box.End();) {
        Box child;
        if (!ReadBox(data, pos, box.End(), false, child, reason) || !ReadMetaChild(data, child, layout, reason))
            return false;
        pos = child.End();
    }
    return true;
}

bool ReadFtyp(const uint8_t* data, const Box& box, BmffLayout& layout, std::string& reason)
{
    Reader r(data, box.Body(), box.End());
    layout.majorBrand = r.Type();
    r.Read(4);   // minor version
    while (r.Ok() && r.Left() >= 4)
        layout.compatibleBrands.push_back(r.Type());
    return r.Ok() || Fail(reason, "the file type box is cut short");
}

}  // namespace

bool ParseBmff(const uint8_t* data, size_t size, BmffLayout& layout, std::string& reason)
{
    layout = BmffLayout();
    for (uint64_t pos = 0; pos < size;) {
        Box box;
        if (!ReadBox(data, pos, size, true, box, reason))
            return false;
        if (layout.top.empty() && box.type != "ftyp")
            return Fail(reason, "the file does not begin with a file type box");
        layout.top.push_back({box.type, box.start, box.size, box.header, box.largeSize, box.toEnd});
        if (box.type == "ftyp" && layout.top.size() == 1 && !ReadFtyp(data, box, layout, reason))
            return false;
        if (box.type == "meta" && !layout.hasMeta && !ReadMeta(data, box, layout, reason))
            return false;
        pos = box.End();
    }
    if (layout.top.empty())
        return Fail(reason, "the file is empty");
    return true;
}

bool ItemBytes(const uint8_t* data, size_t size, const BmffLayout& layout, const BmffLocation& location,
               std::string& bytes, std::string& reason)
{
    bytes.clear();
    if (location.construction == 2 || location.construction > 2)
        return Fail(reason, "the item is built from other items");
    if (location.dataReference != 0)
        return Fail(reason, "the item lies in another file");
    const bool inIdat = location.construction == 1;
    if (inIdat && !layout.hasIdat)
        return Fail(reason, "the item lies in an idat box the file lacks");
    const uint64_t start = inIdat ? layout.idatStart : 0;
    const uint64_t dataSize = inIdat ? layout.idatSize : size;
    for (const BmffExtent& extent : location.extents) {
        // Each sum is checked before it is made, so none can wrap round.
        if (location.baseOffset > dataSize || extent.offset > dataSize - location.baseOffset)
            return Fail(reason, "the item's data lies past the end of the file");
        const uint64_t at = location.baseOffset + extent.offset;
        const uint64_t length = extent.length == 0 ? dataSize - at : extent.length;
        if (length > dataSize - at)
            return Fail(reason, "the item's data runs past the end of the file");
        if (length > dataSize - bytes.size())   // extents that repeat the same bytes over and over
            return Fail(reason, "the item is larger than its data");
        bytes.append(reinterpret_cast<const char*>(data + start + at), length);
    }
    return true;
}
