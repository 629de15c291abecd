// The description of one window unit: the main window or one of its controls.
// The application lists every unit of its window in one table of these; each
// backend builds its window from that table.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/geometry.h"

namespace tovan::rt {

enum class UnitKind {
  kWindow,            // the main window itself
  kPictureButton,     // coloured command button with a settable caption and background
  kButton,            // plain push button
  kEdit,              // single-line edit box
  kMultiLineEdit,     // multi-line edit box
  kComboList,         // drop-down list with fixed items (no typing)
  kComboEdit,         // drop-down list whose text can also be typed
  kCheckBox,
  kRadio,
  kLabel,
  kTransparentLabel,  // caption drawn straight over the window's background picture
  kPictureBox,
  kListBox,
  kSuperList,         // multi-column report list with check boxes, rows from a ListModel
  kTimer,
  kDropTarget,
  kBalloonTip,
  kHotkeyReceiver,    // label whose feedback event every registered hotkey fires
};

struct FontLayout {
  std::string face;
  int pixel_height = 12;
  bool bold = false;
  friend bool operator==(const FontLayout&, const FontLayout&) = default;
};

struct ColumnLayout {
  std::string header;
  int width = 0;
};

struct UnitLayout {
  std::string name;
  UnitKind kind = UnitKind::kLabel;
  std::string caption;                // caption or initial text
  Rect rect;                          // window pixels at 96 DPI
  std::vector<std::string> items;     // combo and list box items
  int selection = -1;                 // initial selection (combo, list box)
  std::vector<ColumnLayout> columns;    // super list columns
  std::optional<FontLayout> font;
  std::optional<Colour> back_colour;  // picture buttons, lists, combos
  std::optional<Colour> text_colour;  // transparent labels
  int timer_period_ms = 0;            // timers: period from the layout (0 = stopped)
  bool checked = false;               // check boxes, radio buttons
  bool visible = true;                // shown when the window opens (if on screen)
  bool floating = false;              // off-screen at rest, moved over the window at run time
};

// The window's face: title, client size, icon and background picture.
struct WindowLayout {
  std::string title;
  int width = 0;   // outer size, as the user sees the window
  int height = 0;
  bool resizable = false;
  int visible_width = 0;                   // units whose left edge is at or beyond this are off-screen
  std::string background_resource;         // name of an embedded picture resource ("" = none)
  std::string icon_resource;               // name of an embedded icon resource ("" = none)
};

// True for units that exist only as state holders and are never drawn.
inline bool IsOffScreen(const UnitLayout& layout, const WindowLayout& window) {
  return !layout.floating && window.visible_width > 0 && layout.rect.x >= window.visible_width;
}

}  // namespace tovan::rt
