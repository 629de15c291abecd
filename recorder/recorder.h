// The recorder (按键精灵): switched on and off with 按钮5, it records what
// the user types and clicks anywhere, between two presses of the record
// hotkey, as rows of the event list 超级列表框2, each with the delay chosen
// in 组合框65. The status line 透明标签16 tells the state.
#pragma once

#include <functional>
#include <string>

#include "paste/hotkey_loader.h"
#include "recorder/hook_class.h"
#include "runtime/platform.h"
#include "table/event_list.h"

namespace tovan::recorder {

// Status line texts.
inline constexpr char kNotRecording[] = "状态：记录未开启";
inline constexpr char kRecording[] = "状态：记录已开启";
inline constexpr char kRecordingStopped[] = "状态：记录已停止";
inline constexpr char kReplaying[] = "状态：模拟已开启";
inline constexpr char kReplayStopped[] = "状态：停止模拟";
inline constexpr char kStatus[] = "透明标签16";
inline constexpr char kRunFlag[] = "选择框93";
inline constexpr char kEnableButton[] = "按钮5";
inline constexpr char kRecorderOn[] = "关闭按键精灵";

class Recorder {
 public:
  Recorder(rt::Platform platform, table::EventList& events, paste::HotkeyLoader& hotkeys)
      : p_(platform), events_(events), hotkeys_(hotkeys), hooks_(platform) {}

  // Binds 按钮5 and the speed list 组合框65.
  void Bind();
  // The record hotkey: starts or stops a recording while the recorder is on.
  void RecordHotkey();
  bool On() const;
  bool Recording() const;
  // The balloon that asks to stop the recording first, `dy` below 记录.
  void AskToStopRecording(int dy);

  // The data table back in place of the same-page text.
  std::function<void()> show_table = [] {};
  // Backtick paste's mouse hook removed.
  std::function<void()> remove_backtick_hook = [] {};
  // The recorder was switched off: a replay under way ends at once.
  std::function<void()> switched_off = [] {};
  // Whether a replay is under way: no recording starts meanwhile (it would
  // record the replay's own input).
  std::function<bool()> replaying = [] { return false; };

 private:
  void EnableButton();
  void StartRecording();
  void StopRecording();
  void SetStatus(const char* text, rt::Colour colour);
  void KeyRow(const rt::KeyEvent& event);
  void MouseRow(const rt::MouseEvent& event);
  void SpeedChanged();
  std::string Delay() const;
  void ClearEvents();
  // New rows are shown at most every 100 ms: under Wine a repaint of the
  // list per key held the keys back for 10 ms each while recording.
  void ShowNewRowsSoon();

  rt::Platform p_;
  table::EventList& events_;
  paste::HotkeyLoader& hotkeys_;
  HOOK类 hooks_;
  bool rows_pending_ = false;
};

}  // namespace tovan::recorder
