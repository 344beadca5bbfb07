// Files in the text mode of the old platform: reading drops a CR before an LF and
// ends at a Ctrl-Z byte; writing turns every LF into CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files/regular_file.h"
#include "platform/system_error.h"

// Reads a text file from its start, a block at a time, only as far as its lines
// are asked for: a reader that needs 700 lines never reads the rest of a large file.
class TextFileReader {
 public:
  // Why not, when the file cannot be opened or is not a regular file.
  static FileOr<TextFileReader> Open(const std::string& host_path);
  // Reads bytes already in memory as the file's contents.
  static TextFileReader FromBytes(std::string_view bytes);
  // Reads the bytes of a source, an open file for one.
  explicit TextFileReader(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {}

  // As fgets: the bytes up to and including the next LF, at most size - 1 of them,
  // and a terminator. False at the end of the file, with nothing stored. Size 0 stores
  // nothing and returns false; size 1 stores only the terminator and, while bytes
  // remain, returns true without consuming any (as fgets does).
  bool ReadLine(char* buffer, std::size_t size);

 private:
  // The next byte of the text after translation, without taking it; nothing at the end.
  std::optional<char> Peek();
  void Take();
  // Makes at least count raw bytes available from start_ on, if the file has them.
  bool Fill(std::size_t count);

  std::unique_ptr<ByteSource> source_;
  std::vector<char> block_;     // raw bytes of the file from file_offset_ - block_.size() on
  std::size_t start_ = 0;       // the next raw byte in block_
  std::uint64_t file_offset_ = 0;  // the next byte of the file to read into block_
  bool ended_ = false;          // a Ctrl-Z ended the text
};

// Writes a whole file beside the old one and renames it over it on Commit, so that a
// failed or interrupted write leaves the previous file whole. The temporary file is
// locked (flock) while it is written, so that writers in other processes can tell it
// from one that a killed write left. The novel's files get the old platform's CR LF;
// the reader's own files the system's LF.
class TextFileWriter {
 public:
  enum class LineEnds { CrLf, Lf };
  static ErrorOr<TextFileWriter, SystemError> Open(const std::string& host_path,
                                                   LineEnds line_ends = LineEnds::CrLf);
  TextFileWriter(TextFileWriter&& other) noexcept;
  TextFileWriter& operator=(TextFileWriter&&) = delete;
  ~TextFileWriter();  // discards the file unless committed

  // Text with LF line ends; written with CR LF. After one failure every write and
  // the commit give that failure.
  ErrorOr<void, SystemError> Write(std::string_view text);
  // Puts the whole file on disk under its name, or says why it is not.
  ErrorOr<void, SystemError> Commit();
  // The whole of text written under host_path at once.
  static ErrorOr<void, SystemError> WriteWhole(const std::string& host_path,
                                               std::string_view text,
                                               LineEnds line_ends = LineEnds::CrLf);
  // One of the reader's own files (LF line ends) written whole; else the reader's words
  // for why not: "PATH cannot be written: rename: No space left on device".
  static ErrorOr<void, std::string> WriteOwnFile(const std::string& host_path,
                                                 std::string_view text);
  // Removes the temporary files that writes of host_path left beside it when their
  // process was killed before Commit; those of writes still running stay.
  static void RemoveInterruptedWrites(const std::string& host_path);

 private:
  TextFileWriter(std::string path, std::string temporary_path, int descriptor, LineEnds line_ends)
      : path_(std::move(path)),
        temporary_path_(std::move(temporary_path)),
        descriptor_(descriptor),
        line_ends_(line_ends) {}
  void Discard();  // closes and removes the temporary file, if any
  std::string path_;
  std::string temporary_path_;
  int descriptor_ = -1;
  LineEnds line_ends_ = LineEnds::CrLf;
  std::optional<SystemError> failure_;
};
