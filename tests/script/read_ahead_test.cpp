// The next click's picture, made ready while the reader waits: which line's, and
// that the click shows the file as it is when the click comes.
#include "script/read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "reader/reader.h"
#include "render/pictures.h"
#include "script/line_table.h"
#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

class ReadAheadTest : public ::testing::Test, protected NovelReader {
 protected:
  ReaderState& s = reader_.state;

  void Load(const std::string& script_utf8) {
    novel_.Write("タイトル.txt", script_utf8);
    ASSERT_TRUE(LoadScript(reader_));
  }
  // As the loop runs the work put off for the page, with the reader waiting at slot.
  void WaitAt(int slot) {
    s.CurrentLine = slot;
    ReadAheadForNextClick(reader_);
    const std::function<void()> work = platform_.queue.TakePageWork();
    ASSERT_TRUE(work);
    work();
  }
};

TEST_F(ReadAheadTest, TheFirstPictureOrHatchBeforeTheNextPauseWhenNothingLeadsElsewhere) {
  const struct {
    const char* script;
    std::optional<int> slot;
  } cases[] = {
      {"T 岬\nC\nMID 0090 \"umi.mid\"\n\nBMP \"a.bmp\"\nBMP \"b.bmp\"\n", 4},
      {"一\nQ\nBMP \"a.bmp\"\n", std::nullopt},  // the paragraph's pause comes first
      {"Q\nBMP \"a.bmp\"\n", 1},
      {">\nBMP \"a.bmp\"\n", std::nullopt},
      {"FI 二.txt\nBMP \"a.bmp\"\n", std::nullopt},
      {"SET\nBMP \"a.bmp\"\n", std::nullopt},
      {"E\nBMP \"a.bmp\"\n", std::nullopt},
      {"SEE\nBMP \"a.bmp\"\n", std::nullopt},
      {"BMP \"a.bmp\"\n}\n", std::nullopt},  // the brace restarts the file before it
      {"C\nBO\nBMP \"a.bmp\"\n", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Load(c.script);
    EXPECT_EQ(NextClickPictureSlot(s.ScriptLines, 0, false), c.slot);
  }
  EXPECT_EQ(NextClickPictureSlot(s.ScriptLines, 0, true), std::nullopt);
}

Bitmap Filled(std::uint32_t pixel) {
  Bitmap picture(640, 480);
  for (int y = 0; y < 480; ++y) std::fill_n(picture.row(y), 640, pixel);
  return picture;
}

TEST_F(ReadAheadTest, TheClickShowsThePictureFileAsItIsThen) {
  s.PageSurface = CreateCompatibleDC(nullptr);
  s.PictureSurface = CreateCompatibleDC(nullptr);
  s.PageBitmap = CreateCompatibleBitmap(nullptr, 640, 960);
  SelectObject(*s.PageSurface, s.PageBitmap.get());
  novel_.WriteBytes("a.bmp", Bmp24(Filled(0x112233)));
  Load("一\nBMP \"a.bmp\"\n二\nBO\n三\n>\n");
  // A file changed within the last second is not read ahead: it could change again
  // and keep its time.
  WaitAt(1);
  EXPECT_FALSE(s.NextPicture.picture);
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  WaitAt(1);
  ASSERT_TRUE(s.NextPicture.picture);
  EXPECT_EQ(s.NextPicture.picture->pixel(639, 479), 0x112233u);

  // Written again at its size after it was read ahead, the file is read again.
  novel_.WriteBytes("a.bmp", Bmp24(Filled(0x445566)));
  CmdPicture(reader_);
  EXPECT_FALSE(s.NextPicture.picture);
  EXPECT_EQ(s.PageBitmap->pixel(639, 479), 0x445566u);
  EXPECT_EQ(s.PageBitmap->pixel(639, 959), 0x445566u);

  // Before a hatch, the picture kept in the background half gets its own bitmap.
  ASSERT_TRUE(s.PictureInBackground);
  WaitAt(3);
  EXPECT_FALSE(s.PictureInBackground);
  ASSERT_TRUE(s.PictureBitmap);
  EXPECT_EQ(s.PictureBitmap->pixel(639, 479), 0x445566u);
}

}  // namespace
