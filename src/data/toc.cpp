// The table of contents. The file arrives with the context menu; until then the
// contents stay empty.
#include "data/toc.h"

void LoadToc(Reader&) {}
