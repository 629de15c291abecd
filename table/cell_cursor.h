// The Excel cell cursor: the addresses of the current spreadsheet row for
// columns A to J, kept in 编辑框hang, 编辑框hang1 … 编辑框hang9, each with
// its flag 选择框1 … 选择框10.
#pragma once

#include <string>

namespace tovan {

// The cursor's texts as laid out, and as 复原 puts them back.
inline constexpr const char* kCellCursorTexts[] = {"A1", "B1", "C1", "D1", "E1", "F1", "G1", "H1", "I1", "J1"};

// The address box and the flag of column i (0 for A … 9 for J).
inline std::string CellCursorBox(int i) { return i == 0 ? "编辑框hang" : "编辑框hang" + std::to_string(i); }
inline std::string CellCursorFlag(int i) { return "选择框" + std::to_string(i + 1); }

}  // namespace tovan
