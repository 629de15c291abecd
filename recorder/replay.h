// Replay (模拟): the event list played back as real input, every row a wait
// of its delay and then one key or mouse-button event, the whole list as
// often as 组合框64 says. Replay is a chain of steps on the window thread,
// each due at its moment (Ui::RunLater) and never waiting itself: between
// two steps the window's events run from its own loop, also inside a modal
// loop that a replayed press may start (a press on the window's title bar),
// so the next row (its release) still comes. Controls are read and written
// where they live. The stop hotkey clears the run flag 选择框93, and replay
// ends after the row it is in; closing the window ends it at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "recorder/recorder.h"
#include "runtime/platform.h"
#include "table/event_list.h"

namespace tovan::recorder {

class Replay {
 public:
  Replay(rt::Platform platform, table::EventList& events, Recorder& recorder)
      : p_(platform), events_(events), recorder_(recorder) {}

  // Binds 按钮117.
  void Bind();
  void SimulateHotkey();
  void StopHotkey();
  // The window is closing, or the recorder was switched off: the replay
  // ends at once, for good; nothing more is sent, not even a row already due.
  void Stop();
  bool Running() const { return running_; }

 private:
  // A replay from the start; a start while one runs is refused.
  void Start();
  void FirstPass();
  void NextPass();
  // The rows from row_ on: the next key or mouse row is sent after its delay.
  void NextRow();
  void SendRow();
  void Finish();
  // Runs `step` of this replay after `ms`, unless the replay has ended by then.
  template <class Step>
  void After(int ms, Step step);
  bool MayRun() const;
  int StartWait() const;

  rt::Platform p_;
  table::EventList& events_;
  Recorder& recorder_;
  bool running_ = false;
  std::uint64_t replay_ = 0;  // which replay a step that is due belongs to
  int pass_ = 0;
  int passes_ = 0;
  std::size_t row_ = 0;
  std::size_t rows_ = 0;
  // The row due next, copied when it was scheduled: the list may change
  // meanwhile (another slot ticked), and the row sent is the row scheduled.
  struct DueRow {
    bool mouse = false;
    int cells[3] = {};  // columns 3, 4 and 5
  };
  DueRow due_;
};

}  // namespace tovan::recorder
