// The bookmark and contents files taken byte by byte: whatever they hold, every field
// stays terminated inside its width and nothing behind a line is read.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "data/bookmarks.h"
#include "data/toc.h"
#include "support/novel.h"

namespace {

class BookmarkAndTocBytesTest : public ::testing::Test, protected NovelReader {
 protected:
  // A fresh reader that has read a bookmark file and a contents file of these bytes.
  const ReaderState& Load(const std::string& bookmarks, const std::string& toc) {
    novel_.WriteBytes("しおり.sio", bookmarks);
    novel_.WriteBytes("ファイル.txt", toc);
    loaded_ = std::make_unique<Reader>(platform_);
    LoadBookmarks(*loaded_);
    LoadToc(*loaded_);
    return loaded_->state;
  }
  std::unique_ptr<Reader> loaded_;
};

// Commas, line ends, NUL, Ctrl-Z, a lead byte and plain bytes, in long runs.
std::string RandomBytes(unsigned seed) {
  static constexpr char ALPHABET[] = {',', ',', '\n', '\r', '\0', 0x1A, '\x83', 'a', 'b', ' '};
  std::mt19937 random(seed);
  const int size = std::uniform_int_distribution<int>(0, 1500)(random);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  for (char& byte : bytes) byte = ALPHABET[random() % sizeof ALPHABET];
  return bytes;
}

template <typename... Tables>
void ExpectTerminated(const Tables&... tables) {
  const auto check = [](const auto& table) {
    for (const auto& field : table) EXPECT_LT(strnlen(field, sizeof field), sizeof field);
  };
  (check(tables), ...);
}

TEST_F(BookmarkAndTocBytesTest, AnyBytesLeaveTerminatedFields) {
  for (unsigned seed = 0; seed < 300 && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const ReaderState& s = Load(RandomBytes(seed), RandomBytes(seed));
    ExpectTerminated(s.BookmarkLabels, s.BookmarkPages, s.BookmarkFiles, s.TocLabels, s.TocFiles);
  }
}

TEST_F(BookmarkAndTocBytesTest, NulByteEndsTheLine) {
  const ReaderState& s = Load(std::string("ab\0cd,3,x.txt\n", 14), std::string("ef\0,g.txt\n", 10));
  EXPECT_STREQ(s.BookmarkLabels[0], "ab");
  EXPECT_STREQ(s.BookmarkPages[0], "");
  EXPECT_STREQ(s.TocLabels[0], "ef");
  EXPECT_STREQ(s.TocFiles[0], "");
}

}  // namespace
