#include "paste/done_sound.h"

#include <cmath>
#include <cstdint>

#include "runtime/wave.h"

namespace tovan::paste {
namespace {

constexpr std::uint32_t kRiffBytes = 11'590;  // everything after "RIFF" and this size
constexpr std::uint32_t kRate = 22'050;
constexpr std::uint32_t kSamples = kRiffBytes - 4 - 24 - 8;  // less "WAVE", the fmt chunk, the data header

std::string Make() {
  // Two notes, a fifth apart, each fading out: a soft "done".
  constexpr double kPi = 3.14159265358979323846;
  std::string samples;
  for (std::uint32_t i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const bool second = i >= kSamples / 2;
    const double local = second ? t - static_cast<double>(kSamples / 2) / kRate : t;
    const double tone = std::sin(2 * kPi * (second ? 1318.5 : 880.0) * t) * std::exp(-local * 9.0);
    samples.push_back(static_cast<char>(static_cast<std::uint8_t>(128 + 90 * tone)));
  }
  return rt::MonoPcmWave(kRate, 8, samples);
}

}  // namespace

const std::string& DoneSound() {
  static const std::string sound = Make();
  return sound;
}

}  // namespace tovan::paste
