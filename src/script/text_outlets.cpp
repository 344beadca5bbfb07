// The page's text beside the page.
#include "script/text_outlets.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/calls/speech_calls.h"
#include "reader/reader.h"
#include "render/status_strip.h"

namespace {

// A text on one line: control characters become blanks.
std::string OneLine(std::string text_utf8) {
  for (char& c : text_utf8) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
  }
  return text_utf8;
}

// Without the blanks and control bytes at its ends, which are never the second byte of
// a character.
std::string_view WithoutBlanks(std::string_view text_sjis) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text_sjis.empty() && blank(text_sjis.front())) text_sjis.remove_prefix(1);
  while (!text_sjis.empty() && blank(text_sjis.back())) text_sjis.remove_suffix(1);
  return text_sjis;
}

// A choice as the page shows it, and as it is said: the slot's text (the digit of its
// key, and its quotes made blanks) without the blanks at its ends, nor the line end
// that the slot keeps.
std::string ShownChoice(Reader& r, int index) {
  const char* slot = r.state.ChoiceTexts[index];
  const std::string_view shown = WithoutBlanks({slot, strnlen(slot, CHOICE_TEXT_SIZE)});
  return OneLine(r.platform.shift_jis.ToUtf8(shown));
}

}  // namespace

void PassOnParagraph(Reader& r, std::string_view line_sjis, int same_lines_before) {
  const std::optional<std::string_view> paragraph =
      RecordParagraph(r, line_sjis, same_lines_before);
  if (!paragraph) return;
  ReadingAids& aids = r.aids;
  if (!aids.text_out.active() && !aids.feed && !r.platform.speech.on) return;
  const std::string text = OneLine(r.platform.shift_jis.ToUtf8(*paragraph));
  if (aids.text_out.active()) aids.text_out.WriteLine(text);
  if (aids.feed) aids.feed->Send(text);
  if (!r.platform.speech.on) return;
  Speak(r.platform, text, Utterance::Text);
  // A picture may have covered the strip since.
  ShowSpeechIndicator(r, *r.platform.window);
}

void RepeatNewestParagraph(Reader& r) {
  const ReadHistory& history = r.aids.history;
  if (history.empty()) return;
  std::uint64_t newest = history.newest();
  // The choices taken stand between paragraphs; what is said again is a paragraph.
  while (history.IsChoice(newest) && newest > history.first()) --newest;
  if (!history.IsChoice(newest)) {
    Speak(r.platform, OneLine(r.platform.shift_jis.ToUtf8(history.At(newest))), Utterance::Text);
  }
}

void PassOnChoices(Reader& r) {
  for (int k = 0; k < CHOICE_COUNT && r.state.ChoiceTexts[k][0] != '\0'; ++k) {
    if (!r.aids.feed && !r.platform.speech.on) return;
    const std::string choice = ShownChoice(r, k);
    if (r.aids.feed) r.aids.feed->Send(choice);
    Speak(r.platform, choice, Utterance::Message);
  }
}

void PassOnHighlightedChoice(Reader& r, int index) {
  if (r.platform.speech.on && index >= 0 && index < CHOICE_COUNT &&
      r.state.ChoiceTexts[index][0] != '\0') {
    Speak(r.platform, ShownChoice(r, index), Utterance::Text);
  }
}
