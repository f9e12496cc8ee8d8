#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ResourceBytes.h"
#include "resource.h"

namespace {

template <typename T>
T At(const std::string& bytes, size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

BITMAPINFOHEADER HeaderOf(const std::string& dib) { return At<BITMAPINFOHEADER>(dib, 0); }

using SizeAndDepth = std::pair<int, int>;  // square size in pixels, bits per pixel

// The group's directory and, separately, the images that it points to: the
// shell picks an image by the directory, then draws what the image says.
void ReadIconGroup(UINT group, std::vector<SizeAndDepth>& fromDirectory, std::vector<SizeAndDepth>& fromImages) {
    const std::string dir = ResourceBytes(RT_GROUP_ICON, group);
    ASSERT_GE(dir.size(), 6u);
    EXPECT_EQ(At<WORD>(dir, 0), 0);  // reserved
    EXPECT_EQ(At<WORD>(dir, 2), 1);  // icons, not cursors
    const WORD count = At<WORD>(dir, 4);
    ASSERT_EQ(dir.size(), 6u + 14u * count);  // GRPICONDIRENTRY is 14 bytes
    for (WORD i = 0; i < count; ++i) {
        const size_t e = 6 + 14 * i;
        const int width = At<BYTE>(dir, e) == 0 ? 256 : At<BYTE>(dir, e);
        const int height = At<BYTE>(dir, e + 1) == 0 ? 256 : At<BYTE>(dir, e + 1);
        EXPECT_EQ(width, height);
        fromDirectory.emplace_back(width, At<WORD>(dir, e + 6));
        const std::string image = ResourceBytes(RT_ICON, At<WORD>(dir, e + 12));
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << "image " << i;
        EXPECT_EQ(At<DWORD>(dir, e + 8), image.size());
        const BITMAPINFOHEADER h = HeaderOf(image);
        EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(h.biHeight, 2 * h.biWidth);  // colour and AND mask
        fromImages.emplace_back(h.biWidth, h.biBitCount);
    }
}

}  // namespace

TEST(IconGroups, ImagesOfTheGivenSizesAndDepths) {
    const std::vector<SizeAndDepth> file = {{16, 8}, {32, 24}, {48, 24}, {128, 24}};
    // The notification area's sizes from 100% to 300%, 32-bit with alpha; the
    // normal icon also keeps its large frame.
    const std::vector<SizeAndDepth> trayOff = {{16, 32}, {20, 32}, {24, 32}, {32, 32}, {40, 32}, {48, 32}};
    std::vector<SizeAndDepth> tray = trayOff;
    tray.emplace_back(128, 32);
    const std::pair<UINT, const std::vector<SizeAndDepth>*> groups[] = {
        {IDI_FILE_ICON, &file}, {IDI_TRAY, &tray}, {IDI_TRAY_OFF, &trayOff}};
    for (const auto& [group, expected] : groups) {
        SCOPED_TRACE(testing::Message() << "group " << group);
        std::vector<SizeAndDepth> fromDirectory, fromImages;
        ReadIconGroup(group, fromDirectory, fromImages);
        std::sort(fromDirectory.begin(), fromDirectory.end());
        std::sort(fromImages.begin(), fromImages.end());
        EXPECT_EQ(fromDirectory, *expected);
        EXPECT_EQ(fromImages, *expected);
    }
}

namespace {

// A 32-bit frame's pixels, top row first, as 0xAARRGGBB.
struct Frame {
    int size = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y * size + x)]; }
};

std::vector<Frame> FramesOf(UINT group) {
    std::vector<Frame> frames;
    const std::string dir = ResourceBytes(RT_GROUP_ICON, group);
    for (WORD i = 0; i < At<WORD>(dir, 4); ++i) {
        const std::string image = ResourceBytes(RT_ICON, At<WORD>(dir, 6 + 14 * i + 12));
        const BITMAPINFOHEADER h = HeaderOf(image);
        if (h.biBitCount != 32 || image.size() < h.biSize + 4u * h.biWidth * h.biWidth) continue;
        Frame frame;
        frame.size = h.biWidth;
        for (int y = frame.size - 1; y >= 0; --y)  // stored bottom-up
            for (int x = 0; x < frame.size; ++x)
                frame.pixels.push_back(At<DWORD>(image, h.biSize + 4u * static_cast<size_t>(y * frame.size + x)));
        frames.push_back(std::move(frame));
    }
    return frames;
}

