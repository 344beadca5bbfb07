// Text on the page: paragraphs at the text cursor, page clears with their label,
// and the commands for font size ("F"), brightness ("FC") and chapter title ("T").
#pragma once

#include <cstdint>

struct Reader;
class Window;

void PutTextLine(Reader& r, int fade);
void ClearPage(Reader& r);
void CmdFontSize(Reader& r);
void CmdBrightness(Reader& r);
void CmdTitle(Reader& r, Window& window);

// The layout's arithmetic, shared with page replay. Products and quotients are
// unsigned 32-bit, as the novels' page breaks were computed.
bool LineOverflowsPage(std::int32_t top, std::int32_t font_height, std::uint32_t length);
std::int32_t CursorAfterLine(std::int32_t top, std::int32_t font_height, std::uint32_t length);

// The page label "%s %3d ページ" of a chapter title and page number.
void FormatPageLabel(char (&label)[256], const char* title, std::int32_t page);
