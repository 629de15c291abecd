// A RIFF WAVE file of PCM samples, as the sound service plays it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovan::rt {

// The whole file: the 44-byte header for mono PCM at this rate and sample
// width (8 or 16 bits), then the sample bytes as given.
std::string MonoPcmWave(std::uint32_t rate, std::uint16_t bits, std::string_view samples);

}  // namespace tovan::rt
