// A novel's names in its folder: 0x5C trail bytes, names stored in Shift-JIS or
// UTF-8, case-blind matching, subfolders, the forms extractors give names, and
// names that lead outside the novel.
#include "platform/files/folder_volume.h"
#include "platform/files/open_novel.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

TEST(FolderVolumeTest, Resolves) {
  const std::string title_sjis = "\x83\x5E\x83\x43\x83\x67\x83\x8B.txt", title = "タイトル.txt";
  const std::string source_sjis = "\x83\x5C\x81\x5B\x83\x58.txt",
                    source = "ソース.txt";                                    // ソ = 83 5C
  const std::string cover_sjis = "\x95\x5C\x8E\x86.bmp", cover = "表紙.bmp";  // 表 = 95 5C
  const std::string pictures_sjis = "\x89\xE6\x91\x9C", pictures = "画像";
  const std::string abc_sjis = "\x82\x60\x82\x61\x82\x62.txt";  // ＡＢＣ.txt
  // Files to make (a trailing '/' makes a folder), the name to resolve, the expected path.
  const struct { std::vector<std::string> files; std::string name, expected; } cases[] = {
      {{title_sjis}, title_sjis, title_sjis},
      {{title}, title_sjis, title},
      {{title, title_sjis}, title_sjis, title_sjis},  // the raw name first
      {{source_sjis}, source_sjis, source_sjis},
      {{cover_sjis}, cover_sjis, cover_sjis},
      {{source}, source_sjis, source},
      {{cover}, cover_sjis, cover},
      {{}, source_sjis, source},
      {{}, cover_sjis, cover},
      {{"①.txt"}, "\x87\x40.txt", "①.txt"},
      {{"scene1.txt"}, "SCENE1.TXT", "scene1.txt"},
      {{"Scene2.Txt"}, "scene2.txt", "Scene2.Txt"},
      {{"Readme.txt", "readme.txt", "README.TXT"}, "ReadMe.Txt", "README.TXT"},  // the smallest
      {{"ａｂｃ.txt"}, abc_sjis, "ａｂｃ.txt"},
      {{"\x82\x81\x82\x82\x82\x83.TXT"}, abc_sjis, "\x82\x81\x82\x82\x82\x83.TXT"},
      {{"\x83\x61.txt"}, "\x83\x41.txt", "ア.txt"},  // trail bytes 'a' and 'A' never fold
      {{"pic/a.bmp"}, "pic\\a.bmp", "pic/a.bmp"},
      {{"pic/a.bmp"}, "pic/a.bmp", "pic/a.bmp"},
      {{"pic/a.bmp"}, "PIC\\A.BMP", "pic/a.bmp"},
      {{"pic/a.bmp"}, "pic\\\\.\\a.bmp", "pic/a.bmp"},
      {{pictures + "/a.bmp"}, pictures_sjis + "\\a.bmp", pictures + "/a.bmp"},
      {{pictures_sjis + "/a.bmp"}, pictures_sjis + "\\a.bmp", pictures_sjis + "/a.bmp"},
      {{source + "/" + cover}, source_sjis + "\\" + cover_sjis, source + "/" + cover},
      {{"pic/", "a.txt"}, "pic\\..\\A.TXT", "a.txt"},
      {{"a.txt"}, ".\\a.txt", "a.txt"},
      {{pictures_sjis + "/"}, pictures_sjis + "\\" + title_sjis, pictures_sjis + "/" + title},
      {{}, pictures_sjis + "\\" + title_sjis, pictures + "/" + title},
      {{}, "\x85\x40.txt", "\x85\x40.txt"},  // no CP932 character: the bytes stay
      {{"a.txt"}, std::string("a.txt\0b", 7), "a.txt"},
      {{}, "pic\\\x83", "pic/\x83"},  // a lone lead byte at the end
  };
  for (const auto& c : cases) {
    const Novel directory;
    for (const std::string& file : c.files) {
      const std::filesystem::path host = directory.path() + "/" + file;
      std::filesystem::create_directories(host.parent_path());
      if (file.back() != '/') std::ofstream(host) << "x";
    }
    EXPECT_EQ(OpenFolder(directory.path())->HostPathForWriting(c.name),
              directory.path() + "/" + c.expected)
        << c.name;
  }
}

// The index of a folder's names is built again once the folder changes; names of
// a few letters are looked up spelling by spelling.
TEST(FolderVolumeTest, NamesAddedAfterTheFirstLookUpAreFound) {
  const Novel directory;
  std::ofstream(directory.path() + "/first.txt") << "x";
  const timespec long_ago[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, directory.path().c_str(), long_ago, 0), 0);
  const std::unique_ptr<Volume> volume = OpenFolder(directory.path());
  for (const char* file : {"first.txt", "second.txt", "a.txt"}) {
    std::ofstream(directory.path() + "/" + file) << "x";
    std::string upper = file;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const FileOr<NovelFile> found = volume->Find(upper);
    ASSERT_TRUE(found) << upper;
    EXPECT_EQ(found->path, file);
    EXPECT_EQ(found->match, NameMatch::IgnoringCase);
  }
}

