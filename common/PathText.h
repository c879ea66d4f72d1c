#pragma once
#include <string>

// The last component of a path: "/trips/a/x.jpg" -> "x.jpg"; the path itself when it has no "/".
inline std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The folder a path lies in, without a final "/": "/trips/a/x.jpg" -> "/trips/a";
// "." for a bare name and "/" for an entry of the root.
inline std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// "IMG_1.CR3" -> "IMG_1.CR3.xmp": the XMP sidecar beside a photo, the name darktable and
// digiKam read.
inline std::string SidecarPath(const std::string& photoPath)
{
    return photoPath + ".xmp";
}
