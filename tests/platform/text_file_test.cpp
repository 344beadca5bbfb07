// Text-mode files: fgets-style lines after CR LF and Ctrl-Z translation; CR LF writing
// that commits or keeps the old file (a failed write: the bookmarks' tests).
#include "platform/files/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "support/novel.h"

namespace {

using Lines = std::vector<std::string>;

class TextFileTest : public ::testing::Test {
 protected:
  Lines ReadLinesOf(const std::string& bytes, std::size_t size) const {
    novel_.WriteBytes("lines.txt", bytes);
    TextFileReader reader = TextFileReader::Open(Host("lines.txt")).value();
    Lines lines;
    for (std::vector<char> buffer(size); reader.ReadLine(buffer.data(), size);) {
      lines.emplace_back(buffer.data());
    }
    return lines;
  }
  Lines DirectoryEntries() const {
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(novel_.path())) {
      names.push_back(entry.path().filename());
    }
    return names;
  }
  std::string Host(const std::string& name) const { return novel_.File(name); }

  Novel novel_;
};

TEST_F(TextFileTest, ReadsLines) {
  const std::string a255(255, 'a'), b45(45, 'b');
  const struct {
    std::string bytes;
    Lines lines;
    std::size_t size = 256;
  } cases[] = {
      {"one\r\ntwo\r\nthree\r\n", {"one\n", "two\n", "three\n"}},
      {"one\ntwo", {"one\n", "two"}},
      {"", {}},
      {a255 + b45 + "\n", {a255, b45 + "\n"}},
      {a255 + "\r\nz\n", {a255, "\n", "z\n"}},
      {"a\rb\r\r\nc\r", {"a\rb\r\n", "c\r"}},  // lone CRs stay
      {"ab\n", {"a", "b", "\n"}, 2},
      // Ctrl-Z ends the text.
      {"one\r\ntwo\x1Athree\r\n", {"one\n", "two"}},
      {"\x1A" "after\n", {}},
      {"a\r\x1A\n", {"a\r"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLinesOf(c.bytes, c.size), c.lines) << c.bytes;
}

TEST_F(TextFileTest, ReadLineEdgeCasesAndOpenFailures) {
  novel_.WriteBytes("nul.txt", std::string("a\0b\n", 4));
  TextFileReader reader = TextFileReader::Open(Host("nul.txt")).value();
  char buffer[8] = {'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X'};
  EXPECT_TRUE(!reader.ReadLine(buffer, 0) && buffer[0] == 'X');
  // Size 1 stores the terminator and consumes nothing; NULs inside a line are kept.
  EXPECT_TRUE(reader.ReadLine(buffer, 1) && std::string(buffer, 2) == std::string("\0X", 2));
  EXPECT_TRUE(reader.ReadLine(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer, 6), std::string("a\0b\n\0X", 6));
  EXPECT_TRUE(!reader.ReadLine(buffer, sizeof buffer) && buffer[0] == 'a');  // nothing stored
  EXPECT_EQ(TextFileReader::Open(novel_.path()).error().problem, FileProblem::NotRegularFile);
  EXPECT_EQ(TextFileReader::Open(Host("missing.txt")).error().problem, FileProblem::NotFound);
  EXPECT_EQ(TextFileWriter::Open(Host("missing/out.sio")).error().Describe(),
            "mkostemp: No such file or directory");
  EXPECT_FALSE(TextFileWriter::Open(novel_.path() + "/"));
}

TEST_F(TextFileTest, TheWriterReplacesTheOldFileWithCrLfTextOnlyOnASuccessfulCommit) {
  novel_.WriteBytes("out.sio", "old\r\n");
  {
    auto writer = TextFileWriter::Open(Host("out.sio"));
    ASSERT_TRUE(writer && writer->Write("new\n"));
    EXPECT_EQ(DirectoryEntries().size(), 2u);  // the temporary is beside the file
  }  // destroyed uncommitted: discarded
  EXPECT_EQ(DirectoryEntries(), Lines{"out.sio"});
  auto first = std::make_optional(TextFileWriter::Open(Host("out.sio")));
  ASSERT_TRUE(*first && (*first)->Write("NO DATA,1,a\n"));
  TextFileWriter second(std::move(first->value()));
  const auto moved_from_write = (*first)->Write("x\n");
  ASSERT_FALSE(moved_from_write || (*first)->Commit());
  EXPECT_EQ(moved_from_write.error().code, EBADF);
  first.reset();  // the moved-from writer must not remove the temporary
  EXPECT_TRUE(second.Write("b\n\nc"));
  // A reader clearing away killed writes leaves the temporary of a running one alone.
  TextFileWriter::RemoveInterruptedWrites(Host("out.sio"));
  EXPECT_EQ(ReadBytes(Host("out.sio")), "old\r\n");  // untouched until the commit
  EXPECT_TRUE(second.Commit());
  EXPECT_EQ(ReadBytes(Host("out.sio")), "NO DATA,1,a\r\nb\r\n\r\nc");
  EXPECT_EQ(DirectoryEntries(), Lines{"out.sio"});
  EXPECT_EQ(static_cast<int>(std::filesystem::status(Host("out.sio")).permissions()), 0644);
}

}  // namespace
