// CD tracks as files: trackNN with the first of ogg, flac, mp3, wav, in the
// novel's directory or its cd/ folder, names matched without regard to case.
#include "platform/media/track_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

TEST(MediaTrackFiles, FoundInCdFolderWhateverTheCase) {
  Novel novel;
  std::filesystem::create_directory(novel.File("cd"));
  novel.WriteBytes("cd/track05.OGG", "x");
  ShiftJis shift_jis;
  EXPECT_EQ(FindTrackFile(shift_jis, novel.path(), 5), novel.File("cd/track05.OGG"));
  EXPECT_FALSE(FindTrackFile(shift_jis, novel.path(), 6));
}

TEST(MediaTrackFiles, OggBeforeFlacMp3Wav) {
  Novel novel;
  novel.WriteBytes("track02.wav", "x");
  novel.WriteBytes("track02.mp3", "x");
  novel.WriteBytes("track02.flac", "x");
  ShiftJis shift_jis;
  EXPECT_EQ(FindTrackFile(shift_jis, novel.path(), 2), novel.File("track02.flac"));
  novel.WriteBytes("TRACK02.ogg", "x");
  EXPECT_EQ(FindTrackFile(shift_jis, novel.path(), 2), novel.File("TRACK02.ogg"));
}

TEST(MediaTrackFiles, NovelDirectoryBeforeCdFolder) {
  Novel novel;
  std::filesystem::create_directory(novel.File("CD"));
  novel.WriteBytes("CD/track01.ogg", "x");
  novel.WriteBytes("track01.wav", "x");
  ShiftJis shift_jis;
  EXPECT_EQ(FindTrackFile(shift_jis, novel.path(), 1), novel.File("track01.wav"));
}

TEST(MediaTrackFiles, TwoDigitsAndNoTrackZero) {
  Novel novel;
  novel.WriteBytes("track7.ogg", "x");
  novel.WriteBytes("track00.ogg", "x");
  std::filesystem::create_directory(novel.File("track08.ogg"));  // a folder is no track
  ShiftJis shift_jis;
  EXPECT_FALSE(FindTrackFile(shift_jis, novel.path(), 7));
  EXPECT_FALSE(FindTrackFile(shift_jis, novel.path(), 0));
  EXPECT_FALSE(FindTrackFile(shift_jis, novel.path(), -1));
  EXPECT_FALSE(FindTrackFile(shift_jis, novel.path(), 8));
  EXPECT_FALSE(FindTrackFile(shift_jis, novel.path(), 2147483647));
}

}  // namespace
