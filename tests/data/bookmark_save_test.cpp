// Writing the bookmark file: replaced whole, or kept whole when a write fails part-way.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/bookmarks.h"
#include "platform/files/text_file.h"
#include "reader/text_fields.h"
#include "support/novel.h"

namespace {

class BookmarkSaveTest : public ::testing::Test, protected NovelReader {
 protected:
  ReaderState& s = reader_.state;
  const std::string old_bytes_ = "old,7,a.txt\r\nsecond,8,b.txt\r\n";

  void SetUp() override {
    novel_.WriteBytes("しおり.sio", old_bytes_);
    for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
      FormatField(s.BookmarkLabels[slot], "new%d", slot);
      CopyField(s.BookmarkPages[slot], "1");
      CopyField(s.BookmarkFiles[slot], "n.txt");
    }
  }
  // The bookmark file's bytes; no temporary file may be left beside it.
  std::string FileBytes() const {
    namespace fs = std::filesystem;
    EXPECT_EQ(std::distance(fs::directory_iterator(novel_.path()), fs::directory_iterator()), 1);
    std::ostringstream bytes;
    bytes << std::ifstream(novel_.File("しおり.sio"), std::ios::binary).rdbuf();
    return bytes.str();
  }
};

TEST_F(BookmarkSaveTest, WriteFailingInTheThirdLineKeepsTheOldFile) {
  int writes = 0;
  const BookmarkWrite failing_third = [&writes](TextFileWriter& file, std::string_view text) {
    if (++writes < 3) return file.Write(text);
    file.Write(text.substr(0, 3));  // part of the third line reaches the file
    return false;
  };
  SaveBookmarkFile(s, novel_.File("しおり.sio"), failing_third);
  EXPECT_EQ(writes, 3);
  EXPECT_EQ(FileBytes(), old_bytes_);
}

TEST_F(BookmarkSaveTest, CompleteWriteReplacesTheFileWithFieldsOfFullWidth) {
  std::memset(s.BookmarkLabels[0], 'L', MENU_TEXT_SIZE - 1);
  std::memset(s.BookmarkFiles[4], 'F', MENU_TEXT_SIZE - 1);
  SaveBookmarks(reader_);
  EXPECT_EQ(FileBytes(), std::string(99, 'L') + ",1,n.txt\r\nnew1,1,n.txt\r\nnew2,1,n.txt\r\n" +
                             "new3,1,n.txt\r\nnew4,1," + std::string(99, 'F') + "\r\n");
}

}  // namespace
