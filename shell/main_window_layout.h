// The face of the main window: its title and size, and the table of every
// unit on it, visible or not. Everything else reads and writes the units by
// these names.
#pragma once

#include <vector>

#include "runtime/geometry.h"
#include "runtime/unit_layout.h"
#include "table/button_colours.h"
#include "table/cell_cursor.h"

namespace tovan::shell {

inline constexpr char kTitle[] = "2018Tovan复制粘贴工具V10.0";
inline constexpr int kWindowWidth = 460;
inline constexpr int kWindowHeight = 690;

using tovan::kButtonColour;
using tovan::kHighlightColour;

rt::WindowLayout MainWindowLayout();
std::vector<rt::UnitLayout> MainWindowUnits();

}  // namespace tovan::shell
