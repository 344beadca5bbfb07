// Text-mode files: fgets-style lines after CR LF and Ctrl-Z translation, and
// CR LF writing that replaces the old file only on a successful commit.
#include "platform/files/text_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t LINE_BUFFER_SIZE = 256;

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    char pattern[] = "/tmp/yomu-text-file-XXXXXX";
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

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(directory_.path().empty()); }

  std::string Host(const std::string& name) const { return directory_.path() + "/" + name; }

  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(Host(name), std::ios::binary) << bytes;
  }

  std::string ReadBytes(const std::string& name) const {
    std::ifstream in(Host(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Every line of the file as ReadLine stores it, up to its terminator.
  std::vector<std::string> ReadLinesOf(const std::string& bytes, std::size_t size = LINE_BUFFER_SIZE) const {
    WriteBytes("lines.txt", bytes);
    std::optional<TextFileReader> reader = TextFileReader::Open(Host("lines.txt"));
    EXPECT_TRUE(reader.has_value());
    std::vector<std::string> lines;
    std::vector<char> buffer(size);
    while (reader && reader->ReadLine(buffer.data(), buffer.size())) lines.emplace_back(buffer.data());
    return lines;
  }

  std::vector<std::string> DirectoryEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TemporaryDirectory directory_;
};

using Lines = std::vector<std::string>;

TEST_F(TextFileTest, CrLfAndLfFilesGiveTheSameLines) {
  const Lines expected = {"one\n", "two\n", "three\n"};
  EXPECT_EQ(ReadLinesOf("one\r\ntwo\r\nthree\r\n"), expected);
  EXPECT_EQ(ReadLinesOf("one\ntwo\nthree\n"), expected);
}

TEST_F(TextFileTest, LongLineComesInPiecesOf255Bytes) {
  const Lines lines = ReadLinesOf(std::string(255, 'a') + std::string(45, 'b') + "\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(255, 'a'));
  EXPECT_EQ(lines[1], std::string(45, 'b') + "\n");
}

TEST_F(TextFileTest, LineOf255BytesAndLineFeedLeavesTheLineFeedAlone) {
  const Lines lines = ReadLinesOf(std::string(255, 'a') + "\r\nz\n");
  EXPECT_EQ(lines, (Lines{std::string(255, 'a'), "\n", "z\n"}));
}

TEST_F(TextFileTest, LastLineWithoutLineFeed) { EXPECT_EQ(ReadLinesOf("one\ntwo"), (Lines{"one\n", "two"})); }

TEST_F(TextFileTest, LoneCarriageReturnsStay) {
  EXPECT_EQ(ReadLinesOf("a\rb\r\r\nc\r"), (Lines{"a\rb\r\n", "c\r"}));
}

TEST_F(TextFileTest, CtrlZEndsTheFile) {
  EXPECT_EQ(ReadLinesOf("one\r\ntwo\x1Athree\r\n"), (Lines{"one\n", "two"}));
  EXPECT_EQ(ReadLinesOf(std::string("\x1A") + "after\n"), Lines{});
}

TEST_F(TextFileTest, CarriageReturnBeforeCtrlZStays) { EXPECT_EQ(ReadLinesOf("a\r\x1A\n"), (Lines{"a\r"})); }

TEST_F(TextFileTest, EmptyFileGivesNoLineAndLeavesTheBufferAlone) {
  WriteBytes("empty.txt", "");
  std::optional<TextFileReader> reader = TextFileReader::Open(Host("empty.txt"));
  ASSERT_TRUE(reader.has_value());
  char buffer[LINE_BUFFER_SIZE];
  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_FALSE(reader->ReadLine(buffer, sizeof buffer));
  EXPECT_EQ(buffer[0], 'X');
}

TEST_F(TextFileTest, NulBytesAreCopiedAsTheyAre) {
  WriteBytes("nul.txt", std::string("a\0b\n", 4));
  std::optional<TextFileReader> reader = TextFileReader::Open(Host("nul.txt"));
  ASSERT_TRUE(reader.has_value());
  char buffer[LINE_BUFFER_SIZE];
  ASSERT_TRUE(reader->ReadLine(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer, 5), std::string("a\0b\n\0", 5));
  EXPECT_FALSE(reader->ReadLine(buffer, sizeof buffer));
}

TEST_F(TextFileTest, TinyBuffersStayInBounds) {
  WriteBytes("tiny.txt", "ab\n");
  std::optional<TextFileReader> reader = TextFileReader::Open(Host("tiny.txt"));
  ASSERT_TRUE(reader.has_value());
  char buffer[2] = {'X', 'X'};
  EXPECT_FALSE(reader->ReadLine(buffer, 0));
  EXPECT_EQ(buffer[0], 'X');
  ASSERT_TRUE(reader->ReadLine(buffer, 1));
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'X');
  EXPECT_EQ(ReadLinesOf("ab\n", 2), (Lines{"a", "b", "\n"}));
}

TEST_F(TextFileTest, DirectoryOrMissingFileDoesNotOpen) {
  EXPECT_FALSE(TextFileReader::Open(directory_.path()).has_value());
  EXPECT_FALSE(TextFileReader::Open(Host("missing.txt")).has_value());
}

TEST_F(TextFileTest, WriterWritesCrLf) {
  std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("out.sio"));
  ASSERT_TRUE(writer.has_value());
  EXPECT_TRUE(writer->Write("NO DATA,1,a\n"));
  EXPECT_TRUE(writer->Write("b\n\nc"));
  EXPECT_TRUE(writer->Commit());
  EXPECT_EQ(ReadBytes("out.sio"), "NO DATA,1,a\r\nb\r\n\r\nc");
  EXPECT_EQ(DirectoryEntries(), (Lines{"out.sio"}));
}

TEST_F(TextFileTest, WrittenFileIsAnOrdinaryFile) {
  std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("out.sio"));
  ASSERT_TRUE(writer.has_value());
  ASSERT_TRUE(writer->Commit());
  struct stat status {};
  ASSERT_EQ(stat(Host("out.sio").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST_F(TextFileTest, WrittenFileReadsBackWithLineFeeds) {
  std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("round.txt"));
  ASSERT_TRUE(writer.has_value());
  ASSERT_TRUE(writer->Write("one\ntwo\n"));
  ASSERT_TRUE(writer->Commit());
  EXPECT_EQ(ReadLinesOf(ReadBytes("round.txt")), (Lines{"one\n", "two\n"}));
}

TEST_F(TextFileTest, CommitReplacesTheOldFile) {
  WriteBytes("out.sio", "old old old\r\n");
  std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("out.sio"));
  ASSERT_TRUE(writer.has_value());
  ASSERT_TRUE(writer->Write("new\n"));
  EXPECT_EQ(ReadBytes("out.sio"), "old old old\r\n");  // untouched until the commit
  ASSERT_TRUE(writer->Commit());
  EXPECT_EQ(ReadBytes("out.sio"), "new\r\n");
}

TEST_F(TextFileTest, FailedCommitReturnsFalseAndKeepsWhatWasThere) {
  std::filesystem::create_directory(Host("target"));
  WriteBytes("target/kept.txt", "kept\r\n");
  std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("target"));
  ASSERT_TRUE(writer.has_value());
  ASSERT_TRUE(writer->Write("new\n"));
  EXPECT_FALSE(writer->Commit());
  EXPECT_EQ(ReadBytes("target/kept.txt"), "kept\r\n");
  EXPECT_EQ(DirectoryEntries(), (Lines{"target"}));
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
    if (!writer) _exit(10);
    const bool written = writer->Write(std::string(64, 'x') + "\n");
    const bool committed = writer->Commit();
    _exit(written ? 11 : committed ? 12 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes("out.sio"), "old\r\n");
  EXPECT_EQ(DirectoryEntries(), (Lines{"out.sio"}));
}

