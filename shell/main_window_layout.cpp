#include "shell/main_window_layout.h"

namespace tovan::shell {

rt::WindowLayout MainWindowLayout() {
  return rt::WindowLayout{
      .title = kTitle,
      .width = kWindowWidth,
      .height = kWindowHeight,
      .resizable = false,
      .visible_width = kWindowWidth,
  };
}

std::vector<rt::UnitLayout> MainWindowUnits() {
  using rt::UnitKind;
  return {
      // Every system-wide hotkey of the program is registered with this receiver.
      {.name = "标签1", .kind = UnitKind::kHotkeyReceiver, .rect = {500, 0, 40, 12}},
  };
}

}  // namespace tovan::shell
