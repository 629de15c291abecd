#include "paste/pin_on_top.h"

namespace tovan::paste {
namespace {

constexpr char kMode[] = "导入方式";
constexpr char kPin[] = "设置程序界面置顶";
constexpr char kUnpin[] = "取消程序界面置顶";

}  // namespace

void PinOnTop::Bind() {
  p_.ui.Bind(kMode, rt::EventKind::kSelectionChanged, [this](const rt::Event&) {
    const std::string mode = p_.ui[kMode].Text();
    if (mode == kPin) p_.ui.Hint("●鼠标放在需要置顶的程序界面，按反撇号键置顶。", kMode, 20, 30);
    if (mode == kUnpin) p_.ui.Hint("●鼠标放在需要取消置顶的程序界面，按反撇号键取消置顶。", kMode, 20, 30);
  });
}

bool PinOnTop::Press(std::uintptr_t window) {
  const std::string mode = p_.ui[kMode].Text();
  if (mode != kPin && mode != kUnpin) return false;
  // The window that had the keyboard focus when the key was pressed,
  // whatever lies under the mouse (and whatever came to the front while
  // the press waited its turn); one since closed is left alone.
  if (window) p_.ui.SetTopmost(window, mode == kPin);
  return true;
}

}  // namespace tovan::paste
