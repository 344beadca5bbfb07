// The command line as a user types it: option forms, help and version, the messages and
// exit statuses of what cannot be used, closed standard streams; the headless runner's
// event language and log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/novel.h"
#include "support/shell.h"

namespace {

TEST(CommandLine, OptionFormsMessagesAndExitStatuses) {
  Novel novel, dash_parent, empty;
  novel.Write("タイトル.txt", "C\n一\nE\n");
  novel.WriteBytes("events", "state\n");
  novel.WriteBytes("not-a-font.ttf", "plain text");
  dash_parent.Write("-novel/タイトル.txt", "C\n一\nE\n");
  const std::string yomu = std::string(YOMU_BINARY) + " ";
  const struct {
    std::string arguments;
    int status;
    std::string output;  // a part of standard output and error
  } cases[] = {
      {"--version", 0, "yomu "},
      {"-V", 0, "yomu "},
      {"-h", 0, "Usage: yomu [OPTION]... [NOVEL]"},
      {"--frobnicate", 2, "yomu: unknown option --frobnicate\nTry 'yomu --help'."},
      {"--scale", 2, "yomu: --scale needs a value"},
      {"--scale=17 .", 2, "--scale takes a whole number from 1 to 16"},
      {"--text-feed=6677 .", 2, "--text-feed takes ADDRESS:PORT, such as 127.0.0.1:6677"},
      {"--text-feed=example.org:80 .", 2, "--text-feed takes ADDRESS:PORT"},
      {"--headless /nonexistent-novel-dir", 2, "no such novel folder or archive"},
      {"--headless " + novel.File("events"), 2,
       "yomu: " + novel.File("events") + " is neither a novel folder nor an archive"},
      {"--font=" + novel.File("not-a-font.ttf") + " " + novel.path(), 2,
       novel.File("not-a-font.ttf") + " is not a font file that FreeType can open"},
      {"--headless --text-out=/nonexistent/t.txt " + novel.path() + " </dev/null", 2,
       "yomu: cannot write the text output /nonexistent/t.txt"},
      {"--headless --events=" + novel.File("events") + " " + novel.path(), 0,
       "@0 state PageNumber=1"},
      {"--headless --events " + novel.File("events") + " " + novel.path(), 0,
       "@0 state PageNumber=1"},
      {"--headless --events=" + novel.File("events") + " -- -novel", 0, "@0 state PageNumber=1"},
      {"--headless " + novel.path() + " <" + novel.File("events"), 0, "@0 state PageNumber=1"},
      {"--headless " + empty.path() + " </dev/null", 0,
       "yomu: script \"タイトル.txt\" not found in " + empty.path() + "\n"},
  };
  for (const auto& c : cases) {
    const ShellResult result =
        RunShell("cd " + dash_parent.path() + " && " + yomu + c.arguments + " 2>&1");
    EXPECT_EQ(result.status, c.status) << c.arguments;
    EXPECT_NE(result.output.find(c.output), std::string::npos) << c.arguments << "\n"
                                                               << result.output;
  }
  // A Japanese desktop gets Japanese help and errors; the runner's output stays as it is.
  const std::string japanese = "LANGUAGE=ja LANG=C.UTF-8 " + yomu;
  EXPECT_NE(RunShell(japanese + "--help").output.find("使い方: yomu"), std::string::npos);
  EXPECT_EQ(RunShell(japanese + "--scale=0 2>&1").output,
            "yomu: --scale には 1 から 16 までの整数を指定します\n"
            "'yomu --help' で使い方を表示します。\n");
  EXPECT_NE(RunShell(japanese + "--headless " + empty.path() + " </dev/null 2>&1")
                .output.find("yomu: script \"タイトル.txt\" not found in "),
            std::string::npos);
  // --last opens the novel opened last in the window.
  const std::string state = std::string(getenv("XDG_STATE_HOME")) + "/yomu";
  EXPECT_EQ(RunShell(yomu + "--last 2>&1").output,
            "yomu: --last: no novel was opened before\nTry 'yomu --help'.\n");
  std::filesystem::create_directories(state);
  std::ofstream(state + "/recent-novels") << novel.path() << "\n/elsewhere\n";
  EXPECT_NE(RunShell(yomu + "--headless --fullscreen --last <" + novel.File("events"))
                .output.find("@0 state IsFullScreen=1"),
            std::string::npos);
  // Launchers may start it with standard output and error closed: a file that it opens
  // must not take their places, or the log and warnings would go into it.
  RunShell(yomu + "--headless --text-out=" + novel.File("out.txt") + " " + novel.path() +
           " </dev/null >&- 2>&-");
  EXPECT_EQ(ReadBytes(novel.File("out.txt")), "一\n");
}

TEST(HeadlessRunner, StartUpRecordsCaptionFirstPageAndTeardown) {
  const ReaderRun run = RunScript("C\n一\nE\n", "");
  const std::vector<std::string> lines = run.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "@0 caption ミオラント");
  EXPECT_EQ(run.Count("present"), 2);  // the first step's stop, then the first paint
  EXPECT_EQ(lines.back(), "@0 quit 0");
  EXPECT_EQ(run.exit_code, 0);
}

TEST(HeadlessRunner, UnknownEventsStopTheRunWithTheirLine) {
  Novel novel;
  ReaderRun run = RunNovel(novel, "# a comment\n\nclick 1 2\nhop 3\n");
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.errors.find("line 4"), std::string::npos);
  EXPECT_TRUE(run.log.empty());
  // A pick of an item that the open menu does not hold is an error of the list too.
  // So is waiting for the clients of a text feed that the run does not have.
  for (const char* event : {"click 1\n", "wait -5\n", "key NoSuchKey\n", "rclick 5 5\npick 502\n",
                            "feed clients 9\n", "feed clients 1\n"})
    EXPECT_EQ(RunNovel(novel, event).exit_code, 2) << event;
}

}  // namespace
