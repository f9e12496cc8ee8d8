#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SplashPixels.h"

namespace {

using Buffer = std::vector<std::uint8_t>;

// One-pixel buffers blended at a given mask level.
Buffer BlendOne(Buffer image, Buffer screen, std::uint8_t m) {
    Buffer mask = {m, m, m, 0};
    image.push_back(0);
    screen.push_back(0);
    BlendSplashImage(1, 1, image.data(), mask.data(), screen.data());
    return Buffer(screen.begin(), screen.begin() + 3);
}

TEST(SplashBlend, MaskExtremesGiveImageOrScreenExactly) {
    EXPECT_EQ(BlendOne({17, 200, 255}, {90, 3, 0}, 255), (Buffer{17, 200, 255}));
    EXPECT_EQ(BlendOne({17, 200, 255}, {90, 3, 0}, 0), (Buffer{90, 3, 0}));
}

TEST(SplashBlend, HalfMaskTruncates) {
    EXPECT_EQ(BlendOne({200, 100, 0}, {0, 100, 255}, 128), (Buffer{100, 100, 127}));
    EXPECT_EQ(BlendOne({255, 255, 255}, {0, 0, 0}, 128), (Buffer{128, 128, 128}));
    EXPECT_EQ(BlendOne({0, 0, 0}, {255, 255, 255}, 128), (Buffer{127, 127, 127}));
    EXPECT_EQ(BlendOne({1, 1, 1}, {0, 0, 0}, 254), (Buffer{0, 0, 0}));
}

TEST(SplashBlend, OnlyTheMaskBlueByteWeighs) {
    Buffer image = {255, 255, 255, 0};
    Buffer screen = {0, 0, 0, 0};
    Buffer mask = {255, 0, 7, 0};
    BlendSplashImage(1, 1, image.data(), mask.data(), screen.data());
    EXPECT_EQ(screen, (Buffer{255, 255, 255, 0}));
}

TEST(SplashBlend, EveryPixelOfEveryRowBlendedAndPaddingKept) {
    const int width = 407, height = 3;
    const std::size_t size = SplashBufferSize(width, height);
    ASSERT_EQ(size, 1224u * 3u);
    Buffer image(size, 200), mask(size, 255), screen(size, 9);
    const std::size_t row = 1224;
    for (int r = 0; r < height; ++r)
        for (std::size_t p = 1221; p < row; ++p) screen[r * row + p] = 0xAB;
    BlendSplashImage(width, height, image.data(), mask.data(), screen.data());
    for (int r = 0; r < height; ++r) {
        for (std::size_t p = 0; p < 1221; ++p) ASSERT_EQ(screen[r * row + p], 200) << r << "," << p;
        for (std::size_t p = 1221; p < row; ++p) ASSERT_EQ(screen[r * row + p], 0xAB) << r << "," << p;
    }
}

TEST(SplashGeometry, RowSizesAndCentring) {
    EXPECT_EQ(SplashRowSize(407), 1224);
    EXPECT_EQ(SplashRowSize(4), 12);
    EXPECT_EQ(SplashRowSize(1), 4);
    EXPECT_EQ(SplashBufferSize(407, 284), 1224u * 284u);
    EXPECT_EQ(SplashBufferSize(0, 284), 0u);
    EXPECT_EQ(SplashCentredOrigin(1024, 407), 308);
    EXPECT_EQ(SplashCentredOrigin(768, 284), 242);
    EXPECT_EQ(SplashCentredOrigin(1920, 407), 756);
    EXPECT_EQ(SplashCentredOrigin(1080, 284), 398);
    EXPECT_EQ(SplashCentredOrigin(400, 407), -3);
}

}  // namespace
