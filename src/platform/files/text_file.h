// Files in the text mode of the old platform: reading drops a CR before an LF and
// ends at a Ctrl-Z byte; writing turns every LF into CR LF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class TextFileReader {
 public:
  // Reads the whole file; nullopt when it cannot be opened or is not a regular file.
  static std::optional<TextFileReader> Open(const std::string& host_path);
  // Reads bytes already in memory as the file's contents.
  static TextFileReader FromBytes(std::string_view bytes);

  // As fgets: the bytes up to and including the next LF, at most size - 1 of them,
  // and a terminator. False at the end of the file, with nothing stored. Size 0 stores
  // nothing and returns false; size 1 stores only the terminator and, while bytes
  // remain, returns true without consuming any (as fgets does).
  bool ReadLine(char* buffer, std::size_t size);

 private:
  explicit TextFileReader(std::string contents) : contents_(std::move(contents)) {}
  std::string contents_;  // after text-mode translation
  std::size_t position_ = 0;
};

// Writes a whole file beside the old one and renames it over it on Commit, so that a
// failed or interrupted write leaves the previous file whole.
class TextFileWriter {
 public:
  static std::optional<TextFileWriter> Open(const std::string& host_path);
  TextFileWriter(TextFileWriter&& other) noexcept;
  TextFileWriter& operator=(TextFileWriter&&) = delete;
  ~TextFileWriter();  // discards the file unless committed

  // Text with LF line ends; written with CR LF.
  bool Write(std::string_view text);
  // True when the whole file is on disk under its name.
  bool Commit();
  // Removes the temporary files that writes of host_path left beside it when the
  // process was killed before Commit.
  static void RemoveInterruptedWrites(const std::string& host_path);

 private:
  TextFileWriter(std::string path, std::string temporary_path, int descriptor)
      : path_(std::move(path)), temporary_path_(std::move(temporary_path)), descriptor_(descriptor) {}
  void Discard();  // closes and removes the temporary file, if any
  std::string path_;
  std::string temporary_path_;
  int descriptor_ = -1;
  bool failed_ = false;
};
