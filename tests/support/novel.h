// Test novels: a temporary directory with scripts written from readable UTF-8
// sources as Shift-JIS, and runs of the headless reader over it.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/reading_aids.h"
#include "platform/gdi/bitmap.h"
#include "platform/headless/headless_backend.h"
#include "reader/reader.h"

class Novel {
 public:
  Novel();
  ~Novel();
  Novel(const Novel&) = delete;
  Novel& operator=(const Novel&) = delete;

  // Writes text_utf8 as Shift-JIS; line feeds become CR LF when crlf is set.
  void Write(const std::string& name_utf8, const std::string& text_utf8, bool crlf = false) const;
  void WriteBytes(const std::string& host_name, const std::string& bytes) const;
  const std::string& path() const { return path_; }
  std::string File(const std::string& host_name) const { return path_ + "/" + host_name; }

 private:
  std::string path_;
};

std::string ToShiftJis(const std::string& text_utf8);
// A folder as the reader opens it, for a Platform of the test's own.
std::unique_ptr<Volume> OpenFolder(const std::string& path);
// The bytes of a file, or "" when it cannot be read.
std::string ReadBytes(const std::string& path);
// count copies of text, one after the other.
std::string Times(int count, const std::string& text);

// A reader on the headless backend over a test novel, with no window: for tests
// that call the reader's procedures directly. Fixtures inherit it.
struct NovelReader {
  std::ostringstream log_;
  HeadlessBackend backend_{{}, log_};
  Novel novel_;
  Platform platform_{backend_, OpenFolder(novel_.path())};
  Reader reader_{platform_};
};

struct ReaderRun {
  int exit_code = 0;
  std::string log;
  std::string errors;

  std::vector<std::string> Lines() const;
  // The value of the last "state Name=..." record, or "" when there is none.
  std::string State(const std::string& name) const;
  int StateNumber(const std::string& name) const;
  // Every value of a field, one per "state" event, in order.
  std::vector<std::string> Values(const std::string& name) const;
  // Records without their time, in order, that start with prefix.
  std::vector<std::string> Records(const std::string& prefix) const;
  // Records with their time ("@1400 present") that start with prefix after the time.
  std::vector<std::string> TimedRecords(const std::string& prefix) const;
  int Count(const std::string& record) const;
};

struct HeadlessOptions;
ReaderRun RunHeadlessWith(const HeadlessOptions& options, const std::string& events);
// With sound, the media commands play on the real player and SDL's dummy audio driver.
ReaderRun RunNovel(const Novel& novel, const std::string& events,
                   const ReadingOptions& reading = {}, bool with_sound = false);

// A run over a novel of one script, タイトル.txt.
ReaderRun RunScript(const std::string& script_utf8, const std::string& events);
// What the window shows after the events of a run over a novel of one script.
Bitmap Screenshot(const std::string& script_utf8, const std::string& events);

// A PNG as 0xAARRGGBB pixels, empty when it cannot be read; of 16-bit pictures only the
// opaque pixels are kept, as libpng premultiplies the others.
std::vector<std::uint32_t> ReadPngArgb(const std::string& path, int& width, int& height);
// A PNG written by a screenshot or surface event.
Bitmap ReadPng(const std::string& path);
// The pixels of a colour in rows [top, bottom) and columns [left, right); with
// equal unset, the pixels of any other colour.
int CountPixels(const Bitmap& shot, RECT area, std::uint32_t colour, bool equal = true);
