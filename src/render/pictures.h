// Pictures: "BMP" loads a picture as the page and its background.
#pragma once

struct Reader;

void CmdPicture(Reader& r);
