// The send-keys syntax of the Windows scripting shell, parsed into key
// strokes: "+" "^" "%" hold Shift, Ctrl, Alt for the next key or for a
// parenthesised group, "~" is Enter, braces name keys ("{TAB}", "{F5}",
// "{LEFT 3}") or quote the syntax's own characters ("{+}", "{{}", "{}}").
#pragma once

#include <string_view>
#include <vector>

#include "runtime/keys.h"

namespace tovan::paste {

// Text that the syntax does not cover (an unmatched brace, an unknown key
// name, groups nested past 32 levels) is typed as it stands rather than
// refused; a repeat count stops at 1000.
std::vector<rt::Stroke> ParseSendKeys(std::string_view text);

}  // namespace tovan::paste
