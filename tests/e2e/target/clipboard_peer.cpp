// "Another program" at the clipboard, for the end-to-end tests:
//   clipboard_peer hold MS        holds the clipboard open for MS milliseconds
//                                 (signals the named event TovanClipboardHeld
//                                 once it holds it)
//   clipboard_peer bitmap FILE    reads the clipboard's bitmap and writes
//                                 "<width> <height> <r,g,b at the left middle>
//                                 <r,g,b at the right middle> <has DIB 0/1>"
//   clipboard_peer watch DELAY HOLD
//                                 a clipboard manager: reads the text of every
//                                 change DELAY ms after it (0: at once),
//                                 holding the clipboard HOLD ms while it
//                                 reads; signals TovanClipboardWatching<DELAY>
//                                 once it listens, and runs until ended
//   clipboard_peer peek DELAY HOLD
//                                 the same, but it opens the clipboard and
//                                 holds it without reading
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int Hold(int ms) {
  if (!OpenClipboard(nullptr)) return 2;
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"TovanClipboardHeld");
  SetEvent(held);
  Sleep(static_cast<DWORD>(ms));
  CloseClipboard();
  CloseHandle(held);
  return 0;
}

int DumpBitmap(const wchar_t* path) {
  for (int attempt = 0; !OpenClipboard(nullptr); ++attempt) {
    if (attempt == 100) return 2;
    Sleep(10);
  }
  const bool has_dib = IsClipboardFormatAvailable(CF_DIB) != FALSE;
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) {
    CloseClipboard();
    return 3;
  }
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = info.bmWidth;
  header.bmiHeader.biHeight = -info.bmHeight;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  std::vector<unsigned char> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &header, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  CloseClipboard();
  if (rows != info.bmHeight) return 4;
  auto at = [&](int x, int y) { return &pixels[(static_cast<size_t>(y) * info.bmWidth + x) * 4]; };
  const unsigned char* left = at(0, info.bmHeight / 2);
  const unsigned char* right = at(info.bmWidth - 1, info.bmHeight / 2);
  FILE* out = _wfopen(path, L"w");
  if (!out) return 5;
  std::fprintf(out, "%ld %ld %d,%d,%d %d,%d,%d %d\n", info.bmWidth, info.bmHeight, left[2], left[1], left[0],
               right[2], right[1], right[0], has_dib ? 1 : 0);
  std::fclose(out);
  return 0;
}

struct Watch {
  UINT delay;
  DWORD hold;
  bool read;
};

void ReadText(HWND window, const Watch& watch) {
  for (int attempt = 0; !OpenClipboard(window); ++attempt) {
    if (attempt == 100) return;
    Sleep(1);
  }
  if (HANDLE data = watch.read ? GetClipboardData(CF_UNICODETEXT) : nullptr) {
    if (GlobalLock(data)) GlobalUnlock(data);
  }
  Sleep(watch.hold);
  CloseClipboard();
}

LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  const auto* watch = reinterpret_cast<const Watch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_CLIPBOARDUPDATE && watch) {
    if (watch->delay == 0)
      ReadText(window, *watch);
    else
      SetTimer(window, GetClipboardSequenceNumber(), watch->delay, nullptr);  // one timer per change
    return 0;
  }
  if (message == WM_TIMER && watch) {
    KillTimer(window, w);
    ReadText(window, *watch);
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

int WatchClipboard(UINT delay, DWORD hold, bool read) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WatchProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TovanClipboardWatch";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  Watch watch{delay, hold, read};
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watch));
  if (!window || !AddClipboardFormatListener(window)) return 2;
  HANDLE watching = CreateEventW(nullptr, TRUE, FALSE, (L"TovanClipboardWatching" + std::to_wstring(delay)).c_str());
  SetEvent(watching);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  CloseHandle(watching);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], L"hold") == 0) return Hold(_wtoi(argv[2]));
  if (argc == 3 && std::wcscmp(argv[1], L"bitmap") == 0) return DumpBitmap(argv[2]);
  if (argc == 4 && (std::wcscmp(argv[1], L"watch") == 0 || std::wcscmp(argv[1], L"peek") == 0))
    return WatchClipboard(static_cast<UINT>(_wtoi(argv[2])), static_cast<DWORD>(_wtoi(argv[3])),
                          std::wcscmp(argv[1], L"watch") == 0);
  return 1;
}
