// The Mincho face read through the reader's own stream of its file, a few blocks at
// a time: it draws what FreeType's own reading of the file draws.
#include "platform/gdi/font_file_stream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

struct Drawn {
  std::vector<unsigned char> rows;
  int left = 0, top = 0;
  long advance = 0;
  bool operator==(const Drawn&) const = default;
};

Drawn Draw(FT_Face face, char32_t code) {
  Drawn drawn;
  if (FT_Load_Char(face, code, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER) != 0) return drawn;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* start = bitmap.buffer + row * bitmap.pitch;
    drawn.rows.insert(drawn.rows.end(), start, start + bitmap.pitch);
  }
  drawn.left = face->glyph->bitmap_left;
  drawn.top = face->glyph->bitmap_top;
  drawn.advance = face->glyph->advance.x;
  return drawn;
}

// Letters, kana and kanji from all over the file, so that reads cross blocks and
// blocks displace one another. A copy of the file cut short is no face.
TEST(FontFileStream, DrawsWhatFreeTypesOwnReadingOfTheFileDraws) {
  ShiftJis shift_jis;
  const std::string path = FontEngine(shift_jis).face_path();
  ASSERT_FALSE(path.empty());
  FT_Library library = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  FT_Face mapped = nullptr, streamed = nullptr;
  ASSERT_EQ(FT_New_Face(library, path.c_str(), 0, &mapped), 0);
  const std::unique_ptr<FontFileStream> file = FontFileStream::Open(path);
  ASSERT_NE(file, nullptr);
  FT_Open_Args args = file->OpenArgs();
  ASSERT_EQ(FT_Open_Face(library, &args, 0, &streamed), 0);
  std::vector<char32_t> codes;
  for (char32_t code = 0x21; code < 0x7F; ++code) codes.push_back(code);
  for (char32_t code = 0x3041; code < 0x3094; ++code) codes.push_back(code);
  for (char32_t code = 0x4E00; code < 0x9FA0; code += 37) codes.push_back(code);
  for (FT_Face face : {mapped, streamed}) FT_Set_Pixel_Sizes(face, 0, 24);
  for (char32_t code : codes) {
    const Drawn expected = Draw(mapped, code);
    EXPECT_FALSE(expected.rows.empty()) << std::hex << static_cast<unsigned>(code);
    EXPECT_EQ(Draw(streamed, code), expected) << std::hex << static_cast<unsigned>(code);
  }
  FT_Done_Face(streamed);
  FT_Done_Face(mapped);
  FT_Done_FreeType(library);

  std::ifstream whole(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
  Novel folder;
  folder.WriteBytes("cut.ttf", bytes.substr(0, bytes.size() / 2));
  EXPECT_TRUE(FontEngine(shift_jis, folder.File("cut.ttf")).face_path().empty());
}

}  // namespace
