#include "table/same_page_file.h"

#include "runtime/gbk.h"
#include "runtime/text.h"
#include "runtime/utf8.h"
#include "table/saving.h"

namespace tovan::table {
namespace {

constexpr char kFolder[] = "同页粘贴";
constexpr char kEditor[] = "编辑框25";
// Windows limits one name in a path to 255 UTF-16 units; the file is
// written as "<name>.txt.tmp~" first.
constexpr std::size_t kMaxNameUnits = 255;
constexpr std::size_t kSuffixUnits = 9;  // ".txt" and ".tmp~"

bool IsDeviceName(std::string_view name) {
  // The part before the first dot decides, without its trailing spaces:
  // "con.txt" and "con .txt" are the console too.
  std::string_view part = name.substr(0, name.find('.'));
  while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
  const std::string base = rt::Upper(part);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::optional<std::string> SamePageFileName(std::string_view first_line) {
  // The line is kept as it is: followed by ".txt", trailing dots and spaces
  // are part of the name ("报告." and "报告" are two files).
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
  const std::string name = std::string(first_line) + ".txt";
  if (IsDeviceName(name) || units + kSuffixUnits > kMaxNameUnits) return std::nullopt;
  return name;
}

void SamePageFile::Save() {
  if (saving_) {
    save_again_ = true;  // pressed again while a held file is tried: the newer text wins
    return;
  }
  saving_ = true;
  do {
    save_again_ = false;
    SaveOnce();
  } while (save_again_);
  saving_ = false;
}

void SamePageFile::SaveOnce() {
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
    if (gbk.lossless ||
        p_.ui.AskYesNo("文本中有些字符无法保存为GBK文本，保存后将变成“?”。仍然保存吗？", "温馨提示") == rt::Answer::kYes) {
      const std::string path = folder + "\\" + *name;
      const rt::WriteResult result =
          WriteRetrying(p_, [&] { return p_.files.Write(path, gbk.bytes); }, [this] { return save_again_; });
      if (!result && !save_again_) p_.ui.Hint(NotSavedText(*name, result.failure), "按钮104", 10, 30);
    }
  } else {
    p_.ui.Hint("●同页文本没能保存，请检查同页粘贴文件夹！", "按钮104", 10, 30);
  }
  p_.clock.Wait(pause);
  p_.clipboard.SetText("");
  p_.shell.Open(folder);
}

}  // namespace tovan::table
