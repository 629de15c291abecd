// The one thing each backend's GBK converter answers: which character a
// single GBK code stands for. The fast codec builds its tables from it once.
#pragma once

#include <cstdint>

namespace tovan::rt {

inline constexpr std::uint32_t kNoCharacter = 0xFFFFFFFF;

// The Unicode character of a GBK code: a single byte (code < 0x100) or a
// lead and trail byte pair (lead << 8 | trail); kNoCharacter where the code
// page has none.
std::uint32_t GbkCodeToUnicode(std::uint16_t code);

}  // namespace tovan::rt
