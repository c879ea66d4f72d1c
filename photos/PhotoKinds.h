#pragma once
#include <string>

#include "common/PathText.h"   // SidecarPath

// How a photo takes a position, by the extension of its name (any letter case).
enum class PhotoKind {
    NotPhoto,      // not listed
    Jpeg,          // .jpg, .jpeg: written in the file, metadata segments only
    InFile,        // TIFF, PNG, WebP: the whole file copied and written
    Raw,           // RAW kinds exiv2 writes (DNG, NEF, ARW, PEF, CR2, CRW): in the file or a sidecar
    Heif,          // HEIC, HEIF, AVIF: the Exif item written in the file where its shape allows, else a sidecar
    SidecarOnly,   // kinds exiv2 reads but can't write (CR3, RW2, ORF): a sidecar
};

PhotoKind KindOf(const std::string& name);

bool IsPhotoName(const std::string& name);

// True when the position goes into the photo's XMP sidecar instead of the photo;
// rawSidecar is the user's choice for RAW kinds.
bool UsesSidecar(PhotoKind kind, bool rawSidecar);

