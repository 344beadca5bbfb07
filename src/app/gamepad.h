// The gamepad: each button stands for the key that does what it does, so a pad
// reads through the keys' paths. The right shoulder is a key of its own, held to
// skip what was read (app/hold_skip.h).
#pragma once

#include "platform/win32_types.h"

// The key a button stands for; any other key as it is.
WPARAM KeyOfPadButton(WPARAM key);
