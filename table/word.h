// The document the Word mode fills: "WORD.Application" driven by member
// name, or WPS Office's word processor under its own names with the same
// object model where Word is not there. One object for the whole run;
// every click of 按钮word starts a new application object in it. A failed
// member leaves the operation without effect, and the next still runs.
#pragma once

#include <memory>
#include <string_view>

#include "runtime/automation.h"

namespace tovan::table {

class Word类 {
 public:
  explicit Word类(rt::Automation& automation) : automation_(automation) {}

  // False when neither Word nor WPS's word processor is registered.
  bool StartWord();
  void SetWordVisible(bool visible);
  void AddDocument();
  // At the selection: kind 0 types the text, 1 starts a new paragraph,
  // 2 deletes one character back.
  void TypeIntoSelection(std::string_view text, int kind);
  // Pastes the clipboard at the selection.
  void PasteAtSelection();

 private:
  rt::Automation& automation_;
  std::unique_ptr<rt::AutomationObject> application_;
};

}  // namespace tovan::table
