#pragma once
// The picture that both the Linux and the Windows build encode in the JPEG
// tests: smooth gradients, hard edges and a size that is no multiple of the
// encoder's blocks, so that every stage of the encoder has work to do.

#include "windows/JpegEncoder.h"

namespace testing_support {

inline RgbPicture FixedPicture() {
    RgbPicture picture{61, 37, {}};
    picture.pixels.reserve(61 * 37 * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const bool square = (x / 7 + y / 5) % 2 == 0;
            picture.pixels.push_back(static_cast<std::uint8_t>(x * 4));
            picture.pixels.push_back(static_cast<std::uint8_t>(square ? 230 : y * 6));
            picture.pixels.push_back(static_cast<std::uint8_t>((x * y) % 251));
        }
    }
    return picture;
}

}  // namespace testing_support
