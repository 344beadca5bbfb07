// CD tracks as files: trackNN with the first of ogg, flac, mp3, wav, in the novel's
// directory or its cd/ folder, names matched without regard to case.
#include "platform/media/track_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files/host_path.h"
#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

TEST(MediaTrackFiles, FirstFormatInTheNovelThenItsCdFolder) {
  Novel novel;
  std::filesystem::create_directory(novel.File("Cd"));  // neither "cd" nor "CD"
  for (const char* name : {"Cd/track05.OGG", "track02.wav", "track02.mp3", "track02.flac", "Cd/track01.ogg",
                           "track01.wav", "track7.ogg", "track00.ogg"}) {
    novel.WriteBytes(name, "x");
  }
  std::filesystem::create_directory(novel.File("track08.ogg"));  // a folder is no track
  ShiftJis shift_jis;
  HostNames names(shift_jis);
  const std::pair<int, const char*> cases[] = {{5, "Cd/track05.OGG"}, {2, "track02.flac"}, {1, "track01.wav"},
                                               {6, nullptr}, {7, nullptr}, {0, nullptr}, {-1, nullptr},
                                               {8, nullptr}, {2147483647, nullptr}};
  for (const auto& [track, file] : cases) {
    EXPECT_EQ(FindTrackFile(names, novel.path(), track),
              file ? std::optional(novel.File(file)) : std::nullopt)
        << track;
  }
  novel.WriteBytes("TRACK02.ogg", "x");
  EXPECT_EQ(FindTrackFile(names, novel.path(), 2), novel.File("TRACK02.ogg"));
}

}  // namespace
