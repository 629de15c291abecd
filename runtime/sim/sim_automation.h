// Automated programs on the simulated platform: every access is logged as
// the member path it reaches ("Excel.Application.Range("A1").PasteSpecial()"),
// and a test says which programs are missing, which accesses fail and what
// numbers the program answers.
#pragma once

#include <map>
#include <set>
#include <string>

#include "runtime/automation.h"
#include "runtime/sim/action_log.h"
#include "runtime/sim/virtual_clock.h"

namespace tovan::rt::sim {

class SimAutomation : public Automation {
 public:
  SimAutomation(VirtualClock& clock, ActionLog& log) : clock_(clock), log_(log) {}
  bool Registered(std::string_view program) const override { return !missing_.count(std::string(program)); }
  std::unique_ptr<AutomationObject> Create(std::string_view program) override;
  bool Hung() const override { return !calling_ && clock_.NowMicros() < answers_at_; }

  void Uninstall(std::string program) { missing_.insert(std::move(program)); }
  // The access with this logged path fails.
  void Fail(std::string path) { failing_.insert(std::move(path)); }
  void SetNumber(std::string path, std::int32_t value) { numbers_[std::move(path)] = value; }
  // The access with this logged path takes the program this long to answer
  // (the window's events run meanwhile); past the call limit it is given up.
  void Delay(std::string path, int ms) { delays_[std::move(path)] = ms; }

  // Logs an access; false when it fails (given up past `limit_ms`).
  bool Access(const std::string& path, int limit_ms = kCallLimitMs);
  std::optional<std::int32_t> NumberAt(const std::string& path) const;

 private:
  VirtualClock& clock_;
  ActionLog& log_;
  std::set<std::string> missing_;
  std::set<std::string> failing_;
  std::map<std::string, std::int32_t> numbers_;
  std::map<std::string, int> delays_;
  std::int64_t answers_at_ = 0;  // when a call given up comes back
  bool calling_ = false;         // a slow call is being waited for
};

}  // namespace tovan::rt::sim
