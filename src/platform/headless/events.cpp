// Parsing of the headless runner's event language.
#include "platform/headless/events.h"

#include <cctype>
#include <sstream>
#include <string_view>

#include "platform/feed/text_feed.h"
#include "platform/window/virtual_keys.h"

namespace {

using Kind = HeadlessEvent::Kind;

constexpr long MAX_WHEEL_NOTCHES = 0x7FFF / WHEEL_DELTA;

bool ReadInt(std::istringstream& words, long& value) {
  std::string word;
  if (!(words >> word)) return false;
  try {
    std::size_t used = 0;
    value = std::stol(word, &used);
    return used == word.size();
  } catch (...) {
    return false;
  }
}

bool AtEnd(std::istringstream& words) {
  std::string rest;
  return !(words >> rest);
}

bool ParsePosition(std::istringstream& words, HeadlessEvent& event) {
  long x = 0, y = 0;
  if (!ReadInt(words, x) || !ReadInt(words, y) || !AtEnd(words)) return false;
  if (x < -32768 || x > 32767 || y < -32768 || y > 32767) return false;
  event.x = static_cast<int>(x);
  event.y = static_cast<int>(y);
  return true;
}

std::string RestOfLine(std::istringstream& words) {
  std::string rest;
  std::getline(words >> std::ws, rest);
  while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.back()))) rest.pop_back();
  return rest;
}

// Takes a modifier such as "Ctrl+" off the front of a key's name.
bool TakeModifier(std::string& key, std::string_view prefix, bool& held) {
  if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) return false;
  key.erase(0, prefix.size());
  held = true;
  return true;
}

// A key's name (SDL's, which may hold blanks: "Keypad Enter"); a press may hold
// modifiers down around it: "Shift+", "Ctrl+", "Alt+".
bool ParseKey(std::istringstream& words, HeadlessEvent& event) {
  std::string key = RestOfLine(words);
  for (bool more = event.kind == Kind::Key; more;) {
    more = TakeModifier(key, "Shift+", event.shift) || TakeModifier(key, "Ctrl+", event.ctrl) ||
           TakeModifier(key, "Alt+", event.alt);
  }
  std::optional<int> code = VirtualKeyFromName(key);
  if (!code) return false;
  event.value = *code;
  return true;
}

bool ParseArguments(const std::string& name, std::istringstream& words, HeadlessEvent& event) {
  static_assert(sizeof(long) >= 4);
  if (name == "click" || name == "rclick" || name == "move") {
    event.kind = name == "click" ? Kind::Click : name == "rclick" ? Kind::RightClick : Kind::Move;
    return ParsePosition(words, event);
  }
  if (name == "pick") {
    event.kind = Kind::Pick;
    std::string word;
    if (!(words >> word)) return false;
    if (word == "none") {
      event.pick_none = true;
      return AtEnd(words);
    }
    std::istringstream number(word);
    return ReadInt(number, event.value) && AtEnd(words) && event.value >= 0 &&
           event.value <= 0xFFFF;
  }
  if (name == "command") {
    event.kind = Kind::Command;
    return ReadInt(words, event.value) && AtEnd(words) && event.value >= 0 && event.value <= 0xFFFF;
  }
  if (name == "wait") {
    event.kind = Kind::Wait;
    return ReadInt(words, event.value) && AtEnd(words) && event.value >= 0 &&
           event.value <= 24L * 3600 * 1000;
  }
  if (name == "key" || name == "keydown" || name == "keyup") {
    event.kind = name == "key" ? Kind::Key : name == "keydown" ? Kind::KeyDown : Kind::KeyUp;
    return ParseKey(words, event);
  }
  // A gamepad's button, pressed and released or held: its key as the backend sends it.
  if (name == "pad" || name == "paddown" || name == "padup") {
    event.kind = name == "pad" ? Kind::Key : name == "paddown" ? Kind::KeyDown : Kind::KeyUp;
    std::string button;
    const std::optional<int> code = words >> button ? VirtualPadKeyFromName(button) : std::nullopt;
    event.value = code.value_or(0);
    return code && AtEnd(words);
  }
  if (name == "wheel") {
    event.kind = Kind::Wheel;
    // A turn of more notches than one message can carry is no wheel.
    return ReadInt(words, event.value) && AtEnd(words) && event.value >= -MAX_WHEEL_NOTCHES &&
           event.value <= MAX_WHEEL_NOTCHES;
  }
  if (name == "screenshot" || name == "surface" || name == "await") {
    event.kind = name == "screenshot" ? Kind::Screenshot
                 : name == "surface"  ? Kind::Surface
                                      : Kind::Await;
    event.file = RestOfLine(words);
    return !event.file.empty();
  }
  if (name == "feed") {
    event.kind = Kind::FeedClients;
    std::string word;
    return words >> word && word == "clients" && ReadInt(words, event.value) && AtEnd(words) &&
           event.value >= 0 && event.value <= TextFeed::CLIENTS_MAX;
  }
  if (name == "state" || name == "close") {
    event.kind = name == "state" ? Kind::State : Kind::Close;
    return AtEnd(words);
  }
  return false;
}

}  // namespace

ErrorOr<std::vector<HeadlessEvent>, std::string> ParseEvents(std::istream& in) {
  std::vector<HeadlessEvent> events;
  std::string text;
  for (int line_number = 1; std::getline(in, text); ++line_number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::istringstream words(text);
    std::string name;
    if (!(words >> name) || name[0] == '#') continue;
    HeadlessEvent event;
    event.line_number = line_number;
    if (!ParseArguments(name, words, event)) {
      return "line " + std::to_string(line_number) + ": unknown or malformed event: " + text;
    }
    events.push_back(std::move(event));
  }
  return events;
}
