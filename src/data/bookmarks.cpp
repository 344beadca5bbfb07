// Bookmarks: the five slots of label, page text and script file, read from
// "しおり.sio" at start-up and written whole each time a slot is stored; a save that
// the novel folder refuses goes to the per-user copy.
#include "data/bookmarks.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "data/bookmark_places.h"
#include "data/data_file.h"
#include "data/field_walk.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"
#include "platform/translation.h"
#include "reader/reader.h"
#include "reader/text_fields.h"
#include "reader/texts.h"

namespace {

constexpr int FIELD_COUNT = 3;  // label, page, file; a fourth and later are dropped
constexpr int SAVE_ATTEMPTS = 3;

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

struct SlotTexts {
  char label[MENU_TEXT_SIZE], page[MENU_TEXT_SIZE], file[MENU_TEXT_SIZE];
};

SlotTexts CopySlot(const ReaderState& s, int slot) {
  SlotTexts texts;
  std::memcpy(texts.label, s.BookmarkLabels[slot], MENU_TEXT_SIZE);
  std::memcpy(texts.page, s.BookmarkPages[slot], MENU_TEXT_SIZE);
  std::memcpy(texts.file, s.BookmarkFiles[slot], MENU_TEXT_SIZE);
  return texts;
}

void RestoreSlot(ReaderState& s, int slot, const SlotTexts& texts) {
  std::memcpy(s.BookmarkLabels[slot], texts.label, MENU_TEXT_SIZE);
  std::memcpy(s.BookmarkPages[slot], texts.page, MENU_TEXT_SIZE);
  std::memcpy(s.BookmarkFiles[slot], texts.file, MENU_TEXT_SIZE);
}

std::string NotSavedMessage(const Platform& platform) {
  if (!platform.user_directory) {
    return _(
        "The bookmark was not saved: the novel folder cannot be written, and there is no "
        "home folder.");
  }
  return Formatted(_("The bookmark was not saved: neither the novel folder nor %s can be written."),
                   *platform.user_directory);
}

bool WriteSlotLines(const ReaderState& s, TextFileWriter& file) {
  char line[3 * MENU_TEXT_SIZE + 4];
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    FormatSlotLine(s, slot, line);
    if (!file.Write(line)) return false;
  }
  return true;
}

// The five lines at host_path, which is replaced only when all of them reached the
// disk: an unfinished file is discarded and the old one stays. A place that takes the
// new file but not its rename (another program cleared it away) is tried again before
// the reader turns to the other place. False when the file was not replaced.
bool SaveBookmarkFile(const ReaderState& s, const std::string& host_path) {
  for (int attempt = 0; attempt < SAVE_ATTEMPTS; ++attempt) {
    std::optional<TextFileWriter> file = TextFileWriter::Open(host_path);
    if (!file) return false;
    if (WriteSlotLines(s, *file) && file->Commit()) return true;
  }
  return false;
}

// The per-user folder, made when it is missing; one that is a link or another user's
// is not used, and the reader says why.
bool UserDirectoryReady(Platform& platform) {
  std::string refusal;
  if (MakeUserDirectory(*platform.user_directory, &refusal)) return true;
  if (!refusal.empty()) platform.Warn(Formatted(_("%s: bookmarks are not saved there"), refusal));
  return false;
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
  // Saves cut short are cleared away at the next save, not here: looking for them
  // means reading the whole folder, which a start in a folder of thousands of
  // files should not wait for.
  const BookmarkPlaces places = FindBookmarkPlaces(r.platform);
  // An empty line leaves its slot as it is.
  const auto store = [&r](int slot, const DataLine& line) {
    StoreBookmarkLine(r.state, slot, line);
  };
  if (places.UserCopyExists()) {
    ReadDataFileLines(*places.user_file, BOOKMARK_COUNT, store);
  } else {
    ReadDataFileLines(r, texts::BOOKMARK_FILE, BOOKMARK_COUNT, false, store);
  }
}

// Once the per-user copy exists it is the only file written, so that the next
// start reads what was saved last.
bool SaveBookmarks(Reader& r) {
  const BookmarkPlaces places = FindBookmarkPlaces(r.platform);
  RemoveInterruptedSaves(places);
  if (places.UserCopyExists()) return SaveBookmarkFile(r.state, *places.user_file);
  if (places.folder_file && SaveBookmarkFile(r.state, *places.folder_file)) return true;
  return places.user_file && UserDirectoryReady(r.platform) &&
         SaveBookmarkFile(r.state, *places.user_file);
}

void StoreBookmark(Reader& r, int slot) {
  if (slot < 0 || slot >= BOOKMARK_COUNT) return;
  ReaderState& s = r.state;
  const SlotTexts before = CopySlot(s, slot);
  const int title_length = static_cast<int>(strnlen(s.ChapterTitle, sizeof s.ChapterTitle));
  FormatField(s.BookmarkLabels[slot], "%.*s P.%d", title_length, s.ChapterTitle, s.PageNumber);
  CopyField(s.BookmarkFiles[slot], s.ScriptFileName);
  FormatField(s.BookmarkPages[slot], "%d", s.PageNumber);
  if (SaveBookmarks(r)) return;
  RestoreSlot(s, slot, before);
  ShowMessage(r.platform, NotSavedMessage(r.platform));
}
