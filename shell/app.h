// The application: the main window on the platform's services, its start-up
// and shut-down, and the behaviours bound to its controls.
#pragma once

#include <array>
#include <string>

#include <functional>
#include <memory>

#include "paste/backtick.h"
#include "paste/forced_paste.h"
#include "paste/hotkey_capture.h"
#include "paste/hotkey_loader.h"
#include "paste/paste_engine.h"
#include "paste/row_order.h"
#include "recorder/recorder.h"
#include "recorder/replay.h"
#include "runtime/platform.h"
#include "shell/busy_input.h"
#include "table/batch_settings.h"
#include "table/busy.h"
#include "table/event_list.h"
#include "table/import.h"
#include "table/item_list.h"
#include "table/recording_files.h"
#include "table/row_store.h"
#include "table/same_page_file.h"
#include "table/slot_files.h"
#include "table/table_editor.h"

namespace tovan::shell {

class App {
 public:
  explicit App(rt::Platform platform);
  // The window no longer shows the rows or calls back into the application.
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  // Builds the main window, binds its events and shows it; the created event
  // runs the start-up set-up.
  void Start();

  table::RowStore& Rows() { return rows_; }
  // The typist of the account forced paste; empty before start-up and after exit.
  paste::Typist* Typist() { return typist_.get(); }
  table::TableEditor& Table() { return table_; }
  table::SlotFiles& Slots() { return slots_; }
  table::Importer& Import() { return importer_; }
  table::BatchSettings& Batch() { return batch_; }
  table::EventList& Events() { return events_; }
  const paste::HotkeyIds& Hotkeys() const { return hotkeys_.Ids(); }
  paste::HotkeyLoader& HotkeyLoader() { return hotkeys_; }

  paste::Backtick& Backtick() { return backtick_; }

  recorder::Recorder& Recorder() { return recorder_; }
  // Copy mode: the selection of 组合框1.
  int CopyMode() const;

 private:
  void Bind();
  void Created();
  void Closing();
  void PlaceWindow();
  // Everything the user prepares is saved beside the program: says once,
  // at start, when that folder will not keep it (inside the temporary
  // folder, as when opened inside a zip; or not writable).
  void WarnAboutRunFolder();
  void SelectCopyMode(std::string_view button, int mode);
  void OnHotkey(int id);
  void ShowTable();

  rt::Platform p_;
  BusyInput busy_input_;
  table::RowStore rows_;
  table::EventList events_;
  table::Busy busy_;
  table::TableEditor table_;
  table::SlotFiles slots_;
  table::Importer importer_;
  table::ItemList item_list_;
  table::BatchSettings batch_;
  table::RecordingFiles recordings_;
  table::SamePageFile same_page_;
  std::unique_ptr<paste::Typist> typist_;
  paste::HotkeyLoader hotkeys_;
  paste::HotkeyCapture capture_;
  paste::PasteEngine engine_;
  paste::RowOrder order_;
  paste::Backtick backtick_;
  recorder::Recorder recorder_;
  recorder::Replay replay_;
  std::string settings_path_;
  bool settings_read_ = false;
  bool closing_ = false;
};

}  // namespace tovan::shell
