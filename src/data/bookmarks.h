// The five bookmark slots and their file "しおり.sio".
#pragma once

struct Reader;

void LoadBookmarks(Reader& r);
void SaveBookmarks(Reader& r);
void StoreBookmark(Reader& r, int slot);
