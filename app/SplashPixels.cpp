#include "SplashPixels.h"

int SplashRowSize(int width) { return ((width * 24 + 31) / 32) * 4; }

std::size_t SplashBufferSize(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return static_cast<std::size_t>(SplashRowSize(width)) * static_cast<std::size_t>(height);
}

int SplashCentredOrigin(int screenExtent, int windowExtent) {
    return (screenExtent - windowExtent) / 2;
}

void BlendSplashImage(int width, int height, const std::uint8_t* image, const std::uint8_t* mask,
                      std::uint8_t* screen) {
    if (width <= 0 || height <= 0 || !image || !mask || !screen) return;
    const std::size_t rowSize = static_cast<std::size_t>(SplashRowSize(width));
    for (int row = 0; row < height; ++row) {
        const std::size_t rowStart = static_cast<std::size_t>(row) * rowSize;
        for (int column = 0; column < width; ++column) {
            const std::size_t at = rowStart + 3u * static_cast<std::size_t>(column);
            const std::uint32_t m = mask[at];
            for (std::size_t c = 0; c < 3; ++c) {
                const std::uint32_t blended = (image[at + c] * m + screen[at + c] * (255u - m)) / 255u;
                screen[at + c] = static_cast<std::uint8_t>(blended);
            }
        }
    }
}
