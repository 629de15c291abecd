// Pictures from image file bytes, decoded by the system's own codecs (WIC).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tovan::rt::win32 {

// A decoded picture: top-down rows of 32-bit BGRX pixels, transparent parts
// laid over white (as a pasted picture looks on a page).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// PNG, JPEG, BMP, GIF (the first frame) and every other format the system
// decodes; nullopt for bytes that are no picture.
std::optional<Picture> DecodePicture(std::string_view bytes);

// A device-dependent bitmap of the picture (the kind other programs read
// from the clipboard), owned by the caller.
HBITMAP MakeBitmap(const Picture& picture);

// The picture as a packed device-independent bitmap (header and bottom-up
// pixels) in movable global memory, owned by the caller.
HGLOBAL MakePackedDib(const Picture& picture);

}  // namespace tovan::rt::win32
