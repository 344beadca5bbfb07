// Bookmarks: the five slots of label, page text and script file, read from
// "しおり.sio" at start-up and written whole each time a slot is stored.
#include "data/bookmarks.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "data/data_file.h"
#include "data/field_walk.h"
#include "platform/files/text_file.h"
#include "reader/reader.h"
#include "reader/text_fields.h"
#include "reader/texts.h"

namespace {

constexpr int FIELD_COUNT = 3;  // label, page, file; a fourth and later are dropped

char* SlotField(ReaderState& s, int slot, int field) {
  if (field == 0) return s.BookmarkLabels[slot];
  if (field == 1) return s.BookmarkPages[slot];
  return s.BookmarkFiles[slot];
}

int FieldLength(const char (&field)[MENU_TEXT_SIZE]) {
  return static_cast<int>(strnlen(field, MENU_TEXT_SIZE));
}

// "%s,%s,%s\n" of label, page and file; a comma inside a field is written as it is.
void FormatSlotLine(const ReaderState& s, int slot, char (&line)[3 * MENU_TEXT_SIZE + 4]) {
  std::snprintf(line, sizeof line, "%.*s,%.*s,%.*s\n", FieldLength(s.BookmarkLabels[slot]),
                s.BookmarkLabels[slot], FieldLength(s.BookmarkPages[slot]), s.BookmarkPages[slot],
                FieldLength(s.BookmarkFiles[slot]), s.BookmarkFiles[slot]);
}

}  // namespace

// Each stored byte is followed by a terminator, so a field that gets no byte keeps its
// old text and a shorter one hides the rest of the old.
void StoreBookmarkLine(ReaderState& s, int slot, const DataLine& line) {
  WalkFields(line, [&s, slot](int field, std::size_t position, char byte) {
    if (field >= FIELD_COUNT || position >= MENU_TEXT_SIZE - 1) return;
    char* text = SlotField(s, slot, field);
    text[position] = byte;
    text[position + 1] = '\0';
  });
}

void SetBookmarkDefaults(ReaderState& s) {
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    CopyField(s.BookmarkLabels[slot], texts::NO_BOOKMARK);
    CopyField(s.BookmarkPages[slot], texts::FIRST_PAGE);
    CopyField(s.BookmarkFiles[slot], texts::FIRST_SCRIPT);
  }
}

void LoadBookmarks(Reader& r) {
  // An empty line leaves its slot as it is.
  ReadDataFileLines(r, texts::BOOKMARK_FILE, BOOKMARK_COUNT, false,
                    [&r](int slot, const DataLine& line) { StoreBookmarkLine(r.state, slot, line); });
}

void SaveBookmarkFile(const ReaderState& s, const std::string& host_path, const BookmarkWrite& write) {
  std::optional<TextFileWriter> file = TextFileWriter::Open(host_path);
  if (!file) return;
  char line[3 * MENU_TEXT_SIZE + 4];
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    FormatSlotLine(s, slot, line);
    if (!write(*file, line)) return;  // the unfinished file is discarded, the old one stays
  }
  file->Commit();
}

void SaveBookmarks(Reader& r) {
  SaveBookmarkFile(r.state, r.platform.HostPath(texts::BOOKMARK_FILE),
                   [](TextFileWriter& file, std::string_view text) { return file.Write(text); });
}

void StoreBookmark(Reader& r, int slot) {
  if (slot < 0 || slot >= BOOKMARK_COUNT) return;
  ReaderState& s = r.state;
  const int title_length = static_cast<int>(strnlen(s.ChapterTitle, sizeof s.ChapterTitle));
  FormatField(s.BookmarkLabels[slot], "%.*s P.%d", title_length, s.ChapterTitle, s.PageNumber);
  CopyField(s.BookmarkFiles[slot], s.ScriptFileName);
  FormatField(s.BookmarkPages[slot], "%d", s.PageNumber);
  SaveBookmarks(r);
}
