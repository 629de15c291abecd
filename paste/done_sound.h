// The short chime played when every checked row has been pasted: a RIFF
// WAVE file, PCM, mono, 22050 samples per second, 8 bits, 11,590 bytes of
// RIFF data.
#pragma once

#include <string>

namespace tovan::paste {

const std::string& DoneSound();

}  // namespace tovan::paste
