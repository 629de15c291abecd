// Late-bound automation of other programs (COM dispatch by member name),
// as the Word and Excel modes drive the office programs. A call that fails
// (no such program, no such member, the program refused) changes nothing
// and says so; nothing throws, and the caller simply goes on.
#pragma once

#include <cstdint>
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
  virtual ~Automation() = default;
  // A new application object of the program registered under this name
  // ("Excel.Application"); empty when there is none.
  virtual std::unique_ptr<AutomationObject> Create(std::string_view program) = 0;
};

}  // namespace tovan::rt
