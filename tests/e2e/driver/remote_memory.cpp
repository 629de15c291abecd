#include "driver/remote_memory.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "driver/text.h"
#include "driver/window.h"

namespace tovan::e2e {

RemoteBlock::RemoteBlock(HWND owner, size_t size) : size_(size) {
  process_ = OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      ProcessIdOf(owner));
  if (process_ != nullptr) {
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
}

RemoteBlock::~RemoteBlock() {
  if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

bool RemoteBlock::Write(size_t offset, const void* data, size_t size) const {
  SIZE_T written = 0;
  return Valid() && offset + size <= size_ &&
         WriteProcessMemory(process_, At(offset), data, size, &written) && written == size;
}

bool RemoteBlock::Read(size_t offset, void* data, size_t size) const {
  return Valid() && offset + size <= size_ && ReadAt(At(offset), data, size);
}

bool RemoteBlock::ReadAt(const void* address, void* data, size_t size) const {
  SIZE_T read = 0;
  return ReadProcessMemory(process_, address, data, size, &read) && read == size;
}

std::optional<std::string> RemoteBlock::ReadText(const void* address, size_t max_units) const {
  // Read in small pieces: the text may end just before an unreadable page
  // (a list view may answer with a pointer to its owner's own string).
  std::wstring text;
  wchar_t piece[64];
  const auto* next = static_cast<const wchar_t*>(address);
  while (text.size() < max_units) {
    size_t units = std::min<size_t>(std::size(piece), max_units - text.size());
    while (units > 1 && !ReadAt(next, piece, units * sizeof(wchar_t))) units /= 2;
    if (!ReadAt(next, piece, units * sizeof(wchar_t))) return std::nullopt;
    const std::wstring_view got(piece, units);
    const size_t end = got.find(L'\0');
    text.append(got.substr(0, end));
    if (end != std::wstring_view::npos) break;
    next += units;
  }
  return WideToUtf8(text);
}

std::optional<LRESULT> SendWithRemoteStruct(HWND hwnd, UINT message, WPARAM wparam, void* value,
                                            size_t size) {
  RemoteBlock block(hwnd, size);
  if (!block.Write(0, value, size)) return std::nullopt;
  const auto result = SendWithTimeout(hwnd, message, wparam, reinterpret_cast<LPARAM>(block.At(0)));
  if (!result || !block.Read(0, value, size)) return std::nullopt;
  return result;
}

}  // namespace tovan::e2e
