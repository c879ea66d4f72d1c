#pragma once
#include <cstdint>
#include <string>

#include "exif/BmffBoxes.h"

// The narrow write of a HEIF, HEIC or AVIF photo's Exif: exiv2 edits the item's Exif as a
// metadata file of its own (.exv), and the new Exif goes at the end of the last mdat box.
// Only the Exif item's iloc entry (its base offset where the file has them, its extent's offset
// and length) and that box's size change in place; nothing else moves, and the old Exif bytes
// stay in the file, no longer referenced.

// Why a photo's shape is or isn't one the narrow write covers.
enum class BmffShape {
    Covered,
    Unreadable,        // the boxes can't be read
    Brand,             // not heic, heix, mif1, msf1 or avif
    NoExifItem,
    SeveralExifItems,
    ProtectedExif,     // protected, or not plain TIFF after its offset field
    ExifInIdat,        // construction method 1
    ExifFromItems,     // construction method 2
    SeveralExtents,
    DataReference,     // the Exif lies in another file
    NoOffsetField,     // iloc's offset_size or length_size is 0
    OffsetTooLarge,    // the new offset, length or mdat size would not fit its field
    MdatToEnd,         // the last mdat's size is 0: it runs to the end of the file
    MdatNotLast,       // the last box is not an mdat (a motion photo or vendor trailer follows)
    ItemToEnd,         // another item's extent has no length: it would take in the new Exif
    ExifTooLarge,      // more than one JPEG segment holds: exiv2 can't edit it as one
};

// The reason shown for a shape the write doesn't cover; detail is the parser's reason.
std::string BmffShapeText(BmffShape shape, const std::string& detail = "");

// True when bytes begin as an ISO base media file does (a file type box).
bool LooksLikeBmff(const std::string& bytes);

class BmffExifEdit {
public:
    // Reads the photo and finds its Exif item; anything but Covered leaves the photo to the sidecar.
    BmffShape Plan(const std::string& original, std::string& reason);
    // The item's Exif as an exiv2 metadata file, for the tool to edit.
    std::string Exv() const;
    // The photo with the edited .exv's Exif in place of the old, checked: parsed again, every
    // other item's bytes the same, and every byte of the original but the rewritten fields.
    // false with the reason.
    bool Build(const std::string& original, const std::string& editedExv, std::string& updated,
               std::string& reason) const;

private:
    // The copy read again: the same boxes and items, each other item's bytes the same, the
    // Exif item's bytes the new payload, and every byte but the rewritten fields the photo's.
    bool Check(const std::string& original, const std::string& updated, const std::string& payload,
               std::string& reason) const;

    BmffLayout layout;
    size_t location = 0;   // the Exif item's entry in layout.locations
    size_t mdat = 0;       // the last mdat's entry in layout.top
    std::string prefix;    // the item's 4-byte TIFF header offset and what it skips ("Exif\0\0")
    std::string tiff;
};

// The Exif of an .exv file (its APP1 "Exif\0\0" segment, without that name); false when none.
bool ExifOfExv(const std::string& exv, std::string& tiff);
