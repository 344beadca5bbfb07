// Host paths for Shift-JIS names: separators that are trail bytes, names stored in
// Shift-JIS or UTF-8, case-blind matching, folders, absolute paths, missing files.
#include "platform/files/host_path.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/shift_jis.h"

namespace {

// Names as bytes; the comments give the characters.
const std::string TITLE_SJIS = "\x83\x5E\x83\x43\x83\x67\x83\x8B.txt";  // タイトル.txt
const std::string TITLE_UTF8 = "タイトル.txt";
const std::string SOURCE_SJIS = "\x83\x5C\x81\x5B\x83\x58.txt";  // ソース.txt, ソ = 83 5C
const std::string SOURCE_UTF8 = "ソース.txt";
const std::string COVER_SJIS = "\x95\x5C\x8E\x86.bmp";  // 表紙.bmp, 表 = 95 5C
const std::string COVER_UTF8 = "表紙.bmp";
const std::string PICTURES_SJIS = "\x89\xE6\x91\x9C";  // 画像
const std::string PICTURES_UTF8 = "画像";

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    char pattern[] = "/tmp/yomu-host-path-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "";
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  ~TemporaryDirectory() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class HostPathTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(directory_.path().empty()); }

  std::string Host(const std::string& relative) const { return directory_.path() + "/" + relative; }
  void MakeFile(const std::string& relative) const { std::ofstream(Host(relative)) << "x"; }
  void MakeFolder(const std::string& relative) const { std::filesystem::create_directory(Host(relative)); }
  std::string Resolve(const std::string& name_sjis) {
    return ResolveHostPath(shift_jis_, directory_.path(), name_sjis);
  }

  TemporaryDirectory directory_;
  ShiftJis shift_jis_;
};

TEST_F(HostPathTest, FindsTitleStoredUnderShiftJisName) {
  MakeFile(TITLE_SJIS);
  EXPECT_EQ(Resolve(TITLE_SJIS), Host(TITLE_SJIS));
}

TEST_F(HostPathTest, FindsTitleStoredUnderUtf8Name) {
  MakeFile(TITLE_UTF8);
  EXPECT_EQ(Resolve(TITLE_SJIS), Host(TITLE_UTF8));
}

TEST_F(HostPathTest, PrefersTheRawNameWhenBothExist) {
  MakeFile(TITLE_UTF8);
  MakeFile(TITLE_SJIS);
  EXPECT_EQ(Resolve(TITLE_SJIS), Host(TITLE_SJIS));
}

TEST_F(HostPathTest, TrailByte5CDoesNotSeparateInShiftJisName) {
  MakeFile(SOURCE_SJIS);
  MakeFile(COVER_SJIS);
  EXPECT_EQ(Resolve(SOURCE_SJIS), Host(SOURCE_SJIS));
  EXPECT_EQ(Resolve(COVER_SJIS), Host(COVER_SJIS));
}

TEST_F(HostPathTest, TrailByte5CDoesNotSeparateInUtf8Name) {
  MakeFile(SOURCE_UTF8);
  MakeFile(COVER_UTF8);
  EXPECT_EQ(Resolve(SOURCE_SJIS), Host(SOURCE_UTF8));
  EXPECT_EQ(Resolve(COVER_SJIS), Host(COVER_UTF8));
}

TEST_F(HostPathTest, TrailByte5CDoesNotSeparateInMissingName) {
  EXPECT_EQ(Resolve(SOURCE_SJIS), Host(SOURCE_UTF8));
  EXPECT_EQ(Resolve(COVER_SJIS), Host(COVER_UTF8));
}

TEST_F(HostPathTest, NecExtensionCharacterResolvesToUtf8Name) {
  MakeFile("\xE2\x91\xA0.txt");  // ①.txt
  EXPECT_EQ(Resolve("\x87\x40.txt"), Host("\xE2\x91\xA0.txt"));
}

TEST_F(HostPathTest, MatchesAsciiNameInAnotherCase) {
  MakeFile("scene1.txt");
  MakeFile("Scene2.Txt");
  EXPECT_EQ(Resolve("SCENE1.TXT"), Host("scene1.txt"));
  EXPECT_EQ(Resolve("scene2.txt"), Host("Scene2.Txt"));
}

TEST_F(HostPathTest, MatchesFullWidthNameInAnotherCaseStoredAsUtf8) {
  MakeFile("ａｂｃ.txt");
  EXPECT_EQ(Resolve("\x82\x60\x82\x61\x82\x62.txt"), Host("ａｂｃ.txt"));  // ＡＢＣ.txt
}

