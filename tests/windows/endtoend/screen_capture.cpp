#include "screen_capture.h"

#include <cstdio>
#include <vector>

#include "screen_pixels.h"

namespace quorvel::demo {

namespace {

struct File {
  FILE* handle;
  explicit File(const std::wstring& path) : handle(_wfopen(path.c_str(), L"wb")) {}
  ~File() {
    if (handle) fclose(handle);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
};

}  // namespace

bool SaveScreenRect(const RECT& rect, const std::wstring& path) {
  const test_driver::PixelGrid shown = test_driver::ScreenPixels(rect);
  if (shown.pixels.empty()) return false;
  const int width = shown.width;
  const int height = shown.height;

  // Rows of a 24-bit BMP are padded to four bytes and stored bottom-up, blue first.
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
  for (int y = 0; y < height; ++y) {
    unsigned char* row = &pixels[static_cast<std::size_t>(height - 1 - y) * stride];
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = shown.at(x, y);
      row[3 * x] = p & 0xFF;
      row[3 * x + 1] = p >> 8 & 0xFF;
      row[3 * x + 2] = p >> 16 & 0xFF;
    }
  }

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  const File file(path);
  if (!file.handle) return false;
  return fwrite(&header, sizeof header, 1, file.handle) == 1 &&
         fwrite(&info, sizeof info, 1, file.handle) == 1 &&
         fwrite(pixels.data(), 1, pixels.size(), file.handle) == pixels.size();
}

bool SaveWindow(HWND window, const std::wstring& path) {
  RECT rect{};
  return GetWindowRect(window, &rect) && SaveScreenRect(rect, path);
}

}  // namespace quorvel::demo
