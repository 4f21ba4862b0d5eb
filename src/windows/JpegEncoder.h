#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture as 24-bit RGB: three bytes per pixel, rows top to bottom, no
// padding.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// A baseline colour JPEG of the picture at the given quality, the encoder's
// defaults otherwise. Throws Failure for an empty or malformed picture.
std::string EncodeJpeg(const RgbPicture& picture, int quality);