// The share of `large`'s pixels that differ visibly from `small` resized to
// its size, pixel for pixel (a resize that keeps hard edges).
double DifferenceFromResize(const Frame& small, const Frame& large) {
    int differing = 0;
    for (int y = 0; y < large.size; ++y)
        for (int x = 0; x < large.size; ++x) {
            const DWORD a = large.At(x, y), b = small.At(x * small.size / large.size, y * small.size / large.size);
            int most = 0;
            for (int shift = 0; shift < 32; shift += 8)
                most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            differing += most > 64 ? 1 : 0;
        }
    return double(differing) / (large.size * large.size);
}

}  // namespace

// Each frame of the tray icons is drawn for its size: a frame whose size is
// no whole multiple of a smaller one's is no resize of it, and the frames of
// 32 pixels and more have a tile with smooth, partly transparent corners.
TEST(IconGroups, TrayFramesAreDrawnNotResized) {
    for (UINT group : {IDI_TRAY, IDI_TRAY_OFF}) {
        SCOPED_TRACE(testing::Message() << "group " << group);
        const std::vector<Frame> frames = FramesOf(group);
        ASSERT_GE(frames.size(), 6u);
        for (const Frame& large : frames) {
            bool smoothEdge = false;
            for (const DWORD p : large.pixels) smoothEdge = smoothEdge || ((p >> 24) > 0 && (p >> 24) < 255);
            if (large.size >= 32) {
                EXPECT_TRUE(smoothEdge) << large.size;
            }
            for (const Frame& small : frames) {
                if (small.size < large.size && large.size % small.size != 0) {
                    EXPECT_GT(DifferenceFromResize(small, large), 0.05) << small.size << " resized to " << large.size;
                }
            }
        }
    }
}

TEST(IconGroups, TrayIconsLoadAtTheStandardSizes) {
    for (UINT group : {IDI_TRAY, IDI_TRAY_OFF})
    for (int metric : {SM_CXICON, SM_CXSMICON}) {
        const int size = ::GetSystemMetrics(metric);
        HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(group),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP bm = {};
        ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
}

TEST(Bitmaps, SizesDepthsAndStoredFormats) {
    struct Case {
        UINT id;
        LONG width, height;
        WORD bits;
        DWORD compression;
        DWORD alsoAllowed;  // "uncompressed" with colour masks is still uncompressed
    };
    const Case cases[] = {
        {IDB_LOGO, 197, 184, 32, BI_RGB, BI_BITFIELDS},
        {IDB_ABOUT, 407, 284, 16, BI_RGB, BI_BITFIELDS},
        {IDB_SPLASH, 407, 284, 16, BI_RGB, BI_RGB},
        {IDB_SPLASH_MASK, 407, 284, 8, BI_RLE8, BI_RLE8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bitmap " << c.id);
        const std::string dib = ResourceBytes(RT_BITMAP, c.id);
        ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
        const BITMAPINFOHEADER h = HeaderOf(dib);
        EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(h.biWidth, c.width);
        EXPECT_EQ(std::labs(h.biHeight), c.height);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, c.bits);
        EXPECT_TRUE(h.biCompression == c.compression || h.biCompression == c.alsoAllowed)
            << "compression " << h.biCompression;
    }
}

TEST(Bitmaps, SplashImageIsFiveFiveFiveWithTheTopBitUnused) {
    const std::string dib = ResourceBytes(RT_BITMAP, IDB_SPLASH);
    const BITMAPINFOHEADER h = HeaderOf(dib);
    ASSERT_EQ(h.biBitCount, 16);
    ASSERT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));  // BI_RGB at 16 bits is 5-5-5
    const size_t rowBytes = ((static_cast<size_t>(h.biWidth) * 16 + 31) / 32) * 4;
    const size_t rows = static_cast<size_t>(std::labs(h.biHeight));
    const size_t pixels = h.biSize + h.biClrUsed * sizeof(RGBQUAD);
    ASSERT_GE(dib.size(), pixels + rowBytes * rows);
    size_t topBitSet = 0;
    for (size_t y = 0; y < rows; ++y) {
        for (LONG x = 0; x < h.biWidth; ++x) {
            if (At<WORD>(dib, pixels + y * rowBytes + 2 * static_cast<size_t>(x)) & 0x8000) ++topBitSet;
        }
    }
    EXPECT_EQ(topBitSet, 0u);
}

