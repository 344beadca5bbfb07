// Fonts made like CreateFontA, rendered by FreeType with a glyph cache. The face
// "ＭＳ 明朝" is served by a Mincho face with Shift-JIS coverage found through
// fontconfig (IPAMincho by default, remembered between starts), or by a font file
// given on the command line.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32_types.h"

class ShiftJis;
class FontEngine;

// One rendered glyph: a coverage mask (0 or 255 per pixel) and its placement.
struct Glyph {
  int width = 0;     // of the mask
  int height = 0;
  int left = 0;      // offset of the mask from the pen position
  int top = 0;       // offset of the mask's first row from the cell's top
  int advance = 0;   // pen advance in pixels
  std::vector<std::uint8_t> mask;
};

class Font {
 public:
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  int cell_height() const { return cell_height_; }
  int ascent() const { return ascent_; }
  // The glyph of a Unicode character, rendered on first use and cached. A character
  // the face lacks gets the face's .notdef glyph.
  const Glyph& GlyphFor(char32_t code) const;
  ShiftJis& shift_jis() const { return *shift_jis_; }

 private:
  friend class FontEngine;
  Font() = default;
  Glyph Render(char32_t code) const;
  struct Impl;  // the FreeType face at this font's size
  std::unique_ptr<Impl> impl_;
  int cell_height_ = 0;
  int ascent_ = 0;
  int full_width_advance_ = 0;  // for an empty .notdef standing in for a wide character
  bool embolden_ = false;
  ShiftJis* shift_jis_ = nullptr;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
};

// Owns FreeType and the choice of face. One per running reader.
class FontEngine {
 public:
  // font_file: a face that replaces the Mincho face of the system, if given.
  FontEngine(ShiftJis& shift_jis, std::optional<std::string> font_file = std::nullopt);
  ~FontEngine();
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  // The face file in use, empty when none was found.
  const std::string& face_path() const { return face_path_; }
  // The face file that an earlier start remembered and this one found to be no usable
  // face, and forgot; empty when there was none.
  const std::string& forgotten_face() const { return forgotten_face_; }

  // A positive height is the cell height (internal leading included), a negative one
  // the character height (the em size), 0 a default of 16; weight of 600 and more
  // emboldens a face that has no heavy weight. Null when no face loads.
  std::unique_ptr<Font> Create(int height, int weight);

 private:
  struct Impl;  // FreeType, shared with the fonts so that either may go first
  std::unique_ptr<Impl> impl_;
  ShiftJis& shift_jis_;
  std::string face_path_;
  std::string forgotten_face_;
};

std::unique_ptr<Font> CreateFontA(FontEngine& engine, int height, int width, int escapement,
                                  int orientation, int weight, DWORD italic, DWORD underline,
                                  DWORD strike_out, DWORD charset, DWORD out_precision,
                                  DWORD clip_precision, DWORD quality, DWORD pitch_and_family,
                                  const char* face_name_sjis);
