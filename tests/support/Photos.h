#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes a baseline JPEG of width x height pixels of seeded colour noise, so that a
// 1600 x 1200 picture at quality 90 comes to a real camera photo's size (about 2 MB).
// Returns false when the file can't be written.
bool WriteNoiseJpeg(const std::string& path, int width, int height, uint32_t seed, int quality = 90);

// A noise JPEG of about size bytes (3:2, quality 90; a 4 MB photo at 4000000) that already
// carries a capture time, a camera make and a description, as a camera's photo would.
// Returns false when it can't be made.
bool WriteCameraPhoto(const std::string& path, size_t size, uint32_t seed);

// The value words of a key in an exiv2 -PEkycv listing, joined by single blanks;
// "<missing>" or "<repeated>" unless the key is listed exactly once.
std::string TagValue(const std::string& listing, const std::string& key);

// The photo's tags as exiv2 -PEIXkycv lists them (Exif, IPTC and XMP), one line each.
std::string ListTags(const std::string& path);

// The listing's lines whose key doesn't start with one of the prefixes, sorted.
std::vector<std::string> TagsOtherThan(const std::string& listing,
                                       const std::vector<std::string>& prefixes);

// The bytes from the first start-of-scan marker to the end: the picture itself; "" when
// bytes aren't a JPEG.
std::string ImageData(const std::string& bytes);