TEST_F(TextFileTest, WriterInMissingDirectoryDoesNotOpen) {
  EXPECT_FALSE(TextFileWriter::Open(Host("missing/out.sio")).has_value());
  EXPECT_FALSE(TextFileWriter::Open(directory_.path() + "/").has_value());
}

TEST_F(TextFileTest, UncommittedWriterLeavesTheOldFileAndNoTemporary) {
  WriteBytes("out.sio", "old\r\n");
  {
    std::optional<TextFileWriter> writer = TextFileWriter::Open(Host("out.sio"));
    ASSERT_TRUE(writer.has_value());
    ASSERT_TRUE(writer->Write("new\n"));
    EXPECT_EQ(DirectoryEntries().size(), 2u);  // the temporary is beside the file
  }
  EXPECT_EQ(ReadBytes("out.sio"), "old\r\n");
  EXPECT_EQ(DirectoryEntries(), (Lines{"out.sio"}));
}

TEST_F(TextFileTest, MovedWriterOwnsTheTemporary) {
  std::optional<TextFileWriter> first = TextFileWriter::Open(Host("out.sio"));
  ASSERT_TRUE(first.has_value());
  ASSERT_TRUE(first->Write("a\n"));
  TextFileWriter second(std::move(*first));
  first.reset();  // the moved-from writer must not remove the temporary
  EXPECT_TRUE(second.Write("b\n"));
  EXPECT_TRUE(second.Commit());
  EXPECT_EQ(ReadBytes("out.sio"), "a\r\nb\r\n");
  EXPECT_EQ(DirectoryEntries(), (Lines{"out.sio"}));
}

TEST_F(TextFileTest, MovedFromWriterDoesNothing) {
  std::optional<TextFileWriter> first = TextFileWriter::Open(Host("out.sio"));
  ASSERT_TRUE(first.has_value());
  TextFileWriter second(std::move(*first));
  EXPECT_FALSE(first->Write("a\n"));
  EXPECT_FALSE(first->Commit());
  EXPECT_FALSE(std::filesystem::exists(Host("out.sio")));
}

}  // namespace
