// The table of contents and its file "ファイル.txt".
#pragma once

struct Reader;

void LoadToc(Reader& r);
