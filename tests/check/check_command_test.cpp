// The check subcommand: its two forms of output and its exit status.
#include "check/check_command.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/novel.h"

namespace {

struct CheckRun {
  int status;
  std::string out;
};

CheckRun Check(const std::vector<std::string>& arguments) {
  std::ostringstream out, errors;
  const int status = RunCheckCommand(arguments, out, errors);
  return {status, out.str()};
}

TEST(CheckCommand, PrintsFindingsAsLinesOrJson) {
  Novel novel;
  novel.Write("タイトル.txt", "C\nTom\nE\n");
  const std::string message =
      "\"Tom\" reads as a chapter title (\"T\"): column 1 is skipped, so the title is "
      "\"m\", and the line is not shown";
  const CheckRun text = Check({novel.path()});
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(text.out, "タイトル.txt:2: error: " + message + "\n1 error, 0 warnings in 1 script\n");
  std::string escaped = message;
  for (std::size_t at = escaped.find('"'); at != std::string::npos; at = escaped.find('"', at + 2))
    escaped.insert(at, "\\");
  const CheckRun json = Check({"--json", novel.path()});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.out,
            "[\n  {\"file\": \"タイトル.txt\", \"line\": 2, \"kind\": \"error\", \"message\": \"" +
                escaped + "\"}\n]\n");
}

TEST(CheckCommand, ExitStatus) {
  Novel clean;
  clean.Write("タイトル.txt", "C\n　本文。\nE\n");
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string out;
  } cases[] = {
      {{clean.path()}, 0, "0 errors, 0 warnings in 1 script\n"},
      {{"--json", clean.path()}, 0, "[]\n"},
      {{}, 2, ""},
      {{"--strict", clean.path()}, 2, ""},
      {{clean.path(), clean.path()}, 2, ""},
      {{clean.path() + "/none"}, 2, ""},
      {{clean.File("タイトル.txt")}, 2, ""},  // a file, as the reader takes it
  };
  for (const auto& c : cases) {
    const CheckRun run = Check(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments.size();
    EXPECT_EQ(run.out, c.out);
  }
}

// A CD track whose file is there but cannot be read says why, not that it has none.
TEST(CheckCommand, ATrackFileThatCannotBeReadIsToldWhy) {
  Novel novel;
  novel.Write("タイトル.txt", "C\nCD 03 0000\n一\nE\n");
  ASSERT_EQ(mkfifo(novel.File("track03.ogg").c_str(), 0600), 0);
  const CheckRun run = Check({novel.path()});
  EXPECT_NE(run.out.find("CD track 3: the file \"track03.ogg\" is not a regular file"),
            std::string::npos)
      << run.out;
}

}  // namespace
