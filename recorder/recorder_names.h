// The names the recorder writes into 键名: keys by virtual-key code (only
// the left-hand modifiers have names) and the six mouse button messages.
#pragma once

#include <string_view>

namespace tovan::recorder {

// The key's name, "" for a code the table lacks (right Shift, the Windows keys …).
std::string_view RecordedKeyName(int virtual_key);
// "左键按下" … "中键放开" for 513, 514, 516, 517, 519, 520; "" for any other message.
std::string_view MouseActionName(int message);

}  // namespace tovan::recorder
