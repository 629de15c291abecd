#include "table/same_page_file.h"

#include "runtime/gbk.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

namespace tovan::table {
namespace {

constexpr char kFolder[] = "同页粘贴";
constexpr char kEditor[] = "编辑框25";
// Windows limits one name in a path to 255 UTF-16 units; the file is
// written as "<name>.txt.tmp~" first.
constexpr std::size_t kMaxNameUnits = 255;
constexpr std::size_t kSuffixUnits = 9;  // ".txt" and ".tmp~"

bool IsDeviceName(std::string_view name) {
  // The part before the first dot decides: "con.txt" is the console too.
  const std::string base = rt::Upper(name.substr(0, name.find('.')));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::optional<std::string> SamePageFileName(std::string_view first_line) {
  // Windows drops trailing spaces and dots from a name: a line copied from a
  // web page often ends in one, and "." and ".." are none at all.
  while (!first_line.empty() && (first_line.back() == '.' || first_line.back() == ' ')) first_line.remove_suffix(1);
  if (first_line.empty()) return std::nullopt;
  std::size_t units = 0;
  for (std::size_t at = 0; at < first_line.size();) {
    bool valid = true;
    const char32_t c = rt::DecodeUtf8(first_line, at, valid);
    if (!valid || c < 0x20 || c == 0x7F) return std::nullopt;
    if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos && c < 0x80)
      return std::nullopt;
    units += c > 0xFFFF ? 2 : 1;
  }
  if (IsDeviceName(first_line) || units + kSuffixUnits > kMaxNameUnits) return std::nullopt;
  return std::string(first_line) + ".txt";
}

void SamePageFile::Save() {
  const int pause = rt::ToInteger(p_.ui["组合框2"].Text());
  p_.clock.Wait(pause);
  const std::string text = p_.ui[kEditor].Text();
  if (text.empty()) return;
  const std::string first_line = text.substr(0, text.find("\r\n"));
  p_.ui["编辑框70"].SetText(first_line);
  p_.clock.Wait(20);
  const std::string folder = p_.files.InRunDirectory(kFolder);
  const std::optional<std::string> name = SamePageFileName(first_line);
  if (!name) {
    p_.ui.Hint("●第一行不能作为文件名，请改一下再保存！", "按钮104", 10, 30);
  } else if (p_.files.MakeDirectory(folder)) {
    const rt::GbkResult gbk = rt::ToGbk(text);
    if ((gbk.lossless ||
         p_.ui.AskYesNo("文本中有些字符无法保存为GBK文本，保存后将变成“?”。仍然保存吗？", "温馨提示") == rt::Answer::kYes) &&
        !p_.files.Write(folder + "\\" + *name, gbk.bytes))
      p_.ui.Hint("●同页文本没能保存，请检查同页粘贴文件夹！", "按钮104", 10, 30);
  }
  p_.clock.Wait(pause);
  p_.clipboard.SetText("");
  p_.shell.Open(folder);
}

}  // namespace tovan::table
