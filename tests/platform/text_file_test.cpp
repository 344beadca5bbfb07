// Text-mode files: fgets-style lines after CR LF and Ctrl-Z translation, and CR LF
// writing that replaces the old file only on a successful commit.
#include "platform/files/text_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(mkdtemp(directory_.data()), nullptr); }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string Host(const std::string& name) const { return directory_ + "/" + name; }
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(Host(name), std::ios::binary) << bytes;
  }
  std::string ReadBytes(const std::string& name) const {
    std::ifstream in(Host(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  Lines ReadLinesOf(const std::string& bytes, std::size_t size) const {
    WriteBytes("lines.txt", bytes);
    std::optional<TextFileReader> reader = TextFileReader::Open(Host("lines.txt"));
    Lines lines;
    std::vector<char> buffer(size);
    while (reader.value().ReadLine(buffer.data(), buffer.size())) lines.emplace_back(buffer.data());
    return lines;
  }
  Lines DirectoryEntries() const {
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(directory_)) {
      names.push_back(entry.path().filename());
    }
    return names;
  }

  std::string directory_ = "/tmp/yomu-text-file-XXXXXX";
};

TEST_F(TextFileTest, ReadsLines) {
  const std::string a255(255, 'a');
  const struct { std::string bytes; Lines lines; std::size_t size = 256; } cases[] = {
      {"one\r\ntwo\r\nthree\r\n", {"one\n", "two\n", "three\n"}},
      {"one\ntwo\nthree\n", {"one\n", "two\n", "three\n"}},
      {a255 + std::string(45, 'b') + "\n", {a255, std::string(45, 'b') + "\n"}},  // 255-byte cut
      {a255 + "\r\nz\n", {a255, "\n", "z\n"}},
      {"one\ntwo", {"one\n", "two"}},
      {"a\rb\r\r\nc\r", {"a\rb\r\n", "c\r"}},  // lone CRs stay
      {"one\r\ntwo\x1Athree\r\n", {"one\n", "two"}},  // Ctrl-Z ends the file
      {"\x1A" "after\n", {}},
      {"a\r\x1A\n", {"a\r"}},
      {"", {}},
      {"ab\n", {"a", "b", "\n"}, 2},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLinesOf(c.bytes, c.size), c.lines) << c.bytes;
}

TEST_F(TextFileTest, ReadLineEdgeCasesAndOpenFailures) {
  WriteBytes("nul.txt", std::string("a\0b\n", 4));
  std::optional<TextFileReader> reader = TextFileReader::Open(Host("nul.txt"));
  ASSERT_TRUE(reader.has_value());
  char buffer[8] = {'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X'};
  EXPECT_FALSE(reader->ReadLine(buffer, 0));
  EXPECT_EQ(buffer[0], 'X');
  ASSERT_TRUE(reader->ReadLine(buffer, 1));  // only the terminator, nothing consumed
  EXPECT_EQ(std::string(buffer, 2), std::string("\0X", 2));
  ASSERT_TRUE(reader->ReadLine(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer, 6), std::string("a\0b\n\0X", 6));  // NUL copied as it is
  EXPECT_FALSE(reader->ReadLine(buffer, sizeof buffer));
  EXPECT_EQ(buffer[0], 'a');  // nothing stored at the end
  EXPECT_FALSE(TextFileReader::Open(directory_).has_value());
  EXPECT_FALSE(TextFileReader::Open(Host("missing.txt")).has_value());
  EXPECT_FALSE(TextFileWriter::Open(Host("missing/out.sio")).has_value());
  EXPECT_FALSE(TextFileWriter::Open(directory_ + "/").has_value());
}

TEST_F(TextFileTest, WriterReplacesTheOldFileWithCrLfTextOnlyOnCommit) {
  WriteBytes("out.sio", "old\r\n");
  {
    std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("out.sio"));
    ASSERT_TRUE(writer && writer->Write("new\n"));
    EXPECT_EQ(DirectoryEntries().size(), 2u);  // the temporary is beside the file
  }  // destroyed uncommitted: discarded
  EXPECT_EQ(ReadBytes("out.sio"), "old\r\n");
  EXPECT_EQ(DirectoryEntries(), Lines{"out.sio"});
  std::optional<TextFileWriter> first = TextFileWriter::Open(Host("out.sio"));
  ASSERT_TRUE(first && first->Write("NO DATA,1,a\n"));
  TextFileWriter second(std::move(*first));
  EXPECT_FALSE(first->Write("x\n"));
  EXPECT_FALSE(first->Commit());
  first.reset();  // the moved-from writer must not remove the temporary
  EXPECT_TRUE(second.Write("b\n\nc"));
  EXPECT_EQ(ReadBytes("out.sio"), "old\r\n");  // untouched until the commit
  EXPECT_TRUE(second.Commit());
  EXPECT_EQ(ReadBytes("out.sio"), "NO DATA,1,a\r\nb\r\n\r\nc");
  EXPECT_EQ(DirectoryEntries(), Lines{"out.sio"});
  struct stat status {};
  ASSERT_EQ(stat(Host("out.sio").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST_F(TextFileTest, FailedCommitReturnsFalseAndKeepsWhatWasThere) {
  std::filesystem::create_directory(Host("target"));
  WriteBytes("target/kept.txt", "kept\r\n");
  std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("target"));
  ASSERT_TRUE(writer && writer->Write("new\n"));
  EXPECT_FALSE(writer->Commit());
  EXPECT_EQ(ReadBytes("target/kept.txt"), "kept\r\n");
  EXPECT_EQ(DirectoryEntries(), Lines{"target"});
  EXPECT_FALSE(writer->Write("more\n"));
  EXPECT_FALSE(writer->Commit());
}

// In a child process, so that the file size limit stays out of the test runner.
TEST_F(TextFileTest, FailedWriteFailsTheCommitAndKeepsTheOldFile) {
  WriteBytes("out.sio", "old\r\n");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("out.sio"));
    _exit(!writer ? 10 : writer->Write(std::string(64, 'x') + "\n") ? 11 : writer->Commit() ? 12 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadBytes("out.sio"), "old\r\n");
  EXPECT_EQ(DirectoryEntries(), Lines{"out.sio"});
}

}  // namespace
