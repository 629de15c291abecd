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
  std::unique_ptr<AutomationObject> Create(std::string_view program) override;

  void Uninstall(std::string program) { missing_.insert(std::move(program)); }
  // The access with this logged path fails.
  void Fail(std::string path) { failing_.insert(std::move(path)); }
  void SetNumber(std::string path, std::int32_t value) { numbers_[std::move(path)] = value; }

  // Logs an access; false when it fails.
  bool Access(const std::string& path);
  std::optional<std::int32_t> NumberAt(const std::string& path) const;

 private:
  VirtualClock& clock_;
  ActionLog& log_;
  std::set<std::string> missing_;
  std::set<std::string> failing_;
  std::map<std::string, std::int32_t> numbers_;
};

}  // namespace tovan::rt::sim
