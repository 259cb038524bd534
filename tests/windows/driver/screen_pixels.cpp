#include "screen_pixels.h"

#include <algorithm>

namespace quorvel::test_driver {

namespace {

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryBitmap {
 public:
  MemoryBitmap(HDC screen, int width, int height)
      : dc_(CreateCompatibleDC(screen)), bitmap_(CreateCompatibleBitmap(screen, width, height)) {
    if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryBitmap() {
    if (old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  bool ok() const { return old_ != nullptr; }
  HDC dc() const { return dc_; }

  // The bitmap's pixels; it is taken out of the DC for the read, as GetDIBits wants.
  PixelGrid Read(int width, int height) {
    PixelGrid grid{width, height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SelectObject(dc_, old_);
    const int rows = GetDIBits(dc_, bitmap_, 0, static_cast<UINT>(height), grid.pixels.data(),
                               &info, DIB_RGB_COLORS);
    SelectObject(dc_, bitmap_);
    if (rows != height) return {};
    for (auto& p : grid.pixels) p &= 0xFFFFFFu;
    return grid;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

PixelGrid DrawnPixels(int width, int height, const std::function<void(HDC)>& paint) {
  if (width <= 0 || height <= 0) return {};
  const ScreenDc screen;
  MemoryBitmap bitmap(screen.get(), width, height);
  if (!bitmap.ok()) return {};
  paint(bitmap.dc());
  return bitmap.Read(width, height);
}

PixelGrid ScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const ScreenDc screen;
  bool copied = false;
  PixelGrid grid = DrawnPixels(width, height, [&](HDC dc) {
    copied = BitBlt(dc, 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
  });
  return copied ? grid : PixelGrid{};
}

std::size_t Differences(const PixelGrid& a, const PixelGrid& b) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
    if (a.pixels[i] != b.pixels[i]) ++count;
  }
  return count;
}

RECT InkBounds(const PixelGrid& grid, const std::function<bool(std::uint32_t)>& ink) {
  RECT bounds{grid.width, grid.height, 0, 0};
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) {
      if (!ink(grid.at(x, y))) continue;
      bounds.left = std::min<LONG>(bounds.left, x);
      bounds.top = std::min<LONG>(bounds.top, y);
      bounds.right = std::max<LONG>(bounds.right, x + 1);
      bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
    }
  }
  return bounds.right > bounds.left ? bounds : RECT{};
}

}  // namespace quorvel::test_driver
