// Files found at start-up. The Mincho face remembered between starts: used while its
// file is unchanged and serves, so that fontconfig is not set up, and forgotten when
// the file changes or no longer serves. The soundfont: the file given wins, then
// FluidSynth's default, the known files, and any SoundFont 2 or 3 file of the
// soundfont folders.
#include "platform/gdi/face_cache.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/audio/soundfont_search.h"
#include "platform/gdi/font.h"
#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

// The engine takes a remembered face as it is, without asking fontconfig. One that is no
// usable face is forgotten with one line, and fontconfig's answer takes its place; one
// whose file changed, or a damaged cache, is no answer.
TEST(FaceCache, RemembersAFaceThatServesUntilItsFileChanges) {
  Novel folder, novel;
  novel.Write("タイトル.txt", "C\n一\nE\n");
  const std::string saved = getenv("XDG_CACHE_HOME");
  setenv("XDG_CACHE_HOME", folder.File("cache").c_str(), 1);
  const std::string cache = folder.File("cache/yomu/mincho-face");
  ShiftJis shift_jis;
  const std::string found = FontEngine(shift_jis).face_path();
  std::filesystem::create_symlink(found, folder.File("face.ttf"));
  RememberFace(cache, {folder.File("face.ttf"), 0});
  EXPECT_EQ(FontEngine(shift_jis).face_path(), folder.File("face.ttf"));

  folder.WriteBytes("junk.ttf", "not really a face");
  RememberFace(cache, {folder.File("junk.ttf"), 2});
  EXPECT_EQ(RememberedFace(cache).value_or(FaceLocation{}).index, 2);
  EXPECT_EQ(RunNovel(novel, "").errors, "yomu: the remembered Mincho font " +
                                            folder.File("junk.ttf") +
                                            " is no usable font; fontconfig was asked again\n");
  EXPECT_EQ(RememberedFace(cache).value_or(FaceLocation{}).path, found);
  setenv("XDG_CACHE_HOME", saved.c_str(), 1);

  RememberFace(cache, {folder.File("junk.ttf"), 0});
  std::ofstream(folder.File("junk.ttf"), std::ios::app) << "grown";
  EXPECT_FALSE(RememberedFace(cache).has_value());
  for (const char* text : {"", "/a\n", "/a\nx\n1\n2\n", "/a\n-1\n1\n2\n"}) {
    folder.WriteBytes("cache/yomu/mincho-face", text);
    EXPECT_FALSE(RememberedFace(cache).has_value()) << text;
  }
}

TEST(SoundFontSearch, TakesTheFirstReadableBankOfItsPlaces) {
  Novel root;
  for (const char* file : {"given.sf2", "default.sf3", "known.sf2", "only/bank.sf3", "both/b.sf2",
                           "both/a.sf3", "other/notes.txt"}) {
    root.WriteBytes(file, "RIFF");
  }
  std::filesystem::create_directories(root.File("other/folder.sf2"));
  const std::string given = root.File("given.sf2"), fluid = root.File("default.sf3");
  const std::string known = root.File("known.sf2"), missing = root.File("missing.sf2");
  const struct {
    std::optional<std::string> chosen;
    SoundFontPlaces places;
    std::optional<std::string> found;
  } cases[] = {
      {given, {fluid, {known}, {}}, given},
      {missing, {fluid, {known}, {}}, std::nullopt},  // a file named and not there: none
      {std::nullopt, {fluid, {known}, {}}, fluid},
      {std::nullopt, {missing, {missing, known}, {root.File("only")}}, known},
      {std::nullopt,
       {std::nullopt, {missing}, {root.File("other"), root.File("only")}},
       root.File("only/bank.sf3")},
      {std::nullopt, {std::nullopt, {}, {root.File("both")}}, root.File("both/a.sf3")},
      {std::nullopt, {std::nullopt, {missing}, {root.File("other"), missing}}, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindSoundFont(c.chosen, c.places), c.found) << c.found.value_or("none");
}

}  // namespace
