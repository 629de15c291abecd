// The program's entry: the Win32 platform and the application on it.
#include <windows.h>

#include "runtime/win32/win32_platform.h"
#include "shell/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  tovan::rt::win32::PrepareProcess();
  tovan::rt::win32::Win32Platform platform(instance);
  tovan::shell::App app(platform.Services());
  app.Start();
  platform.ui.Run();
  return 0;
}
