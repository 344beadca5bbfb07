// The message loop's calls over the platform's queue, clock, backend and media
// player: taking messages, waiting for input, the work put off for the page, the quit
// and the keys held.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32_types.h"
#include "platform/window/message_queue.h"

class Platform;

// The work put off for the page (the media player's: a sound to start, the device to
// open, a soundfont's bank to load; the reader's, when the loop waits: the next
// click's picture to read) starts a frame after the page went out: when that is, or
// nullopt once it has started or none waits. The loop wakes for it; an effect that
// sleeps lets the media player's start in its sleep.
std::optional<std::uint64_t> LetPutOffWork(Platform& platform, bool loop_waits);

bool GetMessageA(Platform& platform, MSG* message);
bool PeekMessageA(Platform& platform, MSG* message);
void PostQuitMessage(Platform& platform, int exit_code);
// Negative (the high bit set) while the key is down.
short GetKeyState(Platform& platform, int virtual_key);
