#include "paste/send_keys.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

#include "runtime/hotkeys.h"
#include "runtime/text.h"

namespace tovan::paste {
namespace {

struct KeyName {
  const char* name;
  int virtual_key;
};

// The key names of the syntax; F1 to F16 are worked out below.
constexpr KeyName kKeyNames[] = {
    {"BACKSPACE", 0x08}, {"BS", 0x08},        {"BKSP", 0x08},     {"BREAK", 0x03},   {"CAPSLOCK", 0x14},
    {"DELETE", 0x2E},    {"DEL", 0x2E},       {"DOWN", 0x28},     {"END", 0x23},     {"ENTER", 0x0D},
    {"ESC", 0x1B},       {"HELP", 0x2F},      {"HOME", 0x24},     {"INSERT", 0x2D},  {"INS", 0x2D},
    {"LEFT", 0x25},      {"NUMLOCK", 0x90},   {"PGDN", 0x22},     {"PGUP", 0x21},    {"PRTSC", 0x2C},
    {"RIGHT", 0x27},     {"SCROLLLOCK", 0x91}, {"TAB", 0x09},     {"UP", 0x26},      {"ADD", 0x6B},
    {"SUBTRACT", 0x6D},  {"MULTIPLY", 0x6A},  {"DIVIDE", 0x6F},
};

// Bounds that keep a pasted text from flooding the target or the program.
constexpr int kMaxRepeat = 1000;
constexpr int kMaxGroupDepth = 32;

int KeyOfName(std::string_view name) {
  const std::string upper = rt::Upper(name);
  for (const KeyName& key : kKeyNames)
    if (upper == key.name) return key.virtual_key;
  if (upper.size() >= 2 && upper[0] == 'F' && std::isdigit(static_cast<unsigned char>(upper[1]))) {
    const int n = rt::ToInteger(upper.substr(1));
    if (n >= 1 && n <= 16 && rt::ToText(n) == upper.substr(1)) return 0x70 + n - 1;
  }
  return 0;
}

// Length of the UTF-8 character at the start of the text.
std::size_t CharLength(std::string_view text) {
  const unsigned char c = static_cast<unsigned char>(text[0]);
  const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  return n <= text.size() ? n : 1;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}
  std::vector<rt::Stroke> Run() {
    Parse(0, text_.size(), 0);
    return std::move(strokes_);
  }

 private:
  void Add(rt::Stroke stroke) {
    if (stroke.count > 0) strokes_.push_back(std::move(stroke));
  }

  void AddText(std::string_view text, int modifiers) {
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t n = CharLength(text.substr(i));
      Add({std::string(text.substr(i, n)), 0, modifiers, 1});
      i += n;
    }
  }

  // Index of the ")" that closes the group opened just before `from`, or
  // `end` when the group runs to the end. Braces quote parentheses.
  std::size_t GroupEnd(std::size_t from, std::size_t end) const {
    int depth = 1;
    for (std::size_t i = from; i < end; ++i) {
      if (text_[i] == '{') {
        const std::size_t close = BraceEnd(i, end);
        if (close != std::string_view::npos) i = close;
      } else if (text_[i] == '(') {
        ++depth;
      } else if (text_[i] == ')' && --depth == 0) {
        return i;
      }
    }
    return end;
  }

  // Index of the "}" that closes the brace at `open`, or npos. "{}}" quotes
  // a closing brace: its name is "}".
  std::size_t BraceEnd(std::size_t open, std::size_t end) const {
    const std::size_t search = (open + 1 < end && text_[open + 1] == '}') ? open + 2 : open + 1;
    const std::size_t close = text_.find('}', search);
    return (close == std::string_view::npos || close >= end) ? std::string_view::npos : close;
  }

  // A braced name with an optional repeat count: "{LEFT 3}", "{+}", "{h 10}".
  void Brace(std::size_t open, std::size_t close, int modifiers) {
    std::string_view inner = text_.substr(open + 1, close - open - 1);
    int count = 1;
    const std::size_t space = inner.rfind(' ');
    if (space != std::string_view::npos && space > 0 && space + 1 < inner.size() &&
        inner.substr(space + 1).find_first_not_of("0123456789") == std::string_view::npos) {
      count = std::min(rt::ToInteger(inner.substr(space + 1)), kMaxRepeat);
      inner = inner.substr(0, space);
    }
    if (CharLength(inner) == inner.size()) {
      Add({std::string(inner), 0, modifiers, count});
    } else if (const int key = KeyOfName(inner); key != 0) {
      Add({"", key, modifiers, count});
    } else {
      AddText(text_.substr(open, close - open + 1), modifiers);  // not a name: typed as it stands
    }
  }

  void Parse(std::size_t from, std::size_t end, int held) {
    int pending = 0;
    for (std::size_t i = from; i < end;) {
      const char c = text_[i];
      const int modifiers = held | pending;
      if (c == '+' || c == '^' || c == '%') {
        pending |= c == '+' ? rt::kShift : c == '^' ? rt::kCtrl : rt::kAlt;
        ++i;
        continue;
      }
      if (c == '(' && depth_ < kMaxGroupDepth) {
        const std::size_t close = GroupEnd(i + 1, end);
        ++depth_;
        Parse(i + 1, close, modifiers);
        --depth_;
        i = close < end ? close + 1 : end;
      } else if (c == '~') {
        Add({"", rt::kVkReturn, modifiers, 1});
        ++i;
      } else if (c == '{' && BraceEnd(i, end) != std::string_view::npos) {
        const std::size_t close = BraceEnd(i, end);
        Brace(i, close, modifiers);
        i = close + 1;
      } else {
        const std::size_t n = CharLength(text_.substr(i, end - i));
        AddText(text_.substr(i, n), modifiers);
        i += n;
      }
      pending = 0;
    }
  }

  std::string_view text_;
  std::vector<rt::Stroke> strokes_;
  int depth_ = 0;
};

}  // namespace

std::vector<rt::Stroke> ParseSendKeys(std::string_view text) { return Parser(text).Run(); }

}  // namespace tovan::paste
