// The face of the main window: its title and size, and the table of every
// unit on it, visible or not. Everything else reads and writes the units by
// these names.
#pragma once

#include <vector>

#include "runtime/geometry.h"
#include "runtime/unit_layout.h"
#include "table/button_colours.h"

namespace tovan::shell {

inline constexpr char kTitle[] = "2018Tovan复制粘贴工具V10.0";
inline constexpr int kWindowWidth = 460;
inline constexpr int kWindowHeight = 690;

using tovan::kButtonColour;
using tovan::kHighlightColour;

// The Excel cell cursor's texts as laid out (编辑框hang, 编辑框hang1 … 9);
// 复原 puts them back.
inline constexpr const char* kExcelCells[] = {"A1", "B1", "C1", "D1", "E1", "F1", "G1", "H1", "I1", "J1"};

rt::WindowLayout MainWindowLayout();
std::vector<rt::UnitLayout> MainWindowUnits();

}  // namespace tovan::shell
