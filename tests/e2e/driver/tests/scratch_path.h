// Files a test writes for itself, in the temporary folder (inside the run's
// own Wine prefix under tools/wine/run.sh) and named per process, so that
// concurrent runs never share one.
#pragma once

#include <windows.h>

#include <string>

namespace tovan::e2e {

inline std::wstring ScratchPath(const std::wstring& name) {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, folder);
  return folder + std::to_wstring(GetCurrentProcessId()) + L" " + name;
}

}  // namespace tovan::e2e
