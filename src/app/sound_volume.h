// The volume of music and sounds together: - and + (the keypad's too, and = where
// + needs Shift) lower and raise it by tenths, M mutes and unmutes. The level shows
// in the status strip's note for a moment, and is kept in the reader's settings.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

bool IsVolumeKey(WPARAM key);
// True when the key was the volume's.
bool OnVolumeKey(Reader& r, Window& window, WPARAM key, bool repeat);
// The level kept in the settings, given to the sound at start-up.
void StartSoundVolume(Reader& r);
