// The headless runner's event language, clock and log.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

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

}  // namespace
