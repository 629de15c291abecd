#include "driver/controls.h"

#include "driver/text.h"
#include "driver/window.h"

namespace tovan::e2e {

bool ClickButton(HWND button) { return PostMessageW(button, BM_CLICK, 0, 0) != FALSE; }

int ComboCount(HWND combo) {
  const auto count = SendWithTimeout(combo, CB_GETCOUNT, 0, 0);
  return count && *count >= 0 ? static_cast<int>(*count) : -1;
}

std::optional<std::string> ComboItemText(HWND combo, int index) {
  const auto length = SendWithTimeout(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (!length || *length == CB_ERR) return std::nullopt;
  std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
  const auto copied = SendWithTimeout(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (!copied || *copied == CB_ERR) return std::nullopt;
  text.resize(static_cast<size_t>(*copied));
  return WideToUtf8(text);
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const int count = ComboCount(combo);
  for (int i = 0; i < count; ++i) items.push_back(ComboItemText(combo, i).value_or(""));
  return items;
}

int ComboSelection(HWND combo) {
  const auto selection = SendWithTimeout(combo, CB_GETCURSEL, 0, 0);
  return selection ? static_cast<int>(*selection) : -1;
}

bool SelectComboItem(HWND combo, int index) {
  const auto selected = SendWithTimeout(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (!selected || *selected != index) return false;
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
  return PostMessageW(GetParent(combo), WM_COMMAND, command, reinterpret_cast<LPARAM>(combo)) !=
         FALSE;
}

}  // namespace tovan::e2e

namespace tovan::e2e {

bool SelectComboItem(HWND combo, std::string_view text) {
  const std::vector<std::string> items = ComboItems(combo);
  for (int i = 0; i < static_cast<int>(items.size()); ++i)
    if (items[i] == text) return SelectComboItem(combo, i);
  return false;
}

}  // namespace tovan::e2e
