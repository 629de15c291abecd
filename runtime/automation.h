// Late-bound automation of other programs (COM dispatch by member name),
// as the Word and Excel modes drive the office programs. A call that fails
// (no such program, no such member, the program refused, or no answer in
// time) changes nothing and says so; nothing throws, and the caller simply
// goes on. While a call waits for its answer the window's events run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tovan::rt {

using AutomationArg = std::variant<bool, std::int32_t, std::string>;

// One object of the automated program, released when it is destroyed.
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // The object a property or a method gives; empty on failure.
  virtual std::unique_ptr<AutomationObject> Get(std::string_view member, const std::vector<AutomationArg>& args = {}) = 0;
  // A method call whose result is dropped; false on failure.
  virtual bool Call(std::string_view member, const std::vector<AutomationArg>& args = {}) = 0;
  // A property set; false on failure.
  virtual bool Put(std::string_view member, const AutomationArg& value) = 0;
  // A property read as a whole number; empty on failure.
  virtual std::optional<std::int32_t> Number(std::string_view member) = 0;
};

class Automation {
 public:
  // How long one call may take before it is given up: the program has
  // stopped answering (hung, or waiting on a dialog of its own).
  static constexpr int kCallLimitMs = 5000;
  // How long starting the program may take: a cold start of an office
  // program on a slow laptop takes far longer than a call.
  static constexpr int kCreateLimitMs = 60000;

  virtual ~Automation() = default;
  // Whether a program is registered under this name.
  virtual bool Registered(std::string_view program) const = 0;
  // A new application object of the program registered under this name
  // ("Excel.Application"); empty when there is none, or when it did not
  // start within kCreateLimitMs.
  virtual std::unique_ptr<AutomationObject> Create(std::string_view program) = 0;
  // Create for the first of these programs that is registered; nothing
  // when none of them is.
  std::optional<std::unique_ptr<AutomationObject>> CreateFirst(std::initializer_list<std::string_view> programs) {
    for (std::string_view program : programs)
      if (Registered(program)) return Create(program);
    return std::nullopt;
  }
  // A call was given up and the program has not answered it yet: until it
  // does, every call fails at once.
  virtual bool Hung() const = 0;
};

}  // namespace tovan::rt
