#include "paste/hotkey_loader.h"

#include <utility>

#include "paste/hotkey_capture.h"
#include "paste/key_names.h"
#include "runtime/keys.h"
#include "runtime/text.h"

namespace tovan::paste {

void HotkeyLoader::Bind() {
  using rt::Event;
  using rt::EventKind;
  p_.ui.Bind(kLoadButton, EventKind::kClicked, [this](const Event&) { LoadOrUnloadRowHotkeys(); });
  p_.ui.Bind("加载热键A", EventKind::kClicked, [this](const Event&) { RegisterFixedHotkeys(); });
  p_.ui.Bind("按钮卸载热键", EventKind::kClicked, [this](const Event&) { UnregisterRecorderHotkeys(); });
  // Typing a new recorder hotkey switches the recorder off and frees the
  // keys until it is switched on again.
  static constexpr const char* kHints[] = {"●记录与停止记录快捷键！", "●模拟数据快捷键！", "●停止模拟快捷键！"};
  for (int i = 0; i < 3; ++i) {
    p_.ui.Bind(kRecorderBoxes[i], EventKind::kMouseDown, [this, i](const Event&) {
      p_.ui["按钮5"].SetText("启动按键精灵");
      recorder_marked_off();
      UnregisterRecorderHotkeys();
      if (RowHotkeysLoaded()) {
        LoadOrUnloadRowHotkeys();
        p_.clock.Wait(100);
      }
      if (p_.ui["加载热键A"].Text() == "卸载热键") {
        RegisterFixedHotkeys();
        p_.clock.Wait(100);
      }
      p_.ui.Hint(kHints[i], kRecorderBoxes[i], 10, 30);
    });
  }
}

bool HotkeyLoader::RowHotkeysLoaded() const { return p_.ui[kLoadButton].Text() == "卸载热键"; }

bool HotkeyLoader::Register(int& slot, std::string_view text, std::string_view anchor) {
  const ParsedHotkey hotkey = ParseHotkeyText(text);
  p_.hotkeys.Unregister(slot);
  // Stored before the wait: a press or an unload during it knows the id.
  slot = hotkey.virtual_key == 0 ? 0 : p_.hotkeys.Register(kReceiver, hotkey.modifiers, hotkey.virtual_key);
  const bool registered = slot != 0;
  p_.clock.Wait(10);
  // The text is cleared as the report; the balloon says which one and why.
  if (!registered) p_.ui.Hint("●快捷键【" + std::string(text) + "】已被其他程序占用或无效，请换一个！", anchor, 10, 30);
  return registered;
}

void HotkeyLoader::LoadOrUnloadRowHotkeys() {
  if (!RowHotkeysLoaded()) {
    p_.ui[kLoadButton].SetText("卸载热键");
    p_.clock.Wait(100);
    // Unloaded during one of the waits (a second click): nothing more is
    // registered, so the caption and the registrations agree.
    for (std::size_t row = 0; row < static_cast<std::size_t>(kRowSlots) && row < rows_.RowCount() && RowHotkeysLoaded();
         ++row) {
      const std::string text(rows_.Cell(row, table::kHotkey));
      if (text.empty()) continue;
      // A hotkey belongs to the slot its row's number names.
      const std::string number(rows_.Cell(row, table::kNumber));
      for (int slot = 1; slot <= kRowSlots && RowHotkeysLoaded(); ++slot) {
        if (number != rt::ToText(slot) || rows_.Cell(row, table::kHotkey).empty()) continue;
        if (!Register(ids_.rows[slot - 1], text, kLoadButton) && row < rows_.RowCount()) {
          rows_.SetCell(row, table::kHotkey, "");
          editor_.Refresh();
        }
      }
    }
    p_.clock.Wait(100);
  } else {
    p_.ui[kLoadButton].SetText("加载热键");
    // Forgotten, not only unregistered: a later hotkey may get a freed
    // identifier, and it must not be taken for this slot's.
    for (int& id : ids_.rows) p_.hotkeys.Unregister(std::exchange(id, 0));
  }
}

void HotkeyLoader::ReloadRowHotkeys() {
  if (RowHotkeysLoaded()) {
    LoadOrUnloadRowHotkeys();
    p_.clock.Wait(100);
  }
  if (!RowHotkeysLoaded()) LoadOrUnloadRowHotkeys();
}

void HotkeyLoader::RegisterFixedHotkeys() {
  p_.clock.Wait(100);
  ReRegisterBacktick();
  int* ids[] = {&ids_.record, &ids_.simulate, &ids_.stop};
  for (int i = 0; i < 3; ++i) {
    rt::Unit& box = p_.ui[kRecorderBoxes[i]];
    if (box.Text().empty()) continue;
    if (!Register(*ids[i], box.Text(), kRecorderBoxes[i])) box.SetText("");
  }
  p_.clock.Wait(100);
}

void HotkeyLoader::UnregisterRecorderHotkeys() {
  for (int* id : {&ids_.record, &ids_.simulate, &ids_.stop}) p_.hotkeys.Unregister(std::exchange(*id, 0));
}

void HotkeyLoader::ReRegisterBacktick() {
  p_.hotkeys.Unregister(std::exchange(ids_.backtick, 0));
  ids_.backtick = p_.hotkeys.Register(kReceiver, 0, rt::kVkBacktick);
}

void HotkeyLoader::UnregisterBacktick() { p_.hotkeys.Unregister(std::exchange(ids_.backtick, 0)); }

void HotkeyLoader::UnregisterAll() {
  p_.hotkeys.Unregister(std::exchange(ids_.backtick, 0));
  for (int& id : ids_.rows) p_.hotkeys.Unregister(std::exchange(id, 0));
  UnregisterRecorderHotkeys();
}

int HotkeyLoader::SlotOf(int id) const {
  if (id == 0) return 0;
  for (int slot = 1; slot <= kRowSlots; ++slot)
    if (ids_.rows[slot - 1] == id) return slot;
  return 0;
}

}  // namespace tovan::paste
