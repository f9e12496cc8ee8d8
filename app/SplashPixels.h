#pragma once

#include <cstddef>
#include <cstdint>

// Bytes in one row of a bottom-up 24-bit DIB, padded to a multiple of 4.
int SplashRowSize(int width);

// Whole 24-bit pixel buffer for width x height.
std::size_t SplashBufferSize(int width, int height);

// Position that centres an extent on the screen; truncates toward zero so a
// window wider than the screen starts at a negative coordinate.
int SplashCentredOrigin(int screenExtent, int windowExtent);

// Blends the image over the screen snapshot, weighted per pixel by the mask's
// blue byte (255 = image only, 0 = screen only). All three buffers are 24-bit
// rows of the same geometry; the row padding is left as it was.
void BlendSplashImage(int width, int height, const std::uint8_t* image, const std::uint8_t* mask,
                      std::uint8_t* screen);
