// The headless runner's command line, event language and log.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "support/novel.h"

namespace {

struct Command {
  int status;
  std::string output;
};

Command Shell(const std::string& command) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(HeadlessRunner, StartUpRecordsCaptionFirstPageAndTeardown) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\nE\n");
  ReaderRun run = RunNovel(novel, "");
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
  EXPECT_EQ(RunNovel(novel, "click 1\n").exit_code, 2);
  EXPECT_EQ(RunNovel(novel, "wait -5\n").exit_code, 2);
  EXPECT_EQ(RunNovel(novel, "key NoSuchKey\n").exit_code, 2);
}

TEST(HeadlessRunner, TimeOnlyPassesInWaitsAndBlockingWork) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\nE\n");
  ReaderRun run = RunNovel(novel, "wait 250\nstate\nclick 1 1\nwait 30\nstate\n");
  EXPECT_EQ(run.TimedRecords("state Mode=")[0], "@250 state Mode=ModeReady");
  EXPECT_EQ(run.TimedRecords("state Mode=")[1], "@280 state Mode=ModeCooldown");
  EXPECT_EQ(run.TimedRecords("timer set 301")[0], "@250 timer set 301 50");
}

TEST(HeadlessRunner, CommandLineErrorsExitWithStatus2) {
  Command missing = Shell(std::string(YOMU_BINARY) + " --headless /nonexistent-novel-dir");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.output.find("no such directory"), std::string::npos);
  EXPECT_EQ(Shell(std::string(YOMU_BINARY) + " --frobnicate").status, 2);
  EXPECT_EQ(Shell(std::string(YOMU_BINARY) + " --help").status, 0);
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\nE\n");
  Command run =
      Shell("printf 'state\\n' | " + std::string(YOMU_BINARY) + " --headless " + novel.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("@0 state PageNumber=1"), std::string::npos);
}

}  // namespace
