#include "recorder/recorder_sounds.h"

#include <cmath>
#include <cstdint>

#include "runtime/wave.h"

namespace tovan::recorder {
namespace {

constexpr std::uint32_t kRate = 8'000;
constexpr std::size_t kHeaderBytes = 44;

// A short rising (start) or falling (stop) sweep that fades out, filling a
// file of exactly `file_bytes`.
std::string Sweep(std::size_t file_bytes, double from_hz, double to_hz) {
  const std::size_t count = (file_bytes - kHeaderBytes) / 2;
  constexpr double kPi = 3.14159265358979323846;
  std::string samples;
  double phase = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double progress = static_cast<double>(i) / static_cast<double>(count);
    phase += 2 * kPi * (from_hz + (to_hz - from_hz) * progress) / kRate;
    const auto value = static_cast<std::int16_t>(9000 * std::sin(phase) * (1 - progress));
    samples.push_back(static_cast<char>(value & 0xFF));
    samples.push_back(static_cast<char>((value >> 8) & 0xFF));
  }
  return rt::MonoPcmWave(kRate, 16, samples);
}

}  // namespace

const std::string& StartSound() {
  static const std::string sound = Sweep(14'764, 600, 1200);
  return sound;
}

const std::string& StopSound() {
  static const std::string sound = Sweep(14'124, 1200, 600);
  return sound;
}

}  // namespace tovan::recorder
