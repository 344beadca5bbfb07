// The bookmark and contents files taken byte by byte: whatever they hold, every field
// stays terminated inside its width and nothing behind a line is read.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

#include "app/reader.h"
#include "app/texts.h"
#include "data/bookmarks.h"
#include "data/toc.h"
#include "platform/headless/headless_backend.h"
#include "support/novel.h"

namespace {

class BookmarkAndTocBytesTest : public ::testing::Test, protected NovelReader {
 protected:

  // Commas, line ends, NUL, Ctrl-Z, a lead byte and plain bytes, in long runs.
  static std::string Bytes(unsigned seed) {
    static constexpr char kAlphabet[] = {',', ',', '\n', '\r', '\0', 0x1A, '\x83', 'a', 'b', ' '};
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);
    std::uniform_int_distribution<int> length(0, 1500);
    std::string bytes(static_cast<std::size_t>(length(random)), '\0');
    for (char& byte : bytes) byte = kAlphabet[pick(random)];
    return bytes;
  }
};

template <std::size_t Count, std::size_t Width>
void ExpectTerminated(const char (&fields)[Count][Width], const char* name) {
  for (std::size_t k = 0; k < Count; ++k) EXPECT_LT(strnlen(fields[k], Width), Width) << name << k;
}

TEST_F(BookmarkAndTocBytesTest, AnyBytesLeaveTerminatedFields) {
  for (unsigned seed = 0; seed < 300; ++seed) {
    const std::string bytes = Bytes(seed);
    novel_.WriteBytes("しおり.sio", bytes);
    novel_.WriteBytes("ファイル.txt", bytes);
    auto reader = std::make_unique<Reader>(platform_);
    ReaderState& s = reader->state;
    LoadBookmarks(*reader);
    LoadToc(*reader);
    ExpectTerminated(s.BookmarkLabels, "label");
    ExpectTerminated(s.BookmarkPages, "page");
    ExpectTerminated(s.BookmarkFiles, "file");
    ExpectTerminated(s.TocLabels, "toc label");
    ExpectTerminated(s.TocFiles, "toc file");
    if (HasFailure()) {
      ADD_FAILURE() << "seed " << seed;
      return;
    }
  }
}

TEST_F(BookmarkAndTocBytesTest, NulByteEndsTheLine) {
  novel_.WriteBytes("しおり.sio", std::string("ab\0cd,3,x.txt\n", 14));
  novel_.WriteBytes("ファイル.txt", std::string("ef\0,g.txt\n", 10));
  auto reader = std::make_unique<Reader>(platform_);
  LoadBookmarks(*reader);
  LoadToc(*reader);
  EXPECT_STREQ(reader->state.BookmarkLabels[0], "ab");
  EXPECT_STREQ(reader->state.BookmarkPages[0], "");
  EXPECT_STREQ(reader->state.TocLabels[0], "ef");
  EXPECT_STREQ(reader->state.TocFiles[0], "");
}

}  // namespace
