#include "runtime/settings_file.h"

#include <optional>
#include <vector>

#include "runtime/gbk.h"
#include "runtime/text.h"

namespace tovan::rt {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && Upper(a) == Upper(b); }

// The text of the file: GBK, or UTF-8 when it starts with a UTF-8 mark
// (a file the user re-saved in an editor).
std::vector<std::string> Lines(const Files& files, std::string_view path) {
  const std::string bytes = files.Read(path);
  const std::string text = StartsWith(bytes, kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : FromGbk(bytes);
  std::vector<std::string> lines = Split(text, "\n");
  for (std::string& line : lines)
    if (EndsWith(line, "\r")) line.pop_back();
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const std::size_t end = line.find(']');
  if (end == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, end - 1));
}

// Key and value of a "key=value" line.
std::optional<std::pair<std::string_view, std::string_view>> Item(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos || Trim(line).starts_with(';')) return std::nullopt;
  return std::pair{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

// The value as it stands after "=": between double quotes when reading it
// back trimmed, or stripped of one pair of quotes, would change it (a key
// name that begins or ends with a space, as " ←" and "Ctrl+ / " do), the
// convention of the system's own profile functions.
std::string Quoted(std::string_view value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool quote = !value.empty() && (blank(value.front()) || blank(value.back()) ||
                                        (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
  std::string out;
  out.reserve(value.size() + 2);
  if (quote) out += '"';
  out.append(value);
  if (quote) out += '"';
  return out;
}

}  // namespace

std::string ReadSetting(const Files& files, std::string_view path, std::string_view section,
                        std::string_view key, std::string_view fallback) {
  bool in_section = false;
  for (const std::string& line : Lines(files, path)) {
    if (const auto name = SectionName(line)) {
      in_section = SameName(*name, section);
    } else if (in_section) {
      const auto item = Item(line);
      if (!item || !SameName(item->first, key)) continue;
      std::string_view value = item->second;
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      return std::string(value);
    }
  }
  return std::string(fallback);
}

bool WriteSetting(Files& files, std::string_view path, std::string_view section, std::string_view key,
                  std::string_view value) {
  std::vector<std::string> lines = Lines(files, path);
  const std::string item = std::string(key) + "=" + Quoted(value);
  std::optional<std::size_t> section_at;
  std::size_t insert_at = lines.size();
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (const auto name = SectionName(lines[i])) {
      if (section_at) break;
      if (SameName(*name, section)) section_at = insert_at = i + 1;
    } else if (section_at) {
      const auto existing = Item(lines[i]);
      if (existing && SameName(existing->first, key)) {
        lines[i] = item;
        done = true;
      } else if (!Trim(lines[i]).empty()) {
        insert_at = i + 1;
      }
    }
  }
  if (!done && section_at) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), item);
  } else if (!done) {
    if (!lines.empty()) lines.emplace_back();
    std::string header = "[";
    header.append(section).append("]");
    lines.push_back(std::move(header));
    lines.push_back(item);
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  const GbkResult gbk = ToGbk(text);
  return files.Write(path, gbk.bytes) && gbk.lossless;
}

}  // namespace tovan::rt
