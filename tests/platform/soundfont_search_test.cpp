// The soundfont search: the file given wins, then FluidSynth's default, the known
// files, and any SoundFont 2 or 3 file of the soundfont folders.
#include "platform/audio/soundfont_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/novel.h"

namespace {

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
