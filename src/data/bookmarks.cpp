// Bookmarks: the five slots of label, page text and script file, read from
// "しおり.sio" at start-up; a slot stored is put into the file as it is then, under
// the file's lock, so that what another reader saved meanwhile stays; a save that the
// novel folder refuses goes to the per-user copy.
#include "data/bookmarks.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "data/bookmark_places.h"
#include "data/data_file.h"
#include "data/field_walk.h"
#include "platform/files/file_lock.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"
#include "platform/translation.h"
#include "reader/reader.h"
#include "reader/text_fields.h"
#include "reader/texts.h"

namespace {

constexpr int FIELD_COUNT = 3;  // label, page, file; a fourth and later are dropped
constexpr int SAVE_ATTEMPTS = 3;

// The five slots' texts, as the reader's state holds them or as a file reads.
struct Slots {
  char labels[BOOKMARK_COUNT][MENU_TEXT_SIZE];
  char pages[BOOKMARK_COUNT][MENU_TEXT_SIZE];
  char files[BOOKMARK_COUNT][MENU_TEXT_SIZE];

  static Slots Of(const ReaderState& s) {
    Slots slots;
    std::memcpy(slots.labels, s.BookmarkLabels, sizeof slots.labels);
    std::memcpy(slots.pages, s.BookmarkPages, sizeof slots.pages);
    std::memcpy(slots.files, s.BookmarkFiles, sizeof slots.files);
    return slots;
  }
  void PutInto(ReaderState& s) const {
    std::memcpy(s.BookmarkLabels, labels, sizeof labels);
    std::memcpy(s.BookmarkPages, pages, sizeof pages);
    std::memcpy(s.BookmarkFiles, files, sizeof files);
  }
  void Take(const Slots& other, int slot) {
    std::memcpy(labels[slot], other.labels[slot], MENU_TEXT_SIZE);
    std::memcpy(pages[slot], other.pages[slot], MENU_TEXT_SIZE);
    std::memcpy(files[slot], other.files[slot], MENU_TEXT_SIZE);
  }
};

int FieldLength(const char (&field)[MENU_TEXT_SIZE]) {
  return static_cast<int>(strnlen(field, MENU_TEXT_SIZE));
}

// "%s,%s,%s\n" of label, page and file; a comma inside a field is written as it is.
void FormatSlotLine(const Slots& s, int slot, char (&line)[3 * MENU_TEXT_SIZE + 4]) {
  std::snprintf(line, sizeof line, "%.*s,%.*s,%.*s\n", FieldLength(s.labels[slot]), s.labels[slot],
                FieldLength(s.pages[slot]), s.pages[slot], FieldLength(s.files[slot]),
                s.files[slot]);
}

// Each stored byte is followed by a terminator, so a field that gets no byte keeps its
// old text and a shorter one hides the rest of the old.
void StoreLine(char* const fields[FIELD_COUNT], const DataLine& line) {
  WalkFields(line, [&fields](int field, std::size_t position, char byte) {
    if (field >= FIELD_COUNT || position >= MENU_TEXT_SIZE - 1) return;
    fields[field][position] = byte;
    fields[field][position + 1] = '\0';
  });
}

// What failed, and below it why the last place tried was not written.
std::string NotSavedMessage(const Platform& platform, const std::string& why) {
  const std::string what =
      !platform.user_directory
          ? _("The bookmark was not saved: the novel folder cannot be written, and there is no "
              "home folder.")
          : Formatted(_("The bookmark was not saved: neither the novel folder nor %s can be "
                        "written."),
                      *platform.user_directory);
  return why.empty() ? what : what + "\n" + why;
}

ErrorOr<void, SystemError> WriteSlotLines(const Slots& s, TextFileWriter& file) {
  char line[3 * MENU_TEXT_SIZE + 4];
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    FormatSlotLine(s, slot, line);
    TRY(file.Write(line));
  }
  return file.Commit();
}

