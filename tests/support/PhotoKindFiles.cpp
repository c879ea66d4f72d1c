#include "support/PhotoKindFiles.h"

#include <vector>

#include <cstdio>

#include "photos/PhotoKinds.h"
#include "support/Photos.h"
#include "support/TestSupport.h"

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

bool SetDate(const std::string& path, const std::string& captureTime)
{
    return captureTime.empty()
        || RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal Ascii " + captureTime, "--", path}) == 0;
}

// The bytes of a small little-endian TIFF made by convert at the scratch path tiff (removed
// again), with captureTime and, for a DNG, a DNGVersion set by exiv2.
bool TiffBytes(const std::string& tiff, const std::string& captureTime, std::string& bytes, bool dng = false)
{
    const bool made = RunProgram({"convert", "-size", "16x16", "xc:teal", tiff}, nullptr) == 0
        && SetDate(tiff, captureTime)
        && (!dng || RunExiv2({"-M", "set Exif.Image.DNGVersion Byte 1 4 0 0", "--", tiff}) == 0);
    bytes = made ? ReadFile(tiff) : std::string();
    std::remove(tiff.c_str());
    return made && bytes.size() >= 8 && bytes.compare(0, 4, std::string("II*\0", 4)) == 0;
}

}  // namespace

bool MakeKindPhoto(const std::string& path, const std::string& captureTime)
{
    const std::string extension = Lower(path.substr(path.rfind('.')));
    if (extension == ".cr2") {
        // Canon's "CR" 2.0 marker after the TIFF header. convert puts the first IFD at the
        // end, so the marker overwrites only pixels; exiv2 then writes the file as a CR2.
        std::string bytes;
        if (!TiffBytes(path + ".tif", "", bytes) || bytes.size() < 16
            || bytes.compare(4, 4, std::string("\x08\0\0\0", 4)) == 0)
            return false;
        bytes.replace(8, 8, std::string("CR\x02\0\0\0\0\0", 8));
        WriteFile(path, bytes);
        return SetDate(path, captureTime);
    }
    if (extension == ".dng" || extension == ".rw2") {
        std::string bytes;
        if (!TiffBytes(path + ".tif", captureTime, bytes, extension == ".dng"))
            return false;
        if (extension == ".rw2")
            bytes.replace(2, 2, std::string("U\0", 2));   // "IIU\0": Panasonic's TIFF variant
        WriteFile(path, bytes);
        return true;
    }
    if (extension == ".heic" || extension == ".avif") {
        // heif-enc carries a JPEG's EXIF into the HEIC. 64x64 needs no tile grid, whose
        // item layout exiv2 0.27 can't follow to the EXIF.
        const std::string jpeg = path + ".jpg";
        std::vector<std::string> encode = {"heif-enc", "-q", "50", "-o", path, jpeg};
        if (extension == ".avif")
            encode.insert(encode.begin() + 1, "-A");
        const bool made = RunProgram({"convert", "-size", "64x64", "xc:teal", jpeg}, nullptr) == 0
            && SetDate(jpeg, captureTime) && RunProgram(encode, nullptr) == 0;
        std::remove(jpeg.c_str());
        return made;
    }
    // NEF, ARW and PEF are TIFF files to exiv2, which writes them as it writes a TIFF.
    const bool tiffRaw = extension == ".nef" || extension == ".arw" || extension == ".pef";
    const std::string format = extension == ".jpeg" ? "jpg:" : tiffRaw ? "tiff:" : "";
    if (RunProgram({"convert", "-size", "16x16", "xc:teal", format + path}, nullptr) != 0)
        return false;
    return KindOf(path) == PhotoKind::SidecarOnly || KindOf(path) == PhotoKind::Heif || SetDate(path, captureTime);
}

std::string ListedValue(const std::string& path, const std::string& key)
{
    std::string out;
    RunExiv2({"-PEIXkycv", "-K", key, "--", path}, &out);
    return TagValue(out, key);
}
