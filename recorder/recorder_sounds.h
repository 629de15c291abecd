// The recorder's two sounds: RIFF WAVE, PCM mono 8000 Hz 16-bit; the start
// sound is 14,764 bytes long, the stop sound 14,124.
#pragma once

#include <string>

namespace tovan::recorder {

const std::string& StartSound();
const std::string& StopSound();

}  // namespace tovan::recorder
