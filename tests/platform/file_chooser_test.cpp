// The desktop's chooser: the file chooser portal on a session bus of the test's own with
// a portal of its own (on Debian's Python, which has python3-dbus), zenity when no
// portal answers, and nothing when neither is there.
#include "platform/desktop/file_chooser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/child_process.h"
#include "support/novel.h"
#include "support/shell.h"

namespace {

const ChooserRequest REQUEST{"Choose a novel",
                             "Novels",
                             {"*.txt", "*.zip"},
                             {{"一つ目", "/srv/novels/one.zip"}, {"/srv/two", "/srv/two"}},
                             "Other"};

class FileChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("dbus-daemon") || RunShell("/usr/bin/python3 -c 'import dbus, gi'").status != 0) {
      FAIL() << "no session bus can be started here (dbus-daemon, python3-dbus missing)";
    }
    const std::string address =
        StartAndRead(bus_, {"dbus-daemon", "--session", "--nofork", "--print-address={fd}"});
    ASSERT_FALSE(address.empty());
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("PATH", path_.c_str(), 1);
  }

  // The portal, answering with answer ("cancel" or a URI); its calls, one JSON a line.
  std::string StartPortal(const std::string& answer) {
    portal_.reset();
    const std::string calls = folder_.File("calls-" + std::to_string(++portals_));
    portal_ = std::make_unique<Child>(std::vector<std::string>{
        "/usr/bin/python3", YOMU_TESTS_DIR "/support/portal_service.py", calls, answer});
    EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(calls + ".ready"); }, 10000));
    return calls;
  }

  // A zenity of the test's own, alone on PATH, that notes its arguments and runs body.
  void PutZenity(const std::string& body) {
    folder_.WriteBytes(
        "zenity", "#!/bin/sh\necho \"$@\" >>" + folder_.File("zenity.log") + "\n" + body + "\n");
    std::filesystem::permissions(folder_.File("zenity"), std::filesystem::perms::owner_all);
    setenv("PATH", folder_.path().c_str(), 1);
  }

  const std::string path_ = getenv("PATH");
  std::unique_ptr<Child> bus_;
  std::unique_ptr<Child> portal_;
  int portals_ = 0;
  Novel folder_;
};

TEST_F(FileChooser, ThePortalAnswersWithTheFileChosenOrTheCancel) {
  const std::string calls = StartPortal("file:///tmp/a%20b/%E3%83%8E.zip");
  const ChooserAnswer chosen = ChooseFile(REQUEST);
  EXPECT_EQ(chosen.kind, ChooserAnswer::Kind::Chosen);
  EXPECT_EQ(chosen.path, "/tmp/a b/ノ.zip");
  EXPECT_EQ(ReadBytes(calls),
            "{\"title\": \"Choose a novel\", \"filters\": [[\"Novels\", [\"*.txt\", \"*.zip\"]]], "
            "\"current_folder\": \"/srv/novels\"}\n");
  StartPortal("cancel");
  EXPECT_EQ(ChooseFile(REQUEST).kind, ChooserAnswer::Kind::Cancelled);
}

TEST_F(FileChooser, ZenityWhenNoPortalAnswersAndNothingWithoutEither) {
  // The recent novels first, by their labels, answered by number; the last entry asks
  // for a file, whose name is taken whole, line feeds in it too.
  PutZenity("[ \"$1\" = --list ] && echo 2 || printf '/srv/three/a\\nb.zip\\n'");
  const ChooserAnswer chosen = ChooseFile(REQUEST);
  EXPECT_EQ(chosen.kind, ChooserAnswer::Kind::Chosen);
  EXPECT_EQ(chosen.path, "/srv/three/a\nb.zip");
  EXPECT_EQ(ReadBytes(folder_.File("zenity.log")),
            "--list --title=Choose a novel --column= --column=Choose a novel --hide-column=1 "
            "--print-column=1 --hide-header 0 一つ目 1 /srv/two 2 Other\n"
            "--file-selection --title=Choose a novel --file-filter=Novels | *.txt *.zip "
            "--filename=/srv/novels/\n");
  PutZenity("echo 1");
  EXPECT_EQ(ChooseFile(REQUEST).path, "/srv/two");
  PutZenity("exit 1");
  EXPECT_EQ(ChooseFile(REQUEST).kind, ChooserAnswer::Kind::Cancelled);
  std::filesystem::remove(folder_.File("zenity"));
  EXPECT_EQ(ChooseFile(REQUEST).kind, ChooserAnswer::Kind::Unavailable);
}

}  // namespace
