#include <gtest/gtest.h>

#include "photos/PhotoKinds.h"

TEST(PhotoKinds, ExtensionsOfAnyCaseGiveTheirKind)
{
    struct { const char* name; PhotoKind kind; } cases[] = {
        {"a.jpg", PhotoKind::Jpeg},           {"A.JPEG", PhotoKind::Jpeg},
        {"/x.y/b.Tif", PhotoKind::InFile},    {"b.tiff", PhotoKind::InFile},
        {"c.png", PhotoKind::InFile},         {"c.WebP", PhotoKind::InFile},
        {"d.dng", PhotoKind::Raw},            {"d.NEF", PhotoKind::Raw},
        {"d.arw", PhotoKind::Raw},            {"d.pef", PhotoKind::Raw},
        {"d.CR2", PhotoKind::Raw},            {"e.heic", PhotoKind::Heif},
        {"e.HEIF", PhotoKind::Heif},          {"e.Avif", PhotoKind::Heif},
        {"e.Cr3", PhotoKind::SidecarOnly},
        {"e.rw2", PhotoKind::SidecarOnly},    {"e.orf", PhotoKind::SidecarOnly},
        {"e.CR3.xmp", PhotoKind::NotPhoto},   {"jpg", PhotoKind::NotPhoto},
        {"/p.jpg/notes", PhotoKind::NotPhoto}, {"f.jpgx", PhotoKind::NotPhoto},
        {"f.jp", PhotoKind::NotPhoto},        {"", PhotoKind::NotPhoto},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.kind, KindOf(c.name));
        EXPECT_EQ(c.kind != PhotoKind::NotPhoto, IsPhotoName(c.name));
    }
}

TEST(PhotoKinds, SidecarsForUnwritableKindsAlwaysAndRawWhenChosen)
{
    struct { PhotoKind kind; bool rawSidecar; bool sidecar; } cases[] = {
        {PhotoKind::Jpeg, true, false},       {PhotoKind::InFile, true, false},
        {PhotoKind::Raw, true, true},         {PhotoKind::Raw, false, false},
        {PhotoKind::SidecarOnly, false, true}, {PhotoKind::SidecarOnly, true, true},
        {PhotoKind::Heif, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind) * 2 + c.rawSidecar);
        EXPECT_EQ(c.sidecar, UsesSidecar(c.kind, c.rawSidecar));
    }
    EXPECT_EQ("/p/IMG_1.CR3.xmp", SidecarPath("/p/IMG_1.CR3"));
}
