// The two colours of the command buttons: the default one, and the
// highlight that marks the active copy mode, the active slot and switched-on
// toggles. The table and most combo boxes share the default one.
#pragma once

#include "runtime/geometry.h"

namespace tovan {

inline constexpr rt::Colour kButtonColour{121, 209, 200};
inline constexpr rt::Colour kHighlightColour{255, 168, 255};

}  // namespace tovan
