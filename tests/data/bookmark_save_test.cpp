// Writing the bookmark file: a write that fails part-way leaves the old file whole.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/reader.h"
#include "app/text_fields.h"
#include "data/bookmarks.h"
#include "platform/files/text_file.h"
#include "platform/headless/headless_backend.h"
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

  std::string FileBytes() const {
    std::ifstream in(novel_.File("しおり.sio"), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::size_t DirectoryEntries() const {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(novel_.path())) ++count;
    return count;
  }
};

TEST_F(BookmarkSaveTest, WriteFailingInTheThirdLineKeepsTheOldFile) {
  int writes = 0;
  // The third line reaches the file only in part before the write fails.
  SaveBookmarkFile(s, novel_.File("しおり.sio"), [&writes](TextFileWriter& file, std::string_view text) {
    if (++writes < 3) return file.Write(text);
    file.Write(text.substr(0, 3));
    return false;
  });
  EXPECT_EQ(writes, 3);
  EXPECT_EQ(FileBytes(), old_bytes_);
  EXPECT_EQ(DirectoryEntries(), 1u);

  LoadBookmarks(reader_);
  EXPECT_STREQ(s.BookmarkLabels[0], "old");
  EXPECT_STREQ(s.BookmarkPages[1], "8");
  EXPECT_STREQ(s.BookmarkLabels[2], "new2");
}

TEST_F(BookmarkSaveTest, CompleteWriteReplacesTheFile) {
  SaveBookmarks(reader_);
  EXPECT_EQ(FileBytes(),
            "new0,1,n.txt\r\nnew1,1,n.txt\r\nnew2,1,n.txt\r\nnew3,1,n.txt\r\nnew4,1,n.txt\r\n");
  EXPECT_EQ(DirectoryEntries(), 1u);
}

TEST_F(BookmarkSaveTest, FullWidthFieldsAreWrittenWhole) {
  std::memset(s.BookmarkLabels[0], 'L', MENU_TEXT_SIZE - 1);
  std::memset(s.BookmarkFiles[4], 'F', MENU_TEXT_SIZE - 1);
  SaveBookmarks(reader_);
  const std::string bytes = FileBytes();
  EXPECT_EQ(bytes.substr(0, 103), std::string(99, 'L') + ",1,n");
  EXPECT_EQ(bytes.substr(bytes.size() - 101), std::string(99, 'F') + "\r\n");
}

}  // namespace
