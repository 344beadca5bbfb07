// "yomu check" over small broken novels: each folder of tests/check/novels is a novel
// written from readable UTF-8 sources, with the findings it must give in "expected".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "check/findings_output.h"
#include "check/novel_walk.h"
#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

namespace fs = std::filesystem;

// Scripts and data files become Shift-JIS, except in folders named utf8-*. In a
// source, "{85}" is the byte 0x85, and "{repeat N TEXT}" is TEXT N times, "\n" in
// it a line feed.
std::string SourceBytes(const std::string& text_utf8, bool shift_jis) {
  const auto encode = [shift_jis](const std::string& text) {
    return shift_jis ? ToShiftJis(text) : text;
  };
  std::string bytes;
  std::size_t start = 0;
  for (std::size_t open = text_utf8.find('{'); open != std::string::npos;
       open = text_utf8.find('{', start)) {
    bytes += encode(text_utf8.substr(start, open - start));
    const std::size_t close = text_utf8.find('}', open);
    const std::string inside = text_utf8.substr(open + 1, close - open - 1);
    if (inside.rfind("repeat ", 0) == 0) {
      const std::size_t space = inside.find(' ', 7);
      std::string unit = inside.substr(space + 1);
      for (std::size_t at = unit.find("\\n"); at != std::string::npos; at = unit.find("\\n"))
        unit.replace(at, 2, "\n");
      bytes += encode(Times(std::stoi(inside.substr(7, space - 7)), unit));
    } else {
      bytes += static_cast<char>(std::stoi(inside, nullptr, 16));
    }
    start = close + 1;
  }
  return bytes + encode(text_utf8.substr(start));
}

// "picture W H" is a bitmap of that size, "cut W H" the same cut in half.
std::string PictureBytes(const std::string& source) {
  std::istringstream in(source);
  std::string kind;
  int width = 0, height = 0;
  in >> kind >> width >> height;
  if (kind != "picture" && kind != "cut") return source;
  const std::string bmp = Bmp24(Bitmap(width, height));
  return kind == "cut" ? bmp.substr(0, bmp.size() / 2) : bmp;
}

void WriteNovel(const fs::path& folder, const Novel& novel) {
  const bool shift_jis = folder.filename().string().rfind("utf8-", 0) != 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (!entry.is_regular_file() || name == "expected") continue;
    const std::string extension = entry.path().extension().string();
    const std::string source = ReadBytes(entry.path());
    if (extension == ".txt" || extension == ".sio") {
      novel.WriteBytes(name, SourceBytes(source, shift_jis));
    } else {
      novel.WriteBytes(name, extension == ".bmp" ? PictureBytes(source) : source);
    }
  }
}

// "FILE:LINE: kind" (or "FILE: kind"), in order.
std::vector<std::string> Kinds(const std::vector<Finding>& findings) {
  std::vector<std::string> kinds;
  for (const Finding& finding : findings) {
    const std::string line = finding.line > 0 ? ":" + std::to_string(finding.line) : "";
    kinds.push_back(finding.file + line +
                    (finding.severity == Severity::Error ? ": error" : ": warning"));
  }
  std::sort(kinds.begin(), kinds.end());
  return kinds;
}

std::vector<std::string> Expected(const fs::path& file) {
  std::vector<std::string> kinds;
  std::istringstream in(ReadBytes(file));
  for (std::string line; std::getline(in, line);) kinds.push_back(line);
  std::sort(kinds.begin(), kinds.end());
  return kinds;
}

TEST(CheckNovels, EachBrokenNovelGivesItsFindings) {
  for (const auto& folder : fs::directory_iterator(YOMU_CHECK_NOVELS_DIR)) {
    SCOPED_TRACE(folder.path().filename().string());
    Novel novel;
    WriteNovel(folder.path(), novel);
    const std::vector<Finding> findings = CheckNovel(*OpenFolder(novel.path())).findings;
    std::ostringstream text;
    WriteFindingsText(findings, text);
    EXPECT_EQ(Kinds(findings), Expected(folder.path() / "expected")) << text.str();
  }
}

TEST(CheckNovels, TheSampleNovelChecksClean) {
  const std::vector<Finding> findings = CheckNovel(*OpenFolder(YOMU_DEMO_DIR)).findings;
  for (const Finding& finding : findings)
    ADD_FAILURE() << finding.file << ":" << finding.line << ": " << finding.message;
}

}  // namespace
