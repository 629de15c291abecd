// The whole simulated platform: one object a test creates to run the
// application on a virtual clock, with every service and the action log.
#pragma once

#include "runtime/platform.h"
#include "runtime/sim/action_log.h"
#include "runtime/sim/sim_automation.h"
#include "runtime/sim/sim_services.h"
#include "runtime/sim/sim_target.h"
#include "runtime/sim/sim_ui.h"
#include "runtime/sim/virtual_clock.h"

namespace tovan::rt::sim {

class SimPlatform {
 public:
  SimPlatform()
      : ui(clock, log),
        clipboard(clock, log),
        files(clock, log),
        hotkeys(ui, clock, log),
        keys(clock, log),
        messages(clock, log),
        shell(clock, log),
        system(clock, log),
        worker(clock) {
    keys.SetTarget(&target);
    messages.SetTarget(&target);
  }

  Platform Services() {
    return Platform{ui, clock, clipboard, files, hotkeys, keys, messages, mouse_hook, keyboard_hook, injector, shell, system, worker, automation, target};
  }
  std::int64_t NowMillis() const { return clock.NowMicros() / 1000; }

  ActionLog log;
  VirtualClock clock;
  SimUi ui;
  SimClipboard clipboard;
  SimFiles files;
  SimHotkeys hotkeys;
  SimKeys keys;
  SimMessages messages;
  SimMouseHook mouse_hook{ui, clock};
  SimKeyboardHook keyboard_hook{ui};
  SimInjector injector{clock, log};
  SimShellOpen shell;
  SimSystem system;
  SimWorker worker;
  SimAutomation automation{clock, log};
  SimTarget target{clock, clipboard};
};

}  // namespace tovan::rt::sim
