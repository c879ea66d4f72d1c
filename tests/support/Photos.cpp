#include "support/Photos.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <vector>

#include <jpeglib.h>

#include "support/TestSupport.h"

bool WriteNoiseJpeg(const std::string& path, int width, int height, uint32_t seed, int quality)
{
    FILE* file = std::fopen(path.c_str(), "wbe");
    if (!file)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);

    std::mt19937 random(seed);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (size_t i = 0; i < row.size(); i += 4) {
            uint32_t bits = random();
            for (size_t j = 0; j < 4 && i + j < row.size(); ++j)
                row[i + j] = static_cast<JSAMPLE>(bits >> (8 * j));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

bool WriteCameraPhoto(const std::string& path, size_t size, uint32_t seed)
{
    // Colour noise at quality 90 takes about 1.6 bytes a pixel.
    double pixels = static_cast<double>(size) / 1.6;
    int width = static_cast<int>(std::sqrt(pixels * 1.5));
    int height = static_cast<int>(pixels / width);
    if (!WriteNoiseJpeg(path, std::max(width, 16), std::max(height, 16), seed))
        return false;
    return RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal 2006:05:01 10:15:30",
                     "-M", "set Exif.Image.Make Pinroute Test Camera",
                     "-M", "set Exif.Image.ImageDescription Photo " + std::to_string(seed),
                     "-M", "set Xmp.dc.subject test", "--", path}) == 0;
}

std::string TagValue(const std::string& listing, const std::string& key)
{
    std::istringstream lines(listing);
    std::string line, found = "<missing>";
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word, type, count, value, rest;
        if (words >> word >> type >> count && word == key) {
            if (found != "<missing>")
                return "<repeated>";
            while (words >> rest)
                value += (value.empty() ? "" : " ") + rest;
            found = value;
        }
    }
    return found;
}

std::string ListTags(const std::string& path)
{
    std::string listing;
    RunExiv2({"-PEIXkycv", "--", path}, &listing);
    return listing;
}

std::vector<std::string> TagsOtherThan(const std::string& listing,
                                       const std::vector<std::string>& prefixes)
{
    std::vector<std::string> kept;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        bool skip = false;
        for (const auto& prefix : prefixes)
            skip = skip || line.compare(0, prefix.size(), prefix) == 0;
        if (!skip)
            kept.push_back(line);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

std::string ImageData(const std::string& bytes)
{
    // Walks the segments after SOI by their lengths up to SOS (FF DA).
    auto byte = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return {};
    for (size_t i = 2; i + 3 < bytes.size();) {
        if (byte(i) != 0xFF)
            return {};
        if (byte(i + 1) == 0xDA)
            return bytes.substr(i);
        i += 2 + ((static_cast<size_t>(byte(i + 2)) << 8) | byte(i + 3));
    }
    return {};
}
