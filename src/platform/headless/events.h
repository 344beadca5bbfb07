// The headless runner's event language: one event per line.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "platform/error_or.h"

struct HeadlessEvent {
  enum class Kind {
    Click, RightClick, Move, Pick, Command, Key, KeyDown, KeyUp, Wheel, Wait, Screenshot, Surface,
    State, Close, FeedClients, Await
  };
  Kind kind = Kind::Close;
  int x = 0;
  int y = 0;
  long value = 0;          // command id, key code, milliseconds, wheel notches, clients
  bool pick_none = false;  // "pick none"
  bool shift = false;      // "key Shift+NAME"
  bool ctrl = false;       // "key Ctrl+NAME"
  bool alt = false;        // "key Alt+NAME"
  std::string file;        // screenshot, surface and await
  int line_number = 0;
};

// Parses the whole list first, so that a mistake stops the run before it starts.
// On an unknown or malformed event, error holds "line N: ..." and nullopt returns.
ErrorOr<std::vector<HeadlessEvent>, std::string> ParseEvents(std::istream& in);
