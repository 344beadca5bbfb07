// Copying a paragraph to the clipboard.
#include "app/paragraph_copy.h"

#include "platform/calls/window_calls.h"
#include "reader/reader.h"

void CopyParagraph(Reader& r, std::uint64_t number) {
  const ReadHistory& history = r.aids.history;
  if (!history.Holds(number)) return;
  SetClipboardText(r.platform, r.platform.shift_jis.ToUtf8(history.At(number)));
}

void CopyCurrentParagraph(Reader& r) {
  if (!r.aids.history.empty()) CopyParagraph(r, r.aids.history.newest());
}
