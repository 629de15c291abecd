// Reading and checking rows of another process's list view (report view,
// including virtual LVS_OWNERDATA ones).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tovan::e2e {

struct ListColumn {
  std::string text;
  int width = 0;
  bool operator==(const ListColumn&) const = default;
};

// Row count, or -1 if the list view did not answer.
int ListItemCount(HWND list);
// Column count from the list's header control, or -1.
int ListColumnCount(HWND list);
std::vector<ListColumn> ListColumns(HWND list);
std::optional<std::string> ListCellText(HWND list, int row, int column);

// A row's check box: true checked, false unchecked, nullopt if the row has
// no check box state (or no answer). A virtual list view answers this only
// if its owner keeps the check states (LVM_SETCALLBACKMASK with
// LVIS_STATEIMAGEMASK).
std::optional<bool> ListChecked(HWND list, int row);

// Checks or unchecks a row with LVM_SETITEMSTATE; the owner gets
// LVN_ITEMCHANGED. A virtual list view whose owner keeps the check states
// ignores this (Wine, like Windows, only reports changes of states the list
// keeps itself): use ClickListCheckBox there.
bool SetListChecked(HWND list, int row, bool checked);

// Screen point at the middle of a row's check box, found by hit-testing
// along the row; the row is scrolled into view first. nullopt if the row
// shows no check box.
std::optional<POINT> ListCheckBoxPoint(HWND list, int row);
// Clicks a row's check box with the mouse, as a user toggles it.
bool ClickListCheckBox(HWND list, int row);

// Screen point a few pixels inside a cell (scrolled into view first), and
// the middle of a column's header button.
std::optional<POINT> ListCellPoint(HWND list, int row, int column);
std::optional<POINT> ListHeaderPoint(HWND list, int column);

}  // namespace tovan::e2e
