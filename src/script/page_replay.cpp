// Page replay. It arrives with the bookmarks.
#include "script/page_replay.h"

void ReplayToPage(Reader&, Window&) {}
