// Replay (模拟): the event list played back as real input, every row a wait
// of its delay and then one key or mouse-button event, the whole list as
// often as 组合框64 says. It runs on the window thread between the
// window's events (every wait lets them run), so the window stays usable
// and every control is read and written where it lives; the stop hotkey
// clears the run flag 选择框93, and replay ends after the row it is in.
#pragma once

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

 private:
  // The replay itself; a start while one runs is refused.
  void Run();
  void PlayPass();
  bool MayRun() const;
  int StartWait() const;

  rt::Platform p_;
  table::EventList& events_;
  Recorder& recorder_;
  bool running_ = false;
};

}  // namespace tovan::recorder
