#include "photos/PhotoKinds.h"

#include "common/AsciiText.h"

namespace {

struct Extension {
    const char* text;   // with its dot
    PhotoKind kind;
};

// ORF is read only: exiv2 here reports success on an ORF write and leaves an IFD it can't read back.
const Extension kExtensions[] = {
    {".jpg", PhotoKind::Jpeg},         {".jpeg", PhotoKind::Jpeg},
    {".tif", PhotoKind::InFile},       {".tiff", PhotoKind::InFile},
    {".png", PhotoKind::InFile},       {".webp", PhotoKind::InFile},
    {".dng", PhotoKind::Raw},          {".nef", PhotoKind::Raw},
    {".arw", PhotoKind::Raw},          {".pef", PhotoKind::Raw},
    {".cr2", PhotoKind::Raw},          {".crw", PhotoKind::Raw},
    {".heic", PhotoKind::Heif},        {".heif", PhotoKind::Heif},
    {".avif", PhotoKind::Heif},        {".cr3", PhotoKind::SidecarOnly},
    {".rw2", PhotoKind::SidecarOnly},  {".orf", PhotoKind::SidecarOnly},
};

}  // namespace

PhotoKind KindOf(const std::string& name)
{
    const size_t dot = name.rfind('.');
    const size_t slash = name.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return PhotoKind::NotPhoto;
    const std::string extension = name.substr(dot);
    for (const Extension& e : kExtensions) {
        if (EqualsIgnoringAsciiCase(extension, e.text))
            return e.kind;
    }
    return PhotoKind::NotPhoto;
}

bool IsPhotoName(const std::string& name)
{
    return KindOf(name) != PhotoKind::NotPhoto;
}

bool UsesSidecar(PhotoKind kind, bool rawSidecar)
{
    return kind == PhotoKind::SidecarOnly || (kind == PhotoKind::Raw && rawSidecar);
}

