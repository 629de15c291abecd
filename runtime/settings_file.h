// Items of a settings file ("[section]" headers and "key=value" lines),
// stored in GBK. Section and key names match without regard to ASCII case,
// as the system's own settings-file functions do.
#pragma once

#include <string>
#include <string_view>

#include "runtime/files.h"

namespace tovan::rt {

// The value of the item, or `fallback` when the file, section or key is missing.
std::string ReadSetting(const Files& files, std::string_view path, std::string_view section,
                        std::string_view key, std::string_view fallback = {});

// Sets the item, creating the file, section or key as needed and keeping
// every other line as it was. False when the file could not be written or a
// character of the value has no GBK form.
bool WriteSetting(Files& files, std::string_view path, std::string_view section, std::string_view key,
                  std::string_view value);

}  // namespace tovan::rt
