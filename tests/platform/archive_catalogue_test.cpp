// An archive's catalogue: names deeper than the cap are left out at no cost beyond
// their length, and the text that the cache keeps reads back as the same catalogue,
// while any part of it reads as none.
#include "platform/files/archive_catalogue.h"

#include <gtest/gtest.h>

namespace {

MemberHeader Header(MemberHeader::Kind kind, std::uint64_t size) {
  return MemberHeader{"", kind, size, false};
}

TEST(ArchiveCatalogue, LeavesDeepNamesOutAndReadsBackFromItsText) {
  ArchiveCatalogue catalogue;
  const auto file = MemberHeader::Kind::RegularFile;
  std::vector<std::string> deep(100'000, "a");
  catalogue.Add(0, Header(file, 4), deep, 0);
  deep.resize(64);
  catalogue.Add(1, Header(file, 4), deep, 4);
  catalogue.Add(2, Header(file, 10), std::vector<std::string>{"絵", "a b%.bmp"}, 8);
  catalogue.Add(3, Header(MemberHeader::Kind::Folder, 0), std::vector<std::string>{"空"}, 18);
  catalogue.Add(4, Header(file, std::uint64_t{3} << 30), std::vector<std::string>{"big"}, 18);
  catalogue.EndDamaged(5, "cut short");
  EXPECT_TRUE(catalogue.MemberAt("絵/a b%.bmp"));
  std::string path = "a";
  for (int depth = 1; depth < 64; ++depth) path += "/a";
  EXPECT_TRUE(catalogue.MemberAt(path));
  EXPECT_TRUE(catalogue.FolderAt("空"));
  EXPECT_TRUE(catalogue.MemberAt("big")->too_large);
  EXPECT_EQ(catalogue.Notes().size(), 3u);

  const std::string text = catalogue.Text();
  const std::optional<ArchiveCatalogue> read = ArchiveCatalogue::Parse(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Text(), text);
  EXPECT_EQ(read->Notes(), catalogue.Notes());
  for (std::size_t cut = 0; cut < text.size(); ++cut) {
    EXPECT_FALSE(ArchiveCatalogue::Parse(text.substr(0, cut))) << cut;
  }
}

}  // namespace
