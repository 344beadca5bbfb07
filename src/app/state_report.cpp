// The state block of the headless runner.
#include "app/state_report.h"

#include <cstring>
#include <string>

#include "platform/log_text.h"
#include "reader/reader.h"

namespace {

// UTF-8 of a Shift-JIS field, with control bytes and the backslash escaped so that
// every value stays on its line.
std::string Readable(Reader& r, const char* text_sjis, std::size_t size) {
  const std::string utf8 =
      r.platform.shift_jis.ToUtf8(std::string_view(text_sjis, strnlen(text_sjis, size)));
  return OneLogLine(utf8);
}

class Report {
 public:
  Report(Reader& r, std::uint64_t now_ms, std::ostream& out) : r_(r), now_ms_(now_ms), out_(out) {}

  void Number(const char* name, long long value) { Line(name, std::to_string(value)); }
  template <std::size_t N>
  void Text(const char* name, const char (&field)[N]) {
    Line(name, Readable(r_, field, N));
  }
  template <std::size_t N>
  void Slots(const char* name, const char (*fields)[N], int count, bool only_filled) {
    for (int k = 0; k < count; ++k) {
      if (only_filled && fields[k][0] == '\0') continue;
      Line(std::string(name) + "[" + std::to_string(k) + "]", Readable(r_, fields[k], N));
    }
  }
  void Line(const std::string& name, const std::string& value) {
    out_ << '@' << now_ms_ << " state " << name << '=' << value << '\n';
  }

 private:
  Reader& r_;
  std::uint64_t now_ms_;
  std::ostream& out_;
};

}  // namespace

void WriteStateReport(Reader& r, std::uint64_t now_ms, std::ostream& out) {
  ReaderState& s = r.state;
  Report report(r, now_ms, out);
  report.Number("CurrentLine", s.CurrentLine);
  report.Number("WaitPending", s.WaitPending);
  report.Number("FadeMode", s.FadeMode);
  report.Number("ChoiceBlockIndex", s.ChoiceBlockIndex);
  report.Number("HoverChoice", s.HoverChoice);
  report.Line("Mode", ReaderModeName(s.Mode));
  report.Number("SkipMode", s.SkipMode);
  report.Number("FontHeight", s.FontHeight);
  report.Number("TextBrightness", s.TextBrightness);
  report.Number("TextTop", s.TextTop());
  report.Number("PageNumber", s.PageNumber);
  report.Text("ChapterTitle", s.ChapterTitle);
  report.Text("ScriptFileName", s.ScriptFileName);
  report.Number("CdTrack", s.CdTrack);
  report.Number("IsFullScreen", s.IsFullScreen);
  report.Slots("ChoiceTexts", s.ChoiceTexts, CHOICE_COUNT, true);
  report.Slots("TocLabels", s.TocLabels, TOC_COUNT, true);
  report.Slots("TocFiles", s.TocFiles, TOC_COUNT, true);
  report.Slots("BookmarkLabels", s.BookmarkLabels, BOOKMARK_COUNT, false);
  report.Slots("BookmarkPages", s.BookmarkPages, BOOKMARK_COUNT, false);
  report.Slots("BookmarkFiles", s.BookmarkFiles, BOOKMARK_COUNT, false);
  const std::string caption = r.platform.window ? r.platform.window->caption_sjis() : std::string();
  report.Line("Caption", Readable(r, caption.c_str(), caption.size() + 1));
}
