// Warnings while reading: a missing file or a line read otherwise than it looks is
// told once, on standard error and as a "warning" record, and reading goes on.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

std::vector<std::string> Warnings(const std::string& script) {
  Novel novel;
  if (!script.empty()) novel.Write("タイトル.txt", script);
  const ReaderRun run =
      RunNovel(novel, "wait 100\nclick 1 1\nwait 100\nclick 1 1\nwait 100\nstate\n");
  std::vector<std::string> warnings;
  for (std::string record : run.Records("warning ")) {
    // Each is also one line on standard error.
    EXPECT_NE(run.errors.find("yomu: " + record.substr(8) + "\n"), std::string::npos) << record;
    if (const std::size_t at = record.find(novel.path()); at != std::string::npos) {
      record.replace(at, novel.path().size(), "DIR");
    }
    warnings.push_back(record.substr(8));
  }
  return warnings;
}

TEST(ReadingWarnings, ToldOnceAtTheirLine) {
  const std::string long_line = std::string(255, 'a') + "T x\n";
  const struct {
    std::string script;
    std::vector<std::string> warnings;
  } cases[] = {
      // The restart runs the "BMP" line again; it is told of once.
      {"BMP \"yoru.bmp\"\n　本文。\nSEE\n", {"タイトル.txt:1: picture \"yoru.bmp\" not found"}},
      {"C\nFI 第二章.txt\n", {"タイトル.txt:2: script \"第二章.txt\" not found"}},
      {"WAV \"nami.wav\"\n　本文。\nE\n",
       {"タイトル.txt:1: sound \"nami.wav\" not found: the reader plays its default chime "
        "instead"}},
      {"MID 0090 \"umi.mid\"\n　本文。\nE\n", {"タイトル.txt:1: MIDI file \"umi.mid\" not found"}},
      {"CD 05 0030\n　本文。\nE\n",
       {"タイトル.txt:1: CD track 5 has no file: the reader looks for track05.ogg, .flac, "
        ".mp3 or .wav in the novel's folder and in its cd/ folder"}},
      // Lines are told of when their file is read; line numbers count the file's lines.
      {"C\n" + long_line + "BMP \"yoru.bmp\"\nE\n",
       {"タイトル.txt:2: the line is 258 bytes: the reader cuts it after byte 255, and reads "
        "the rest, \"T x\", as a chapter title (\"T\")",
        "タイトル.txt:3: picture \"yoru.bmp\" not found"}},
      {"", {"script \"タイトル.txt\" not found in DIR"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Warnings(c.script), c.warnings) << c.script;
}

}  // namespace
