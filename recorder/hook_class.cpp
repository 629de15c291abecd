#include "recorder/hook_class.h"

#include <algorithm>

namespace tovan::recorder {
namespace {

constexpr char kOwner[] = "HOOK类";

template <class Callbacks>
bool Holds(const Callbacks& callbacks, std::string_view name) {
  return std::any_of(callbacks.begin(), callbacks.end(), [&](const auto& entry) { return entry.first == name; });
}

}  // namespace

HOOK类::~HOOK类() {
  if (!hotkeys_.empty()) UnregisterHotkey(0);
  if (p_.keyboard_hook.Installed(kOwner)) RemoveKeyboardHook();
  if (p_.mouse_hook.Installed(kOwner)) RemoveMouseHook();
}

template <class Callback, class Event>
void HOOK类::Walk(const std::vector<std::pair<std::string, Callback>>& callbacks, const Event& event) {
  if (event.ours) return;
  const auto listeners = callbacks;  // a callback may change the list
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it)
    if (it->second(event) != 0) return;
}

int HOOK类::AddKeyboardCallback(std::string_view name, KeyboardCallback callback) {
  if (Holds(keyboard_, name)) return 0;
  keyboard_.emplace_back(std::string(name), std::move(callback));
  if (!p_.keyboard_hook.Installed(kOwner))
    p_.keyboard_hook.Install(kOwner, [this](const rt::KeyEvent& event) { Walk(keyboard_, event); });
  return 1;
}

int HOOK类::AddMouseCallback(std::string_view name, MouseCallback callback) {
  if (Holds(mouse_, name)) return 0;
  mouse_.emplace_back(std::string(name), std::move(callback));
  if (!p_.mouse_hook.Installed(kOwner))
    p_.mouse_hook.Install(kOwner, [this](const rt::MouseEvent& event) { Walk(mouse_, event); });
  return 1;
}

void HOOK类::RemoveKeyboardHook() {
  p_.keyboard_hook.Remove(kOwner);
  keyboard_.clear();
}

void HOOK类::RemoveMouseHook() {
  p_.mouse_hook.Remove(kOwner);
  mouse_.clear();
}

int HOOK类::RegisterHotkey(std::uintptr_t window, int virtual_key, int modifiers) {
  // The same combination registered before, by any window, is withdrawn.
  for (HotkeyRecord& record : hotkeys_) {
    if (record.virtual_key != virtual_key || record.modifiers != modifiers) continue;
    record.virtual_key = -1;
    p_.hotkeys.UnregisterForWindow(record.window, record.id);
  }
  if (!p_.hotkeys.RegisterForWindow(window, last_id_ + 1, modifiers, virtual_key)) return 0;
  hotkeys_.push_back({window, modifiers, virtual_key, ++last_id_, 0});
  if (hotkeys_.size() == 1) {
    p_.hotkeys.ForwardHotkeysOf(window, true);
    forwarded_window_ = window;
  }
  return last_id_;
}

int HOOK类::UnregisterHotkey(int id) {
  if (id == 0) {
    for (const HotkeyRecord& record : hotkeys_) p_.hotkeys.UnregisterForWindow(record.window, record.id);
    hotkeys_.clear();
    if (forwarded_window_) p_.hotkeys.ForwardHotkeysOf(std::exchange(forwarded_window_, 0), false);
    return 1;
  }
  for (HotkeyRecord& record : hotkeys_) {
    if (record.id != id) continue;
    record.virtual_key = -1;
    return p_.hotkeys.UnregisterForWindow(record.window, record.id) ? 1 : 0;
  }
  return 0;
}

}  // namespace tovan::recorder
