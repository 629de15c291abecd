// Automation through COM: objects created by program identifier and driven
// through IDispatch by member name, on the window's thread (a single-
// threaded apartment for as long as the service lives).
#pragma once

#include "runtime/automation.h"

namespace tovan::rt::win32 {

class Win32Automation : public Automation {
 public:
  Win32Automation();
  ~Win32Automation() override;
  Win32Automation(const Win32Automation&) = delete;
  Win32Automation& operator=(const Win32Automation&) = delete;
  std::unique_ptr<AutomationObject> Create(std::string_view program) override;

 private:
  bool com_ = false;
};

}  // namespace tovan::rt::win32
