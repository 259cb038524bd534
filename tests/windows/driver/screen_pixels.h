#pragma once
// What the screen shows, read back as pixels, and pictures drawn off screen to compare with it:
// how the driver judges what a user sees (icons, whole captions) where handles say nothing.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace quorvel::test_driver {

// Pixels as 0xRRGGBB, row by row from the top.
struct PixelGrid {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What the screen shows inside `rect` (screen coordinates); empty when it could not be read.
PixelGrid ScreenPixels(const RECT& rect);

// A width x height picture that `paint` draws on a memory DC like the screen's.
PixelGrid DrawnPixels(int width, int height, const std::function<void(HDC)>& paint);

// How many pixels differ between two grids of the same size.
std::size_t Differences(const PixelGrid& a, const PixelGrid& b);

// The smallest rectangle holding every pixel that `ink` takes; empty when it takes none.
RECT InkBounds(const PixelGrid& grid, const std::function<bool(std::uint32_t)>& ink);

}  // namespace quorvel::test_driver
