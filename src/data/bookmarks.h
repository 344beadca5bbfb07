// The five bookmark slots and their file "しおり.sio", in the novel folder or, when
// that cannot be written, in the novel's per-user folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "data/data_file.h"

struct Reader;
struct ReaderState;
class TextFileWriter;

// Every slot "NO DATA", page 1 of the first script.
void SetBookmarkDefaults(ReaderState& s);
void LoadBookmarks(Reader& r);
// What LoadBookmarks keeps of one line of the file in slot.
void StoreBookmarkLine(ReaderState& s, int slot, const DataLine& line);
// False when the file could be written in neither place.
bool SaveBookmarks(Reader& r);
// A slot whose save reached no file keeps its old texts, and the reader is told.
void StoreBookmark(Reader& r, int slot);

// One write of the bookmark file's text; false when it did not reach the file.
using BookmarkWrite = std::function<bool(TextFileWriter& file, std::string_view text)>;
// SaveBookmarks with its target and its write step given, so that a failing write can be
// staged: the five lines go through write, and the file at host_path is replaced only
// when all of them went through. False when it was not replaced.
bool SaveBookmarkFile(const ReaderState& s, const std::string& host_path,
                      const BookmarkWrite& write);