// The five lines at host_path, which is replaced only when all of them reached the
// disk: an unfinished file is discarded and the old one stays. A place that takes the
// new file but not its rename (another program cleared it away) is tried again before
// the reader turns to the other place.
ErrorOr<void, SystemError> SaveBookmarkFile(const Slots& s, const std::string& host_path) {
  ErrorOr<void, SystemError> saved;
  for (int attempt = 0; attempt < SAVE_ATTEMPTS; ++attempt) {
    TextFileWriter file = TRY(TextFileWriter::Open(host_path));
    saved = WriteSlotLines(s, file);
    if (saved) break;
  }
  return saved;
}

enum class Outcome { Yes, Locked, No };
struct Saved {
  Outcome outcome = Outcome::No;
  std::string why;  // of the last place that was not written
};

// Slot of the reader's put into the file at host_path as it is now, the reader's other
// slots standing where the file has none; the reader's slots become the file's. A file
// whose lock another reader holds is left as it is.
Saved SaveSlotInto(ReaderState& s, int slot, const std::string& host_path) {
  const ErrorOr<FileLock, LockRefusal> lock = FileLock::Take(host_path);
  if (!lock) return {lock.error().held ? Outcome::Locked : Outcome::No, lock.error().why};
  const Slots own = Slots::Of(s);
  Slots merged = own;
  ReadDataFileLines(host_path, BOOKMARK_COUNT, [&merged](int number, const DataLine& line) {
    char* const fields[FIELD_COUNT] = {merged.labels[number], merged.pages[number],
                                       merged.files[number]};
    StoreLine(fields, line);
  });
  merged.Take(own, slot);
  if (const ErrorOr<void, SystemError> saved = SaveBookmarkFile(merged, host_path); !saved) {
    return {Outcome::No, Formatted(_("%s cannot be written: %s"), host_path,
                                   saved.error().Describe())};
  }
  merged.PutInto(s);
  return {Outcome::Yes, {}};
}

// Once the per-user copy exists it is the only file written, so that the next
// start reads what was saved last. A file whose lock another reader holds is not
// written, and no other place is tried for it.
Saved SaveBookmarkSlot(Reader& r, int slot) {
  const BookmarkPlaces places = FindBookmarkPlaces(r.platform);
  RemoveInterruptedSaves(places);
  if (places.UserCopyExists()) return SaveSlotInto(r.state, slot, *places.user_file);
  if (places.folder_file) {
    const Saved saved = SaveSlotInto(r.state, slot, *places.folder_file);
    if (saved.outcome != Outcome::No || !places.user_file) return saved;
  }
  if (!places.user_file) return {};
  if (const ErrorOr<void, std::string> made = MakeUserDirectory(*r.platform.user_directory); !made) {
    return {Outcome::No, made.error()};
  }
  return SaveSlotInto(r.state, slot, *places.user_file);
}

}  // namespace

void StoreBookmarkLine(ReaderState& s, int slot, const DataLine& line) {
  char* const fields[FIELD_COUNT] = {s.BookmarkLabels[slot], s.BookmarkPages[slot],
                                     s.BookmarkFiles[slot]};
  StoreLine(fields, line);
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

void StoreBookmark(Reader& r, int slot) {
  if (slot < 0 || slot >= BOOKMARK_COUNT) return;
  ReaderState& s = r.state;
  const Slots before = Slots::Of(s);
  const int title_length = static_cast<int>(strnlen(s.ChapterTitle, sizeof s.ChapterTitle));
  FormatField(s.BookmarkLabels[slot], "%.*s P.%d", title_length, s.ChapterTitle, s.PageNumber);
  CopyField(s.BookmarkFiles[slot], s.ScriptFileName);
  FormatField(s.BookmarkPages[slot], "%d", s.PageNumber);
  const Saved saved = SaveBookmarkSlot(r, slot);
  if (saved.outcome == Outcome::Yes) return;
  before.PutInto(s);
  ShowMessage(r.platform, saved.outcome == Outcome::Locked
                              ? std::string(_("The bookmark was not saved: another yomu is "
                                              "saving into the same file. Save it again."))
                              : NotSavedMessage(r.platform, saved.why));
}
