// Automation through COM: objects created by program identifier and driven
// through IDispatch by member name. Every call runs on the automation
// thread (a multithreaded apartment of its own), while the window keeps
// running its events; a call the program does not answer within the limit
// is given up.
#pragma once

#include "runtime/automation.h"
#include "runtime/win32/automation_thread.h"

namespace tovan::rt::win32 {

class Win32Automation : public Automation {
 public:
  explicit Win32Automation(Ui& ui, int limit_ms = kCallLimitMs);
  ~Win32Automation() override;
  Win32Automation(const Win32Automation&) = delete;
  Win32Automation& operator=(const Win32Automation&) = delete;
  bool Registered(std::string_view program) const override;
  std::unique_ptr<AutomationObject> Create(std::string_view program) override;
  bool Hung() const override { return thread_.Hung(); }

 private:
  int limit_ms_;
  bool com_ = false;
  AutomationThread thread_;
};

}  // namespace tovan::rt::win32
