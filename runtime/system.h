// Process-wide services: the single-instance marker and memory trimming.
#pragma once

#include <string_view>

namespace tovan::rt {

class System {
 public:
  virtual ~System() = default;
  // Takes the named marker for this process and holds it until the process
  // ends. False when another running process already holds it.
  virtual bool ClaimInstance(std::string_view name) = 0;
  // Hands the process's unused memory pages back to the system.
  virtual void TrimWorkingSet() = 0;
  // Starts playing a RIFF WAVE sound and returns at once. The bytes must
  // stay in place until it has played.
  virtual void PlayWave(std::string_view wave) = 0;
};

}  // namespace tovan::rt
