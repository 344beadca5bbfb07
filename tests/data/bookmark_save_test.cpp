// Writing the bookmark file: replaced whole, its fields at their full width, and no
// temporary file left beside it. (A save cut short is the bookmarks scenario's.)
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/bookmarks.h"
#include "reader/text_fields.h"
#include "support/novel.h"

namespace {

class BookmarkSaveTest : public ::testing::Test, protected NovelReader {};

TEST_F(BookmarkSaveTest, ACompleteWriteReplacesTheFileWithFieldsOfFullWidth) {
  ReaderState& s = reader_.state;
  novel_.WriteBytes("しおり.sio", "old,7,a.txt\r\nsecond,8,b.txt\r\n");
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    FormatField(s.BookmarkLabels[slot], "new%d", slot);
    CopyField(s.BookmarkPages[slot], "1");
    CopyField(s.BookmarkFiles[slot], "n.txt");
  }
  std::memset(s.BookmarkLabels[0], 'L', MENU_TEXT_SIZE - 1);
  std::memset(s.BookmarkFiles[4], 'F', MENU_TEXT_SIZE - 1);
  ASSERT_TRUE(SaveBookmarks(reader_));
  namespace fs = std::filesystem;
  EXPECT_EQ(std::distance(fs::directory_iterator(novel_.path()), fs::directory_iterator()), 1);
  std::ifstream in(novel_.File("しおり.sio"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            std::string(99, 'L') + ",1,n.txt\r\nnew1,1,n.txt\r\nnew2,1,n.txt\r\n" +
                "new3,1,n.txt\r\nnew4,1," + std::string(99, 'F') + "\r\n");
}

}  // namespace