TEST_F(HostPathTest, MatchesFullWidthNameInAnotherCaseStoredAsShiftJis) {
  MakeFile("\x82\x81\x82\x82\x82\x83.TXT");  // ａｂｃ.TXT
  EXPECT_EQ(Resolve("\x82\x60\x82\x61\x82\x62.txt"), Host("\x82\x81\x82\x82\x82\x83.TXT"));
}

TEST_F(HostPathTest, NeverFoldsTrailBytesThatLookLikeLetters) {
  MakeFile("\x83\x61.txt");  // trail byte 'a'
  // ア is 83 41, trail byte 'A': a different character, so a different file.
  EXPECT_EQ(Resolve("\x83\x41.txt"), Host("ア.txt"));
}

TEST_F(HostPathTest, FolderGivenWithBackslash) {
  MakeFolder("pic");
  MakeFile("pic/a.bmp");
  EXPECT_EQ(Resolve("pic\\a.bmp"), Host("pic/a.bmp"));
  EXPECT_EQ(Resolve("pic/a.bmp"), Host("pic/a.bmp"));
  EXPECT_EQ(Resolve("PIC\\A.BMP"), Host("pic/a.bmp"));
  EXPECT_EQ(Resolve("pic\\\\.\\a.bmp"), Host("pic/a.bmp"));
}

TEST_F(HostPathTest, ShiftJisFolderStoredAsUtf8) {
  MakeFolder(PICTURES_UTF8);
  MakeFile(PICTURES_UTF8 + "/a.bmp");
  EXPECT_EQ(Resolve(PICTURES_SJIS + "\\a.bmp"), Host(PICTURES_UTF8 + "/a.bmp"));
}

TEST_F(HostPathTest, ShiftJisFolderStoredAsShiftJis) {
  MakeFolder(PICTURES_SJIS);
  MakeFile(PICTURES_SJIS + "/a.bmp");
  EXPECT_EQ(Resolve(PICTURES_SJIS + "\\a.bmp"), Host(PICTURES_SJIS + "/a.bmp"));
}

TEST_F(HostPathTest, FolderWithTrailByte5CInItsName) {
  MakeFolder(SOURCE_UTF8);
  MakeFile(SOURCE_UTF8 + "/" + COVER_UTF8);
  EXPECT_EQ(Resolve(SOURCE_SJIS + "\\" + COVER_SJIS), Host(SOURCE_UTF8 + "/" + COVER_UTF8));
}

TEST_F(HostPathTest, AbsolutePathFromWorkingDirectory) {
  MakeFile("bgm.mid");
  const std::string name = directory_.path() + "\\bgm.mid";
  EXPECT_EQ(ResolveHostPath(shift_jis_, "/nonexistent", name), Host("bgm.mid"));
}

TEST_F(HostPathTest, AbsolutePathWithDifferentCase) {
  MakeFile("bgm.mid");
  const std::string name = directory_.path() + "\\BGM.MID";
  EXPECT_EQ(ResolveHostPath(shift_jis_, "/nonexistent", name), Host("bgm.mid"));
}

TEST_F(HostPathTest, ParentComponentGoesUp) {
  MakeFolder("pic");
  MakeFile("a.txt");
  EXPECT_EQ(Resolve("pic\\..\\A.TXT"), Host("a.txt"));
  EXPECT_EQ(Resolve(".\\a.txt"), Host("a.txt"));
}

TEST_F(HostPathTest, MissingFileGetsUtf8NameInItsFolder) {
  MakeFolder(PICTURES_SJIS);
  EXPECT_EQ(Resolve(TITLE_SJIS), Host(TITLE_UTF8));
  EXPECT_EQ(Resolve(PICTURES_SJIS + "\\" + TITLE_SJIS), Host(PICTURES_SJIS + "/" + TITLE_UTF8));
}

TEST_F(HostPathTest, MissingFolderAndFileGetUtf8Names) {
  EXPECT_EQ(Resolve(PICTURES_SJIS + "\\" + TITLE_SJIS), Host(PICTURES_UTF8 + "/" + TITLE_UTF8));
}

TEST_F(HostPathTest, MissingNameThatDoesNotConvertKeepsItsBytes) {
  // 85 40 is a lead and trail byte pair with no character in code page 932.
  EXPECT_EQ(Resolve("\x85\x40.txt"), Host("\x85\x40.txt"));
}

TEST_F(HostPathTest, NameEndsAtNul) {
  MakeFile("a.txt");
  EXPECT_EQ(Resolve(std::string("a.txt\0b", 7)), Host("a.txt"));
}

TEST_F(HostPathTest, LoneLeadByteAtTheEndDoesNotReadPastTheName) {
  EXPECT_EQ(Resolve("pic\\\x83"), Host("pic/\x83"));
}

}  // namespace
