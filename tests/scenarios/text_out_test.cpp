// Text for learners: each paragraph as one UTF-8 line as it appears, and the
// current paragraph copied to the clipboard.
#include <gtest/gtest.h>

#include <fstream>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

Strings FileLines(const std::string& path) {
  Strings lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(TextOut, WritesEachParagraphOfAPageWithAChoice) {
  Novel novel;
  novel.Write("タイトル.txt",
              "C\n<\n「海へ行こう」\n\nSET\n0\"海\"\n1\"山\"\n>\n<\n波の音がした。\nE\n", true);
  ReadingOptions options;
  options.text_out_file = novel.File("text.txt");
  const ReaderRun run =
      RunNovel(novel,
               "wait 100\nclick 1 1\nwait 100\nclick 1 1\nmove 1 112\nclick 1 112\nwait 200\n"
               "click 1 1\nwait 100\nkey C\n",
               options);
  // The blank line and the choices are no paragraphs; "<" lines show as text.
  EXPECT_EQ(FileLines(*options.text_out_file),
            (Strings{"<", "「海へ行こう」", "<", "波の音がした。"}));
  EXPECT_EQ(run.Records("clipboard"), (Strings{"clipboard 波の音がした。"}));
}

TEST(TextOut, AFileThatCannotBeWrittenStopsTheStart) {
  Novel novel;
  ReadingOptions options;
  options.text_out_file = novel.File("no/such/dir/text.txt");
  const ReaderRun run = RunNovel(novel, "", options);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.errors.find("cannot write the text output"), std::string::npos);
}

}  // namespace
