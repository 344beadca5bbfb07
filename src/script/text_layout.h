// Text on the page: paragraphs at the text cursor, page clears with their label,
// and the commands for font size ("F"), brightness ("FC") and chapter title ("T").
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

struct Reader;
struct ReaderState;
class Surface;
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

// Where the text cursor stands on a fresh page.
constexpr std::int32_t TOP_AFTER_PAGE_CLEAR = 10;
// The cell heights of the normal font and of the large one that "F" with a positive
// size selects.
constexpr std::int32_t NORMAL_FONT_HEIGHT = 24;
constexpr std::int32_t LARGE_FONT_HEIGHT = 42;
// The font height that an "F" line of size sets.
std::int32_t FontHeightOf(std::int32_t size);

// The two halves of a page clear, shared with page replay: the clean background over
// the page but its bottom strip, and the centred label of ChapterTitle and PageNumber.
void WipePage(ReaderState& s);
void DrawPageLabel(ReaderState& s, RECT& label_rect);

// The label as the page shows it, copied onto a picture of the page's background:
// the background may hold the label of the page that a "BO" line darkened.
void CopyPageLabel(const ReaderState& s, Surface& picture);

// The page label "%s %3d ページ" of a chapter title and page number.
void FormatPageLabel(char (&label)[256], const char* title, std::int32_t page);
