#include "driver/screenshot.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace tovan::e2e {

namespace {

// Releases what GetDC, CreateCompatibleDC and CreateCompatibleBitmap gave.
struct ScreenCopy {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = nullptr;
  ~ScreenCopy() {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    if (screen != nullptr) ReleaseDC(nullptr, screen);
  }
};

bool WriteFileWhole(const std::wstring& path, const std::vector<char>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                            nullptr) &&
                  written == bytes.size();
  return CloseHandle(file) && ok;
}

}  // namespace

bool SaveScreenshot(const std::wstring& path) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) return false;

  ScreenCopy copy;
  if (copy.screen == nullptr || copy.memory == nullptr) return false;
  copy.bitmap = CreateCompatibleBitmap(copy.screen, width, height);
  if (copy.bitmap == nullptr) return false;
  HGDIOBJ previous = SelectObject(copy.memory, copy.bitmap);
  const bool blitted =
      BitBlt(copy.memory, 0, 0, width, height, copy.screen, left, top, SRCCOPY | CAPTUREBLT);
  SelectObject(copy.memory, previous);
  if (!blitted) return false;

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up rows, as BMP files store them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t pixels_size = stride * static_cast<size_t>(height);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels_size);

  std::vector<char> bytes(file.bfSize);
  std::copy_n(reinterpret_cast<const char*>(&file), sizeof file, bytes.begin());
  std::copy_n(reinterpret_cast<const char*>(&info), sizeof info, bytes.begin() + sizeof file);
  if (GetDIBits(copy.memory, copy.bitmap, 0, static_cast<UINT>(height),
                bytes.data() + file.bfOffBits, reinterpret_cast<BITMAPINFO*>(&info),
                DIB_RGB_COLORS) != height) {
    return false;
  }
  return WriteFileWhole(path, bytes);
}

}  // namespace tovan::e2e
