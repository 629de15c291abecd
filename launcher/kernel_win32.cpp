// The kernel library krnln.fnr: the runtime and the application, loaded by
// the launcher from the unpacked archive. GetNewSock(1000) gives the
// runtime entry, which runs the application until its window closes.
#include <windows.h>

#include "launcher/program_image.h"
#include "runtime/win32/win32_platform.h"
#include "shell/app.h"

namespace {

int RuntimeEntry(const void* program_image) {
  if (!tovan::launcher::IsProgramImage(program_image)) return 0;
  tovan::rt::win32::PrepareProcess();
  // The executable's own module: its icon, and the folder the program works in.
  tovan::rt::win32::Win32Platform platform(GetModuleHandleW(nullptr));
  tovan::shell::App app(platform.Services());
  app.Start();
  platform.ui.Run();
  return 0;
}

}  // namespace

extern "C" __declspec(dllexport) std::uintptr_t GetNewSock(int interface_version) {
  if (interface_version != tovan::launcher::kInterfaceVersion) return 0;
  return reinterpret_cast<std::uintptr_t>(&RuntimeEntry);
}
