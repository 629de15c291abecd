#include "paste/done_sound.h"

#include <cmath>
#include <cstdint>

namespace tovan::paste {
namespace {

constexpr std::uint32_t kRiffBytes = 11'590;  // everything after "RIFF" and this size
constexpr std::uint32_t kRate = 22'050;
constexpr std::uint32_t kSamples = kRiffBytes - 4 - 24 - 8;  // less "WAVE", the fmt chunk, the data header

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v));
  out.push_back(static_cast<char>(v >> 8));
}

std::string Make() {
  std::string wave = "RIFF";
  Put32(wave, kRiffBytes);
  wave += "WAVEfmt ";
  Put32(wave, 16);
  Put16(wave, 1);      // PCM
  Put16(wave, 1);      // mono
  Put32(wave, kRate);
  Put32(wave, kRate);  // bytes per second: one byte a sample
  Put16(wave, 1);      // block align
  Put16(wave, 8);      // bits per sample
  wave += "data";
  Put32(wave, kSamples);
  // Two notes, a fifth apart, each fading out: a soft "done".
  constexpr double kPi = 3.14159265358979323846;
  for (std::uint32_t i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const bool second = i >= kSamples / 2;
    const double local = second ? t - static_cast<double>(kSamples / 2) / kRate : t;
    const double tone = std::sin(2 * kPi * (second ? 1318.5 : 880.0) * t) * std::exp(-local * 9.0);
    wave.push_back(static_cast<char>(static_cast<std::uint8_t>(128 + 90 * tone)));
  }
  return wave;
}

}  // namespace

const std::string& DoneSound() {
  static const std::string sound = Make();
  return sound;
}

}  // namespace tovan::paste
