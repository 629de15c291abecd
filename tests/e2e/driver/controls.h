// Buttons and combo boxes of another process, driven so that their owner is
// notified as if a user had used them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovan::e2e {

// Posts BM_CLICK: the owner gets BN_CLICKED. Posted, not sent, so a click
// that opens a modal dialog does not hold up the test.
bool ClickButton(HWND button);

// Item count, or -1 if the combo box did not answer.
int ComboCount(HWND combo);
std::optional<std::string> ComboItemText(HWND combo, int index);
std::vector<std::string> ComboItems(HWND combo);
// Index of the selected item; -1 if none (or no answer).
int ComboSelection(HWND combo);
// Selects an item and tells the owner with CBN_SELCHANGE, as a user's choice
// would (CB_SETCURSEL alone notifies nobody).
bool SelectComboItem(HWND combo, int index);
// The same for the item with exactly this text; false if there is none.
bool SelectComboItem(HWND combo, std::string_view text);

}  // namespace tovan::e2e
