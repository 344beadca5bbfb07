// A message that the program draws over the page itself, in the old desktop's box:
// its paragraphs broken into rows at the box's width, and the button that closes
// it. The backend shows its pixels and closes it on a click or a key.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/font.h"

class MessageView {
 public:
  // text_sjis: paragraphs separated by line feeds; bounds: the page's size.
  MessageView(const std::string& text_sjis, const Font* font, int bounds_width,
              int bounds_height);

  void Draw(Bitmap& canvas) const;
  const RECT& box() const { return box_; }

 private:
  // Draws the paragraphs in the box's width from (left, top); the height they take.
  int DrawText(Bitmap& canvas, int left, int top) const;

  const Font* font_;
  std::vector<std::string> paragraphs_sjis_;
  RECT box_{};
};