TEST(Bitmaps, MaskHasAFullGreyPalette) {
    const std::string dib = ResourceBytes(RT_BITMAP, IDB_SPLASH_MASK);
    const BITMAPINFOHEADER h = HeaderOf(dib);
    EXPECT_TRUE(h.biClrUsed == 0 || h.biClrUsed == 256) << h.biClrUsed;
    ASSERT_GE(dib.size(), h.biSize + 256 * sizeof(RGBQUAD));
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD q = At<RGBQUAD>(dib, h.biSize + static_cast<size_t>(i) * sizeof(RGBQUAD));
        EXPECT_TRUE(q.rgbRed == i && q.rgbGreen == i && q.rgbBlue == i) << "entry " << i;
    }
}

namespace {

// The bitmap as the program loads it, then read back top-down as 0x00RRGGBB.
std::vector<DWORD> LoadedPixels(UINT id, LONG& width, LONG& height) {
    std::vector<DWORD> pixels;
    HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP bm = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof bm, &bm) == 0) return pixels;
    width = bm.bmWidth;
    height = bm.bmHeight;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(bitmap);
    if (rows != height) pixels.clear();
    return pixels;
}

}  // namespace

TEST(Bitmaps, AboutPictureHasTheSplashImagesPixels) {
    LONG aw = 0, ah = 0, sw = 0, sh = 0;
    const std::vector<DWORD> about = LoadedPixels(IDB_ABOUT, aw, ah);
    const std::vector<DWORD> splash = LoadedPixels(IDB_SPLASH, sw, sh);
    ASSERT_FALSE(splash.empty());
    EXPECT_EQ(aw, sw);
    EXPECT_EQ(ah, sh);
    EXPECT_TRUE(about == splash);
}

// The mask as the splash blends with it: 255 over the body, a shadow band from
// about 231 down to about 16 along the right and bottom edges, about 231 on the
// leftmost column and the second row, 0 on the outermost top, bottom and right.
TEST(Bitmaps, MaskIsOpaqueOverTheBodyWithRimAndShadowBands) {
    LONG w = 0, h = 0;
    const std::vector<DWORD> mask = LoadedPixels(IDB_SPLASH_MASK, w, h);
    ASSERT_EQ(w, 407);
    ASSERT_EQ(h, 284);
    ASSERT_FALSE(mask.empty());
    auto level = [&](LONG x, LONG y) { return static_cast<int>(mask[static_cast<size_t>(y * w + x)] & 0xFF); };
    auto isGrey = [&](LONG x, LONG y) {
        const DWORD p = mask[static_cast<size_t>(y * w + x)] & 0xFFFFFF;
        return p == (p & 0xFF) * 0x010101u;
    };
    auto about = [](int value, int target) { return std::abs(value - target) <= 12; };
    const LONG bodyRight = w - 9;   // the 7 band columns, then the transparent one
    const LONG bodyBottom = h - 10;  // the 8 band rows, then the transparent one
    int notGrey = 0, badEdge = 0, badBody = 0, badRim = 0, badBand = 0;
    for (LONG y = 0; y < h; ++y) {
        for (LONG x = 0; x < w; ++x) {
            if (!isGrey(x, y)) ++notGrey;
            const bool edge = y == 0 || y == h - 1 || x == w - 1;
            if (edge && level(x, y) != 0) ++badEdge;
            if (x >= 1 && x <= bodyRight && y >= 2 && y <= bodyBottom && level(x, y) != 255) ++badBody;
        }
    }
    for (LONG y = 2; y <= bodyBottom; ++y) {
        if (!about(level(0, y), 231)) ++badRim;
        if (!about(level(bodyRight + 1, y), 231) || !about(level(w - 2, y), 16)) ++badBand;
        for (LONG x = bodyRight + 1; x < w - 1; ++x) {
            if (level(x + 1, y) > level(x, y)) ++badBand;
        }
    }
    for (LONG x = 1; x <= bodyRight; ++x) {
        if (!about(level(x, 1), 231)) ++badRim;
        if (!about(level(x, bodyBottom + 1), 231) || !about(level(x, h - 2), 16)) ++badBand;
        for (LONG y = bodyBottom + 1; y < h - 1; ++y) {
            if (level(x, y + 1) > level(x, y)) ++badBand;
        }
    }
    EXPECT_EQ(notGrey, 0);
    EXPECT_EQ(badEdge, 0);
    EXPECT_EQ(badBody, 0);
    EXPECT_EQ(badRim, 0);
    EXPECT_EQ(badBand, 0);
}
