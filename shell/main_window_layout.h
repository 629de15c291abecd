// The face of the main window: its title and size, and the table of every
// unit on it, visible or not. Everything else reads and writes the units by
// these names.
#pragma once

#include <vector>

#include "runtime/geometry.h"
#include "runtime/unit_layout.h"

namespace tovan::shell {

inline constexpr char kTitle[] = "2018Tovan复制粘贴工具V10.0";
inline constexpr int kWindowWidth = 460;
inline constexpr int kWindowHeight = 690;

// The two colours of the command buttons.
inline constexpr rt::Colour kButtonColour{121, 209, 200};
inline constexpr rt::Colour kHighlightColour{255, 168, 255};

rt::WindowLayout MainWindowLayout();
std::vector<rt::UnitLayout> MainWindowUnits();

}  // namespace tovan::shell
