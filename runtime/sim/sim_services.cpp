#include "runtime/sim/sim_services.h"

#include "runtime/sim/sim_target.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

#include "runtime/gbk.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

namespace tovan::rt::sim {
namespace fs = std::filesystem;

bool SimClipboard::SetText(std::string_view text) {
  if (held_) return false;
  text_ = std::string(text);
  picture_ = false;
  ++sequence_;
  unread_ = !text_.empty();
  reading_ = false;
  log_.Add(clock_.NowMicros(), Action::kClipboardText, text_);
  if (on_change_) on_change_();
  return true;
}

bool SimClipboard::SetPicture(std::string_view image_bytes) {
  if (held_ || image_bytes.empty()) return false;
  text_.clear();
  picture_ = true;
  ++sequence_;
  unread_ = true;
  reading_ = false;
  log_.Add(clock_.NowMicros(), Action::kClipboardPicture, ToText(static_cast<std::int64_t>(image_bytes.size())));
  if (on_change_) on_change_();
  return true;
}

std::optional<std::string> SimClipboard::Content() const {
  if (held_) return std::nullopt;
  return picture_ ? std::string("<picture>") : text_;
}

std::optional<std::string> SimClipboard::ReadForPaste() {
  std::optional<std::string> content = Content();
  if (content && reading_) unread_ = false;
  return content;
}

std::optional<std::string> SimClipboard::ReadByOther() {
  std::optional<std::string> content = Content();
  if (content && reading_ && unread_) handed_out_ = true;
  return content;
}

bool SimClipboard::WaitUntilTaken(int max_ms) {
  // Ends exactly when the read comes: the events due on the way run, one
  // moment after another.
  const std::int64_t deadline = clock_.NowMicros() + std::int64_t{std::max(0, max_ms)} * 1000;
  clock_.RunDue();
  while (unread_ && clock_.NowMicros() < deadline) {
    const std::int64_t next = clock_.NextDue();
    clock_.AdvanceTo(next < 0 || next > deadline ? deadline : next);
  }
  return !unread_;
}

bool SimClipboard::Withdraw() {
  clock_.RunDue();
  if (!unread_) return false;
  if (held_) {
    handed_out_ = true;  // out of reach: a late paste may still read it
    return true;
  }
  text_.clear();
  picture_ = false;
  ++sequence_;
  unread_ = false;
  log_.Add(clock_.NowMicros(), Action::kClipboardWithdrawn, "");
  return true;
}

SimFiles::SimFiles(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {
  std::string pattern = (fs::temp_directory_path() / "tovan-sim-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  root_ = pattern;
  fs::create_directories(HostPath(RunDirectory()));
}

SimFiles::~SimFiles() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

fs::path SimFiles::HostPath(std::string_view path) const {
  std::string relative = ReplaceAll(path, "\\", "/");
  if (relative.size() >= 2 && relative[1] == ':') relative.erase(1, 1);
  while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
  const std::u8string u8(relative.begin(), relative.end());
  const fs::path inside = fs::path(u8).lexically_normal();
  // A path that climbs out of the root stays inside it.
  if (!inside.empty() && *inside.begin() == "..") return root_ / "outside";
  return root_ / inside;
}

std::string SimFiles::Read(std::string_view path) const {
  std::error_code error;
  const fs::path host = HostPath(path);
  if (!fs::is_regular_file(host, error) || fs::file_size(host, error) > kMaxReadBytes || error) return {};
  std::ifstream in(host, std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint64_t SimFiles::SizeOf(std::string_view path) const {
  std::error_code error;
  const fs::path host = HostPath(path);
  const std::uintmax_t size = fs::is_regular_file(host, error) ? fs::file_size(host, error) : 0;
  return error || size > kMaxReadBytes ? 0 : size;
}

std::string SimFiles::ReadPiece(std::string_view path, std::uint64_t offset, std::size_t size) const {
  const std::uint64_t total = SizeOf(path);
  if (offset >= total) return {};
  std::ifstream in(HostPath(path), std::ios::binary);
  std::string piece(static_cast<std::size_t>(std::min<std::uint64_t>(size, total - offset)), '\0');
  if (!in.seekg(static_cast<std::streamoff>(offset)) || !in.read(piece.data(), static_cast<std::streamsize>(piece.size())))
    return {};
  return piece;
}

WriteResult SimFiles::WriteNew(std::string_view path, std::string_view bytes) {
  const fs::path target = HostPath(path);
  if (const auto refused = refused_.find(target); refused != refused_.end()) return {refused->second};
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) return {WriteFailure::kOther};
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) return {WriteFailure::kOther};
  return {};
}

unsigned SimFiles::Attributes(std::string_view path) const {
  const auto found = attributes_.find(HostPath(path));
  return found == attributes_.end() ? 0 : found->second;
}

void SimFiles::KeepAttributes(std::string_view original, std::string_view replacement) {
  attributes_[HostPath(replacement)] = Attributes(original);
}

WriteResult SimFiles::Rename(std::string_view from, std::string_view to) {
  const fs::path target = HostPath(to);
  for (const fs::path& either : {target, HostPath(from)})
    if (const auto refused = refused_.find(either); refused != refused_.end()) return {refused->second};
  std::error_code error;
  fs::rename(HostPath(from), target, error);
  if (error) return {WriteFailure::kOther};
  attributes_[target] = Attributes(from);
  attributes_.erase(HostPath(from));
  if (!EndsWith(to, "~")) log_.Add(clock_.NowMicros(), Action::kFileWritten, std::string(to));
  return {};
}

bool SimFiles::Remove(std::string_view path) {
  attributes_.erase(HostPath(path));
  std::error_code error;
  return fs::remove(HostPath(path), error);
}

bool SimFiles::Exists(std::string_view path) const { return fs::exists(HostPath(path)); }

bool SimFiles::InTemporaryFolder(std::string_view folder) const {
  const std::string inside = Upper(folder);
  const std::string temporary = Upper(temporary_);
  return inside.starts_with(temporary) && (inside.size() == temporary.size() || inside[temporary.size()] == '\\');
}

bool SimFiles::MakeDirectory(std::string_view path) {
  std::error_code error;
  fs::create_directories(HostPath(path), error);
  return !error;
}

int SimHotkeys::Register(std::string_view receiver, int modifiers, int virtual_key) {
  if (virtual_key <= 0 || virtual_key > 0xFE || taken_.count({modifiers, virtual_key}) ||
      IsRegistered(modifiers, virtual_key))
    return 0;
  int id = 1;
  while (registered_.count(id)) ++id;
  registered_[id] = Entry{std::string(receiver), modifiers, virtual_key};
  log_.Add(clock_.NowMicros(), Action::kHotkeyRegistered,
           ToText(id) + " " + ToText(modifiers) + " " + ToText(virtual_key));
  return id;
}

void SimHotkeys::Unregister(int id) {
  if (registered_.erase(id)) log_.Add(clock_.NowMicros(), Action::kHotkeyUnregistered, ToText(id));
}

bool SimHotkeys::RegisterForWindow(std::uintptr_t window, int id, int system_modifiers, int virtual_key) {
  if (virtual_key <= 0 || taken_.count({system_modifiers, virtual_key}) || !window_hotkeys_.insert({window, id}).second)
    return false;
  log_.Add(clock_.NowMicros(), Action::kHotkeyRegistered,
           "window " + ToText(static_cast<std::int64_t>(window)) + " " + ToText(id) + " " + ToText(system_modifiers) +
               " " + ToText(virtual_key));
  return true;
}

bool SimHotkeys::UnregisterForWindow(std::uintptr_t window, int id) {
  if (!window_hotkeys_.erase({window, id})) return false;
  log_.Add(clock_.NowMicros(), Action::kHotkeyUnregistered,
           "window " + ToText(static_cast<std::int64_t>(window)) + " " + ToText(id));
  return true;
}

void SimHotkeys::ForwardHotkeysOf(std::uintptr_t window, bool on) {
  if (on)
    forwarded_.insert(window);
  else
    forwarded_.erase(window);
}

bool SimHotkeys::IsRegistered(int modifiers, int virtual_key) const {
  for (const auto& [id, entry] : registered_)
    if (entry.modifiers == modifiers && entry.virtual_key == virtual_key) return true;
  return false;
}

void SimHotkeys::Press(int modifiers, int virtual_key) {
  for (const auto& [id, entry] : registered_) {
    if (entry.modifiers == modifiers && entry.virtual_key == virtual_key) {
      const std::string receiver = entry.receiver;
      ui_.Raise(receiver, Event{.kind = EventKind::kHotkey, .code = id});
      return;
    }
  }
}

std::string SimKeys::ChordName(std::initializer_list<int> virtual_keys) {
  std::string name;
  for (int vk : virtual_keys) {
    if (!name.empty()) name += "+";
    switch (vk) {
      case kVkControl: name += "Ctrl"; break;
      case kVkShift: name += "Shift"; break;
      case kVkMenu: name += "Alt"; break;
      case kVkTab: name += "Tab"; break;
      case kVkReturn: name += "Enter"; break;
      case kVkBack: name += "Backspace"; break;
      case kVkEscape: name += "Esc"; break;
      default:
        if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
          name += static_cast<char>(vk);
        else
          name.append(vk >= 0x70 && vk <= 0x87 ? "F" : "VK").append(ToText(vk >= 0x70 && vk <= 0x87 ? vk - 0x6F : vk));
    }
  }
  return name;
}

void SimKeys::Chord(std::initializer_list<int> virtual_keys) {
  const std::string name = ChordName(virtual_keys);
  log_.Add(clock_.NowMicros(), Action::kChord, name);
  if (answer_) answer_(name);
  if (target_) target_->Key(name);
}

void SimKeys::Press(const std::vector<Stroke>& strokes) {
  log_.Add(clock_.NowMicros(), Action::kStrokes, StrokeNames(strokes));
  if (!target_) return;
  for (const Stroke& stroke : strokes)
    for (int i = 0; i < stroke.count; ++i) {
      if (!stroke.character.empty())
        target_->Typed(stroke.character);
      else if (stroke.virtual_key == kVkTab)
        target_->Key("Tab");
      else if (stroke.virtual_key == kVkReturn)
        target_->Key("Enter");
    }
}

std::string SimKeys::StrokeNames(const std::vector<Stroke>& strokes) {
  std::string names;
  for (const Stroke& stroke : strokes) {
    if (!names.empty()) names += " ";
    if (stroke.modifiers & kCtrl) names += "Ctrl+";
    if (stroke.modifiers & kShift) names += "Shift+";
    if (stroke.modifiers & kAlt) names += "Alt+";
    // Appended piece by piece: g++ 12 takes "x" + a temporary for an overlap.
    if (stroke.character.empty())
      names.append("{").append(ToText(stroke.virtual_key)).append("}");
    else
      names += stroke.character;
    if (stroke.count != 1) names.append("x").append(ToText(stroke.count));
  }
  return names;
}

std::string SimMessages::AnsiBytes(std::string_view utf8) const {
  if (!western_) return ToGbk(utf8).bytes;
  std::string bytes;
  for (std::size_t at = 0; at < utf8.size();) {
    bool valid = true;
    const char32_t c = DecodeUtf8(utf8, at, valid);
    bytes += valid && c < 0x100 ? static_cast<char>(c) : '?';
  }
  return bytes;
}

void SimMessages::Post(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  log_.Add(clock_.NowMicros(), Action::kPosted,
           ToText(static_cast<std::int64_t>(window)) + " " + ToText(static_cast<std::int64_t>(message)) + " " +
               ToText(static_cast<std::int64_t>(wparam)) + " " + ToText(static_cast<std::int64_t>(lparam)));
  if (target_ && message == kWmChar) target_->Posted(std::string(1, static_cast<char>(wparam)));
}

void SimKeys::Type(std::string_view text) {
  log_.Add(clock_.NowMicros(), Action::kTypeText, std::string(text));
  if (target_) target_->Typed(std::string(text));
}

}  // namespace tovan::rt::sim

namespace tovan::rt::sim {

void SimMessages::PostUnicode(std::uintptr_t window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  log_.Add(clock_.NowMicros(), Action::kPosted,
           "W " + ToText(static_cast<std::int64_t>(window)) + " " + ToText(static_cast<std::int64_t>(message)) + " " +
               ToText(static_cast<std::int64_t>(wparam)) + " " + ToText(static_cast<std::int64_t>(lparam)));
  if (target_ && message == kWmChar) {
    std::string character;
    AppendUtf8(character, static_cast<char32_t>(wparam));
    target_->Posted(character);
  }
}

void SimInjector::Key(int virtual_key, bool release, bool extended) {
  log_.Add(clock_.NowMicros(), Action::kInjectedKey,
           ToText(virtual_key) + (release ? " up" : " down") + (extended ? " ext" : ""));
}

void SimInjector::MouseButton(int flag) {
  const char* name = flag == kMouseLeftDown     ? "left down"
                     : flag == kMouseLeftUp     ? "left up"
                     : flag == kMouseRightDown  ? "right down"
                     : flag == kMouseRightUp    ? "right up"
                     : flag == kMouseMiddleDown ? "middle down"
                     : flag == kMouseMiddleUp   ? "middle up"
                                                : "?";
  log_.Add(clock_.NowMicros(), Action::kInjectedMouse, name);
  if (answer_) answer_(name);
}

void SimInjector::SetCursor(Point screen) {
  cursor_ = screen;
  log_.Add(clock_.NowMicros(), Action::kCursorMoved, ToText(screen.x) + "," + ToText(screen.y));
}

Point SimInjector::ClientOrigin(std::uintptr_t window) const {
  const auto it = origins_.find(window == 0 ? foreground_ : window);
  return it == origins_.end() ? Point{} : it->second;
}

}  // namespace tovan::rt::sim
