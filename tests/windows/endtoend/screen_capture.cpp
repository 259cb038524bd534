#include "screen_capture.h"

#include <cstdio>
#include <vector>

namespace quorvel::demo {

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
  HBITMAP bitmap() const { return bitmap_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

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
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  const ScreenDc screen;
  if (!screen.get()) return false;
  const MemoryBitmap copy(screen.get(), width, height);
  if (!copy.ok() ||
      !BitBlt(copy.dc(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY)) {
    return false;
  }

  // Rows of a 24-bit BMP are padded to four bytes and stored bottom-up.
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  if (GetDIBits(copy.dc(), copy.bitmap(), 0, static_cast<UINT>(height), pixels.data(), &info,
                DIB_RGB_COLORS) != height) {
    return false;
  }

  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  info.bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
  const File file(path);
  if (!file.handle) return false;
  return fwrite(&header, sizeof header, 1, file.handle) == 1 &&
         fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file.handle) == 1 &&
         fwrite(pixels.data(), 1, pixels.size(), file.handle) == pixels.size();
}

bool SaveWindow(HWND window, const std::wstring& path) {
  RECT rect{};
  return GetWindowRect(window, &rect) && SaveScreenRect(rect, path);
}

}  // namespace quorvel::demo
