// The message box over the page: measured by drawing its text once off the page,
// then drawn centred with the button below it.
#include "platform/window/message_view.h"

#include <algorithm>

#include "platform/gdi/surface.h"
#include "platform/gdi/text.h"
#include "platform/window/desktop_frame.h"

namespace {

constexpr int BOX_WIDTH_MAX = 520;
constexpr int MARGIN = 16;   // between the box and the page's edges
constexpr int PADDING = 14;  // between the box's edge and its text
constexpr int PARAGRAPH_GAP = 6;
constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 22;
constexpr char OK_LABEL[] = "OK";

std::vector<std::string> Paragraphs(const std::string& text) {
  std::vector<std::string> paragraphs;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    paragraphs.push_back(text.substr(start, end - start));
  }
  paragraphs.push_back(text.substr(start));
  return paragraphs;
}

}  // namespace

MessageView::MessageView(const std::string& text_sjis, const Font* font, int bounds_width,
                         int bounds_height)
    : font_(font), paragraphs_sjis_(Paragraphs(text_sjis)) {
  const int width = std::min(BOX_WIDTH_MAX, bounds_width - 2 * MARGIN);
  box_ = {(bounds_width - width) / 2, 0, (bounds_width + width) / 2, 0};
  Bitmap scratch(width, bounds_height);
  const int text_height = DrawText(scratch, 0, 0);
  const int height = std::min(bounds_height - 2 * MARGIN,
                              2 * PADDING + text_height + PADDING + BUTTON_HEIGHT);
  box_.top = (bounds_height - height) / 2;
  box_.bottom = box_.top + height;
}

int MessageView::DrawText(Bitmap& canvas, int left, int top) const {
  if (font_ == nullptr) return 0;
  Surface surface;
  surface.bitmap = &canvas;
  surface.font = font_;
  surface.background_mode = TRANSPARENT;
  SetTextColor(surface, desktop::DARK);
  int y = top;
  for (const std::string& paragraph : paragraphs_sjis_) {
    RECT area{left + PADDING, y, left + (box_.right - box_.left) - PADDING, canvas.height()};
    y += DrawTextA(surface, paragraph.c_str(), static_cast<int>(paragraph.size()), &area,
                   DT_WORDBREAK) +
         PARAGRAPH_GAP;
  }
  return y - top - PARAGRAPH_GAP;
}

void MessageView::Draw(Bitmap& canvas) const {
  Surface surface;
  surface.bitmap = &canvas;
  surface.font = font_;
  surface.background_mode = TRANSPARENT;
  desktop::DrawFrame(surface, box_);
  DrawText(canvas, box_.left, box_.top + PADDING);
  const int middle = (box_.left + box_.right) / 2;
  const RECT button{middle - BUTTON_WIDTH / 2, box_.bottom - PADDING - BUTTON_HEIGHT,
                    middle + BUTTON_WIDTH / 2, box_.bottom - PADDING};
  desktop::DrawFrame(surface, button);
  if (font_ == nullptr) return;
  SetTextColor(surface, desktop::DARK);
  RECT label = button;
  label.top += (BUTTON_HEIGHT - font_->cell_height()) / 2;
  DrawTextA(surface, OK_LABEL, static_cast<int>(sizeof OK_LABEL - 1), &label, DT_CENTER);
}