// タイトル.txt as the extractors write it, in its folder and in a subfolder; a name
// stored as written is found so first.
TEST(FolderVolumeTest, NamesThatExtractorsMangledAreFound) {
  const std::string title_sjis = "\x83\x5E\x83\x43\x83\x67\x83\x8B.txt";
  const std::string forms[] = {
      "\xE2\x5E\xE2\x43\xE2\x67\xE2\xEF.txt",  // unzip's table, bytes
      "â^âCâgâï.txt",                          // code page 437, as Python's zipfile
      "ƒ^ƒCƒgƒ‹.txt",                          // Windows-1252
      "\xC2\x83^\xC2\x83" "C\xC2\x83g\xC2\x83\xC2\x8B.txt",  // Latin-1
  };
  for (const std::string& form : forms) {
    const Novel novel;
    novel.WriteBytes(form, "x");
    novel.WriteBytes("sub/" + form, "x");
    novel.WriteBytes("other.txt", "x");
    const std::unique_ptr<Volume> volume = std::move(OpenNovel(novel.path(), title_sjis)->volume);
    for (const std::string& folder : {std::string(), std::string("SUB\\")}) {
      const FileOr<NovelFile> found = volume->Find(folder + title_sjis);
      ASSERT_TRUE(found) << form;
      EXPECT_EQ(found->match, NameMatch::Mangled) << form;
      EXPECT_EQ(found->path, (folder.empty() ? "" : "sub/") + form);
    }
    EXPECT_EQ(volume->Find("OTHER.TXT")->match, NameMatch::IgnoringCase);
  }
}

// Names stay inside the novel: absolute names in both separators, ".." above the top
// and links that lead out are refused; ".." within, subfolders and links that stay
// inside are read.
TEST(FolderVolumeTest, NoNameLeadsOutsideTheNovel) {
  const Novel outside;
  outside.WriteBytes("secret.txt", "secret");
  const Novel novel;
  novel.WriteBytes("a.txt", "a");
  novel.WriteBytes("part2/b.txt", "b");
  ASSERT_EQ(symlink((outside.path() + "/secret.txt").c_str(), novel.File("out.txt").c_str()), 0);
  ASSERT_EQ(symlink(outside.path().c_str(), novel.File("out-folder").c_str()), 0);
  ASSERT_EQ(symlink("part2/b.txt", novel.File("in.txt").c_str()), 0);
  ASSERT_EQ(symlink(novel.File("a.txt").c_str(), novel.File("absolute-in.txt").c_str()), 0);
  const std::unique_ptr<Volume> volume = OpenFolder(novel.path());
  const std::string climbs =
      "part2\\..\\..\\" + std::filesystem::path(outside.path()).filename().string();
  const std::string leading_out[] = {outside.path() + "/secret.txt",
                                     "\\etc\\hostname",
                                     "..\\a.txt",
                                     climbs + "\\secret.txt",
                                     "out.txt",
                                     "OUT-FOLDER\\secret.txt",
                                     "../../../../../../../../etc/hostname"};
  for (const std::string& name : leading_out) {
    const FileOr<std::string> read = volume->Read(name, 100);
    ASSERT_FALSE(read) << name;
    EXPECT_EQ(read.error().problem, FileProblem::OutsideNovel) << name;
  }
  const std::pair<const char*, const char*> inside[] = {
      {"a.txt", "a"}, {"part2\\b.txt", "b"}, {"part2/../a.txt", "a"}, {"in.txt", "b"},
      {"absolute-in.txt", "a"}, {".\\PART2\\.\\B.TXT", "b"}};
  for (const auto& [name, bytes] : inside) EXPECT_EQ(volume->Read(name, 100).value(), bytes);
  EXPECT_EQ(volume->Find("part2").error().problem, FileProblem::NotRegularFile);
  ASSERT_EQ(mkfifo(novel.File("pipe.txt").c_str(), 0600), 0);
  EXPECT_EQ(volume->Find("pipe.txt").error().problem, FileProblem::NotRegularFile);
  EXPECT_EQ(volume->Find("c.txt").error().problem, FileProblem::NotFound);
}

}  // namespace

// A folder extracted with its stored times, or under a clock set wrong, keeps its index.
TEST(FolderVolumeTest, AFolderTimeInTheFutureIsAsSettledAsOneLongPast) {
  const std::int64_t now = NowNanoseconds(), second = 1'000'000'000;
  EXPECT_TRUE(SettledChange(now - 2 * second, now));
  EXPECT_TRUE(SettledChange(now + 3600 * second, now));
  EXPECT_FALSE(SettledChange(now - second / 2, now));
  EXPECT_FALSE(SettledChange(now + second / 2, now));
}
