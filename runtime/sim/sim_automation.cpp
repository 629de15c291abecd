#include "runtime/sim/sim_automation.h"

#include "runtime/text.h"

namespace tovan::rt::sim {
namespace {

std::string ArgText(const AutomationArg& arg) {
  if (const bool* b = std::get_if<bool>(&arg)) return *b ? "True" : "False";
  if (const std::int32_t* n = std::get_if<std::int32_t>(&arg)) return ToText(*n);
  return "\"" + std::get<std::string>(arg) + "\"";
}

std::string ArgsText(const std::vector<AutomationArg>& args) {
  std::string text;
  for (const AutomationArg& arg : args) text += (text.empty() ? "" : ", ") + ArgText(arg);
  return "(" + text + ")";
}

class SimObject : public AutomationObject {
 public:
  SimObject(SimAutomation& automation, std::string path) : automation_(automation), path_(std::move(path)) {}
  std::unique_ptr<AutomationObject> Get(std::string_view member, const std::vector<AutomationArg>& args) override {
    std::string path = path_ + "." + std::string(member) + (args.empty() ? "" : ArgsText(args));
    if (!automation_.Access(path)) return nullptr;
    return std::make_unique<SimObject>(automation_, std::move(path));
  }
  bool Call(std::string_view member, const std::vector<AutomationArg>& args) override {
    return automation_.Access(path_ + "." + std::string(member) + ArgsText(args));
  }
  bool Put(std::string_view member, const AutomationArg& value) override {
    return automation_.Access(path_ + "." + std::string(member) + " = " + ArgText(value));
  }
  std::optional<std::int32_t> Number(std::string_view member) override {
    const std::string path = path_ + "." + std::string(member);
    if (!automation_.Access(path)) return std::nullopt;
    return automation_.NumberAt(path);
  }

 private:
  SimAutomation& automation_;
  std::string path_;
};

}  // namespace

std::unique_ptr<AutomationObject> SimAutomation::Create(std::string_view program) {
  const std::string name(program);
  if (missing_.count(name) || !Access(name, kCreateLimitMs)) return nullptr;
  return std::make_unique<SimObject>(*this, name);
}

bool SimAutomation::Access(const std::string& path, int limit_ms) {
  // Another call under way (given up, or waited for around this one).
  if (calling_ || clock_.NowMicros() < answers_at_) {
    log_.Add(clock_.NowMicros(), Action::kAutomation, path + " (not sent)");
    return false;
  }
  const auto delay = delays_.find(path);
  if (delay != delays_.end()) {
    const bool given_up = delay->second > limit_ms;
    if (given_up) answers_at_ = clock_.NowMicros() + std::int64_t{delay->second} * 1000;
    calling_ = true;
    clock_.Wait(given_up ? limit_ms : delay->second);
    calling_ = false;
    if (given_up) {
      log_.Add(clock_.NowMicros(), Action::kAutomation, path + " (given up)");
      return false;
    }
  }
  const bool fails = failing_.count(path) != 0;
  log_.Add(clock_.NowMicros(), Action::kAutomation, fails ? path + " (failed)" : path);
  return !fails;
}

std::optional<std::int32_t> SimAutomation::NumberAt(const std::string& path) const {
  const auto it = numbers_.find(path);
  return it == numbers_.end() ? std::optional<std::int32_t>(0) : std::optional<std::int32_t>(it->second);
}

}  // namespace tovan::rt::sim
