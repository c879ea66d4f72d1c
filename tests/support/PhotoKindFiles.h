#pragma once
#include <string>

// Makes a small real photo at path, of the kind its extension names, with ImageMagick,
// exiv2 and heif-enc: .tif, .png, .webp, .jpg/.jpeg made by convert; .nef/.arw/.pef as the
// TIFF files exiv2 takes them for; .dng a TIFF that exiv2 gave a DNGVersion; .cr2 a TIFF
// with Canon's CR2 marker, which exiv2 writes as a CR2; .rw2 a TIFF given the Panasonic
// header, which exiv2 reads but won't write; .heic made by heif-enc from a JPEG, EXIF
// included. A non-empty captureTime ("2023:06:17 08:04:10") goes into
// Exif.Photo.DateTimeOriginal where the kind can hold it. Returns false when a tool failed.
bool MakeKindPhoto(const std::string& path, const std::string& captureTime);

// The value words of key as exiv2 -PEIXkycv lists it from path; "<missing>" when absent.
std::string ListedValue(const std::string& path, const std::string& key);
