// Saving the files the user relies on: slots, check states, recordings and
// same-page texts. A file another program holds for a moment (a virus
// scanner, a sync client) or whose access is refused is tried again for up
// to 3 s, the window's events running between tries; a save that still
// fails says so in a balloon that names the file and why. The old file
// stays as it was, and the table keeps what was not saved.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/files.h"
#include "runtime/platform.h"

namespace tovan::table {

// How long a held or refused file is tried again.
inline constexpr int kSaveRetryMs = 3000;

// Runs `write` on the worker until it writes, fails for a reason that
// waiting cannot mend (a full disk), the retry time is up, or `superseded`
// tells that a newer save of the same files is waiting: that one's content
// wins, and the last try's result is returned.
rt::WriteResult WriteRetrying(rt::Platform& p, const std::function<rt::WriteResult()>& write,
                              const std::function<bool()>& superseded = [] { return false; });

// The balloon text of a save of `name` (say "保存A") that failed.
std::string NotSavedText(std::string_view name, rt::WriteFailure why);

}  // namespace tovan::table
