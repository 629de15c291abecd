#include "paste/key_names.h"

#include <array>
#include <string>

#include "runtime/text.h"

namespace tovan::paste {
namespace {

struct Named {
  int code;
  const char* name;
};

// Keys with names of their own; several begin with a space, some are full-width.
constexpr Named kNamedKeys[] = {
    {0x20, "Space"}, {0x21, "PgUp"}, {0x22, "PgDn"},   {0x23, "End"},       {0x24, "Home"},     {0x25, " ←"},
    {0x26, " ↑"},    {0x27, " →"},   {0x28, " ↓"},     {0x2D, "Ins"},       {0x2E, "Del"},      {0x6A, " ×"},
    {0x6B, "加号"},  {0x6D, "减号"}, {0x6E, " ."},     {0x6F, " ÷"},        {0x90, "NumLock"},  {0x91, "ScrollLock"},
    {0xBA, " ；"},   {0xBB, " ="},   {0xBC, " ，"},    {0xBD, " -"},        {0xBE, " 。"},      {0xBF, " / "},
    {0xC0, " `"},    {0xDB, " ["},   {0xDC, " \\"},    {0xDD, " ]"},        {0xDE, " ‘"},
};

// Every name a code can have, built once: letters, digits, F1 … F12,
// keypad digits and the named keys. F13 … F16 are known only to the parse.
const std::array<std::string, 256>& Names() {
  static const std::array<std::string, 256> names = [] {
    std::array<std::string, 256> n;
    for (int c = 'A'; c <= 'Z'; ++c) n[c] = std::string(1, static_cast<char>(c));
    for (int c = '0'; c <= '9'; ++c) n[c] = std::string(1, static_cast<char>(c));
    for (int f = 1; f <= 12; ++f) n[0x6F + f] = std::string("F").append(std::to_string(f));
    for (int d = 0; d <= 9; ++d) n[0x60 + d] = std::string("Num ").append(std::to_string(d));
    for (const Named& key : kNamedKeys) n[key.code] = key.name;
    return n;
  }();
  return names;
}

int CodeOfName(std::string_view name) {
  const std::string upper = rt::Upper(name);
  // Letters and function keys whatever their case.
  if (upper.size() == 1 && upper[0] >= 'A' && upper[0] <= 'Z') return upper[0];
  if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F') {
    const int f = rt::ToInteger(upper.substr(1));
    if (f >= 1 && f <= 16 && upper.substr(1) == std::to_string(f)) return 0x6F + f;
  }
  const auto& names = Names();
  for (int code = 1; code < 256; ++code)
    if (!names[code].empty() && names[code] == name) return code;
  return 0;
}

}  // namespace

std::string_view KeyName(int virtual_key) {
  return virtual_key > 0 && virtual_key < 256 ? std::string_view(Names()[virtual_key]) : std::string_view();
}

std::string_view Prefix(int virtual_key, int modifiers) {
  constexpr int kShiftKey = 0x10, kCtrlKey = 0x11, kAltKey = 0x12;
  if (virtual_key == kCtrlKey) {
    if (modifiers == 0) return "Ctrl+";
    if (modifiers == 2) return "Ctrl+Shift+";
    if (modifiers == 4) return "Ctrl+Alt+";
    if (modifiers == 6) return "Ctrl+Shift+Alt+";
  }
  if (virtual_key == kShiftKey) {
    if (modifiers == 0) return "Shift+";
    if (modifiers == 4) return "Shift+Alt+";
  }
  if (virtual_key == kAltKey && modifiers == 0) return "Alt+";
  switch (modifiers) {
    case 1: return "Ctrl+";
    case 2: return "Shift+";
    case 3: return "Ctrl+Shift+";
    case 4: return "Alt+";
    case 5: return "Ctrl+Alt+";
    case 6: return "Shift+Alt+";
    case 7: return "Ctrl+Shift+Alt+";
    default: return "";
  }
}

ParsedHotkey ParseHotkeyText(std::string_view text) {
  const std::vector<std::string> parts = rt::Split(text, "+");
  if (parts.empty() || parts.size() > 4) return {};
  ParsedHotkey parsed;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i] == "Ctrl") parsed.modifiers += 1;
    else if (parts[i] == "Shift") parsed.modifiers += 2;
    else if (parts[i] == "Alt") parsed.modifiers += 4;
  }
  parsed.virtual_key = CodeOfName(parts.back());
  return parsed;
}

}  // namespace tovan::paste
