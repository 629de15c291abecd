// Dropping files on a window of another program as a user would drag them
// from a file manager: through the X server's drag and drop, so the window
// under the point gets a real WM_DROPFILES. Works only under
// tools/wine/run.sh, whose drop agent (folder TOVAN_DROP_AGENT) does the X
// side.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tovan::e2e {

// How long DropFiles waits for the drop agent's answer; the agent itself
// gives up on a silent window well before.
inline constexpr int kDropTimeoutMs = 10000;

// Drops the files, in this order, at a point of the screen. True once the
// window there has taken them (it accepts files: DragAcceptFiles, on it or
// an ancestor). Otherwise false, and error (if given) says why: no agent, no
// window that takes drops at the point, a refusal, a time-out. Paths must be
// absolute, on drive Z: or C:; they need not exist. The calling thread's
// messages are dispatched while it waits, so the target may be one of its
// own windows.
bool DropFiles(POINT screen, const std::vector<std::wstring>& windows_paths,
               std::string* error = nullptr);

}  // namespace tovan::e2e
