// The five bookmark slots and their file "しおり.sio", in the novel folder or, when
// that cannot be written, in the novel's per-user folder.
#pragma once

#include "data/data_file.h"

struct Reader;
struct ReaderState;

// Every slot "NO DATA", page 1 of the first script.
void SetBookmarkDefaults(ReaderState& s);
void LoadBookmarks(Reader& r);
// What LoadBookmarks keeps of one line of the file in slot.
void StoreBookmarkLine(ReaderState& s, int slot, const DataLine& line);
// The slot put into the file as another reader may have left it, the reader's other
// slots becoming the file's; a slot whose save reached no file keeps its old texts,
// and the reader is told.
void StoreBookmark(Reader& r, int slot);

