// A picture of the whole (virtual) screen, for failed tests.
#pragma once

#include <string>

namespace tovan::e2e {

// Copies the virtual screen through GDI and writes it as a 24-bit BMP file;
// false if anything failed.
bool SaveScreenshot(const std::wstring& path);

}  // namespace tovan::e2e
