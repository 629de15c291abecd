// The whole Win32 platform: one object the program's entry creates.
#pragma once

#include <windows.h>

#include "runtime/platform.h"
#include "runtime/win32/win32_automation.h"
#include "runtime/win32/win32_clock.h"
#include "runtime/win32/win32_services.h"
#include "runtime/win32/win32_target.h"
#include "runtime/win32/win32_ui.h"

namespace tovan::rt::win32 {

// Prepares the process before any window exists: per-monitor DPI awareness
// and the common controls.
void PrepareProcess();

class Win32Platform {
 public:
  explicit Win32Platform(HINSTANCE instance) : ui(instance), clock(ui), clipboard(ui), hotkeys(ui), mouse_hook(ui), keyboard_hook(ui), worker(ui), automation(ui) {}
  Platform Services() {
    return Platform{ui, clock, clipboard, files, hotkeys, keys, messages, mouse_hook, keyboard_hook, injector, shell, system, worker, automation, target};
  }

  Win32Ui ui;
  Win32Clock clock;
  Win32Clipboard clipboard;
  Win32Files files;
  Win32Hotkeys hotkeys;
  Win32Keys keys;
  Win32Messages messages;
  Win32MouseHook mouse_hook;
  Win32KeyboardHook keyboard_hook;
  Win32Injector injector;
  Win32ShellOpen shell;
  Win32System system;
  Win32Worker worker;
  Win32Automation automation;
  Win32Target target;
};

}  // namespace tovan::rt::win32
