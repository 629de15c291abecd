// The services the application reaches the platform through. A backend
// (Win32 or simulated) owns the objects; the application only sees these.
#pragma once

#include "runtime/automation.h"
#include "runtime/clipboard.h"
#include "runtime/clock.h"
#include "runtime/files.h"
#include "runtime/hotkeys.h"
#include "runtime/keys.h"
#include "runtime/messages.h"
#include "runtime/input_hooks.h"
#include "runtime/input_injector.h"
#include "runtime/shell_open.h"
#include "runtime/system.h"
#include "runtime/target.h"
#include "runtime/ui.h"
#include "runtime/worker.h"

namespace tovan::rt {

struct Platform {
  Ui& ui;
  Clock& clock;
  Clipboard& clipboard;
  Files& files;
  Hotkeys& hotkeys;
  Keys& keys;
  Messages& messages;
  MouseHook& mouse_hook;
  KeyboardHook& keyboard_hook;
  InputInjector& injector;
  ShellOpen& shell;
  System& system;
  Worker& worker;
  Automation& automation;
  Target& target;
};

}  // namespace tovan::rt
