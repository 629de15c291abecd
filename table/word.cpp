#include "table/word.h"

namespace tovan::table {

bool Word类::StartWord() {
  // Microsoft Word, then WPS Office (current, then older versions).
  auto started = automation_.CreateFirst({"WORD.Application", "KWPS.Application", "WPS.Application"});
  application_ = started ? std::move(*started) : nullptr;
  return started.has_value();
}

void Word类::SetWordVisible(bool visible) {
  if (application_) application_->Put("Visible", visible);
}

void Word类::AddDocument() {
  if (!application_) return;
  if (auto documents = application_->Get("Documents")) documents->Get("Add");
}

void Word类::TypeIntoSelection(std::string_view text, int kind) {
  if (!application_) return;
  auto selection = application_->Get("Selection");
  if (!selection) return;
  if (kind == 0) selection->Call("TypeText", {std::string(text)});
  if (kind == 1) selection->Call("TypeParagraph");
  if (kind == 2) selection->Call("TypeBackspace");
}

void Word类::PasteAtSelection() {
  if (!application_) return;
  if (auto selection = application_->Get("Selection")) selection->Call("Paste");
}

}  // namespace tovan::table
