// Memory inside another process, for messages whose parameters are
// pointers (list views, headers, ...): the structure is written there, the
// message sent with its remote address, and the answer read back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tovan::e2e {

// A block of memory inside the process owning a window, freed on
// destruction. Valid() is false if the process could not be opened or the
// memory not allocated.
class RemoteBlock {
 public:
  RemoteBlock(HWND owner, size_t size);
  ~RemoteBlock();
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool Valid() const { return address_ != nullptr; }
  // Address, inside the other process, of the byte at offset.
  void* At(size_t offset) const { return static_cast<char*>(address_) + offset; }

  bool Write(size_t offset, const void* data, size_t size) const;
  bool Read(size_t offset, void* data, size_t size) const;

  // UTF-16 text at any address of the other process, up to its terminating
  // zero or max_units units, as UTF-8.
  std::optional<std::string> ReadText(const void* address, size_t max_units) const;

 private:
  bool ReadAt(const void* address, void* data, size_t size) const;

  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_ = 0;
};

// Sends message with a pointer to a copy of value made inside the window's
// process, then copies the (possibly changed) structure back into value.
// The message's result, or nullopt if any step failed or timed out.
std::optional<LRESULT> SendWithRemoteStruct(HWND hwnd, UINT message, WPARAM wparam,
                                            void* value, size_t size);

template <class Struct>
std::optional<LRESULT> SendWithRemoteStruct(HWND hwnd, UINT message, WPARAM wparam,
                                            Struct& value) {
  return SendWithRemoteStruct(hwnd, message, wparam, &value, sizeof value);
}

}  // namespace tovan::e2e
