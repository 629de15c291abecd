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

bool PinOnTop::Press() {
  const std::string mode = p_.ui[kMode].Text();
  if (mode != kPin && mode != kUnpin) return false;
  // The window with the keyboard focus, whatever lies under the mouse.
  p_.ui.SetTopmost(p_.ui.ForegroundWindow(), mode == kPin);
  return true;
}

}  // namespace tovan::paste
