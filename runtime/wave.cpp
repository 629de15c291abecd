#include "runtime/wave.h"

namespace tovan::rt {
namespace {

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v));
  out.push_back(static_cast<char>(v >> 8));
}

}  // namespace

std::string MonoPcmWave(std::uint32_t rate, std::uint16_t bits, std::string_view samples) {
  const std::uint16_t block = static_cast<std::uint16_t>(bits / 8);
  std::string wave = "RIFF";
  Put32(wave, static_cast<std::uint32_t>(36 + samples.size()));
  wave += "WAVEfmt ";
  Put32(wave, 16);
  Put16(wave, 1);  // PCM
  Put16(wave, 1);  // mono
  Put32(wave, rate);
  Put32(wave, rate * block);
  Put16(wave, block);
  Put16(wave, bits);
  wave += "data";
  Put32(wave, static_cast<std::uint32_t>(samples.size()));
  wave.append(samples);
  return wave;
}

}  // namespace tovan::rt
