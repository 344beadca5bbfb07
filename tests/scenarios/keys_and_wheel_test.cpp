// Keys, the wheel and the pad: what advances does in every mode what a left click at the
// pointer does; choices by keyboard go the pointer's way, a digit to the choice drawn with
// it; Ctrl held skips what was read, Ctrl+Shift everything; F11, Alt+Return, Alt+digit
// and Escape reach the menu's paths, which open at the pointer; each pad button does what
// its key does; - + and M set the volume, kept in the settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "app/headless_runner.h"
#include "support/novel.h"

namespace {

namespace fs = std::filesystem;

// The first page shows "<", a click draws 一, the next one reaches the choices.
const std::string SCRIPT = "C\n<\n一\nSET\n0\"海\"\n1\"山\"\n>\n<\n二\nE\n";
const std::string TO_CHOICES = "wait 100\nclick 10 10\nwait 100\nclick 10 10\nwait 100\n";

struct ModeCase {
  const char* mode;
  std::string before;  // ends with the pointer at (10, 112), over choice 0 while choosing
};

const ModeCase MODES[] = {
    {"ready", "wait 100\n"},
    {"cooldown", "wait 100\nclick 10 112\n"},
    {"choosing", TO_CHOICES},
    {"finished", TO_CHOICES + "move 10 112\nclick 10 112\nwait 200\nclick 1 1\nwait 100\n" +
                     "click 1 1\nwait 100\n"},
};

std::string Log(const std::string& events) { return RunScript(SCRIPT, events).log; }

TEST(KeysAndWheel, AdvanceAsAClickAtThePointerInEveryMode) {
  const char* const inputs[] = {"key Return",   "key Keypad Enter", "key Space",
                                "key PageDown", "key Down",         "wheel 1"};
  for (const ModeCase& mode : MODES) {
    const std::string before = mode.before + "move 10 112\n";
    const std::string after = "\nwait 120\nstate\n";
    const std::string clicked = Log(before + "click 10 112" + after);
    for (const char* input : inputs) {
      // While choosing, the down arrow moves the highlight instead.
      if (std::string(mode.mode) == "choosing" && std::string(input) == "key Down") continue;
      EXPECT_EQ(Log(before + input + after), clicked) << mode.mode << ": " << input;
    }
  }
}

TEST(KeysAndWheel, ArrowsMoveTheHighlightAsThePointerDoes) {
  EXPECT_EQ(Log(TO_CHOICES + "key Down\nstate\n"), Log(TO_CHOICES + "move 10 112\nstate\n"));
  const ReaderRun run = RunScript(
      SCRIPT, TO_CHOICES + "key Up\nstate\nkey Down\nstate\nkey Up\nstate\nkey Up\nstate\n");
  // From no highlight up to the last choice drawn; the ends hold.
  EXPECT_EQ(run.Values("HoverChoice"), (std::vector<std::string>{"1", "1", "0", "0"}));
}

TEST(KeysAndWheel, ReturnAndDigitsTakeAChoiceAsAClickOnIt) {
  const std::string after = "\nwait 200\nstate\n";
  const std::string to_second = "move 10 156\nclick 10 156";
  EXPECT_EQ(Log(TO_CHOICES + "key 1" + after), Log(TO_CHOICES + to_second + after));
  EXPECT_EQ(Log(TO_CHOICES + "key Down\nkey Down\nkey Return" + after),
            Log(TO_CHOICES + "move 10 112\n" + to_second + after));
  // Choices 0, 1 and 3: the list is drawn up to the gap, and 3, not drawn, is no key's.
  // Choice 1 leads back to line 0, choice 0 on to the next block.
  const std::string gap = "C\n<\n一\nSET\n0\"海\"\n1\"山\"\n3\"空\"\n1\n>\n<\n二\nE\n";
  EXPECT_EQ(RunScript(gap, TO_CHOICES + "key 3" + after).State("Mode"), "ModeChoosing");
  const ReaderRun second = RunScript(gap, TO_CHOICES + "key Keypad 1" + after);
  EXPECT_EQ(second.log, RunScript(gap, TO_CHOICES + to_second + after).log);
  EXPECT_EQ(second.State("ChoiceBlockIndex") +
                RunScript(gap, TO_CHOICES + "key 0" + after).State("ChoiceBlockIndex"),
            "01");
}

TEST(KeysAndWheel, CtrlShiftHeldSkipsUntilReleasedAndCtrlCSkipsNothing) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\n三\n四\n五\n六\n七\n八\nE\n");
  // The second press is the held key's repeat; Shift may go down after Ctrl.
  const ReaderRun held = RunNovel(novel,
                                  "wait 100\nkeydown Ctrl\nkeydown Shift\nwait 200\nkeydown Ctrl\n"
                                  "wait 200\nstate\nkeyup Ctrl\nwait 200\nstate\n");
  EXPECT_EQ(held.Count("skip stop unread"), 0);
  EXPECT_EQ(held.TimedRecords("timer set 303"),
            (std::vector<std::string>{"@400 timer set 303 50"}));
  EXPECT_EQ(held.TimedRecords("timer kill 303"), (std::vector<std::string>{"@500 timer kill 303"}));
  EXPECT_EQ(held.Values("SkipMode"), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(held.Values("CurrentLine"), (std::vector<std::string>{"4", "4"}));
  const ReaderRun copied = RunNovel(novel, "wait 100\nkey Ctrl+C\nwait 400\nstate\n");
  EXPECT_EQ(copied.Count("timer set 303 50"), 0);
  EXPECT_EQ(copied.Records("clipboard"), (std::vector<std::string>{"clipboard 一"}));
}

// Alt with a digit sizes the window out of full screen; it never takes a choice.
TEST(KeysAndWheel, F11AndAltReturnToggleFullScreenEscapeOpensTheMenu) {
  const std::string by_menu = Log("command 400\nstate\n");
  EXPECT_NE(by_menu.find("IsFullScreen=1"), std::string::npos);
  EXPECT_EQ(Log("key F11\nstate\n"), by_menu);
  EXPECT_EQ(Log("key Alt+Return\nstate\n"), by_menu);
  const std::string scaled = Log("key F11\nkey Alt+2\nkey Alt+4\nstate\n");
  EXPECT_NE(scaled.find("window scale 2\n"), std::string::npos);
  EXPECT_EQ(scaled.find("window scale 4"), std::string::npos);
  EXPECT_NE(scaled.find("IsFullScreen=0"), std::string::npos);
  EXPECT_EQ(Log("key Escape\npick none\nstate\n"), Log("key Menu\npick none\nstate\n"));
}

// Each button against its key, on the page and over the choices (a menu that opens is
// closed unpicked, a shoulder is held and let go).
TEST(KeysAndWheel, EachPadButtonDoesWhatItsKeyDoes) {
  const std::pair<std::string, std::string> PAD_KEYS[] = {
      {"pad a", "key Return"},
      {"pad b\npick none", "key Escape\npick none"},
      {"pad x", "key A"},
      {"pad start\npick none", "key Menu\npick none"},
      {"pad y", "key Backspace"},
      {"pad dpup", "key Up"},
      {"pad dpdown", "key Down"},
      {"pad dpleft", "key PageUp"},
      {"pad dpright", "key PageDown"},
      {"paddown leftshoulder\nwait 100\npadup leftshoulder", "keydown H\nwait 100\nkeyup H"},
      {"paddown rightshoulder\nwait 400\npadup rightshoulder",
       "keydown Ctrl\nwait 400\nkeyup Ctrl"}};
  for (const std::string& before : {MODES[0].before, TO_CHOICES}) {
    for (const auto& [pad, key] : PAD_KEYS) {
      const std::string after = "\nwait 150\nstate\n";
      EXPECT_EQ(Log(before + pad + after), Log(before + key + after)) << pad;
    }
  }
}

TEST(KeysAndWheel, MinusPlusAndMSetTheVolumeWhichTheSettingsKeep) {
  const std::string settings = std::string(getenv("XDG_CONFIG_HOME")) + "/yomu/settings.conf";
  fs::create_directories(fs::path(settings).parent_path());
  std::ofstream(settings) << "# mine\nwindow = 2\n";
  const ReaderRun run = RunScript(SCRIPT, "key -\nkey Keypad -\nkey M\nkey M\nkey =\n");
  using Strings = std::vector<std::string>;
  EXPECT_EQ(run.Records("volume"),
            (Strings{"volume 90", "volume 80", "volume 0", "volume 80", "volume 90"}));
  EXPECT_EQ(ReadBytes(settings), "# mine\nwindow = 2\nvolume = 90\nmuted = no\n");
  const Bitmap shown = Screenshot(SCRIPT, "key M\n");
  EXPECT_GT(CountPixels(shown, {480, 460, 600, 480}, 0x00FF00), 20);
  // Muted at 90 by the run before: a step sounds again from there.
  EXPECT_EQ(RunScript(SCRIPT, "key -\nkey Keypad +\n").Records("volume"),
            (Strings{"volume 80", "volume 90"}));
  // A settings file that its owner made read-only stays as it is, with one line; one
  // that is a link keeps its link, and its target, the user's own, takes the change.
  fs::permissions(settings, fs::perms::owner_read);
  const ReaderRun kept = RunScript(SCRIPT, "key -\nkey -\n");
  EXPECT_EQ(ReadBytes(settings), "# mine\nwindow = 2\nvolume = 90\nmuted = no\n");
  EXPECT_EQ(kept.Records("warning"),
            Strings{"warning the settings are not kept: " + settings + " is read-only"});
  fs::permissions(settings, fs::perms::owner_read | fs::perms::owner_write);
  fs::rename(settings, settings + ".mine");
  fs::create_symlink(settings + ".mine", settings);
  RunScript(SCRIPT, "key -\n");
  EXPECT_TRUE(fs::is_symlink(settings));
  EXPECT_EQ(ReadBytes(settings + ".mine"), "# mine\nwindow = 2\nvolume = 80\nmuted = no\n");
  EXPECT_EQ(CountPixels(Screenshot(SCRIPT, "key M\nwait 1600\n"), {0, 0, 640, 480}, 0x00FF00), 0);
}

// The sample novel's reading, each click turned into a move and the input given
// ("click" clicks where it moved).
std::string ReadSampleNovel(const std::string& input) {
  std::ifstream in(YOMU_DEMO_EVENTS);
  std::string events;
  const std::regex click("click (\\S+) (\\S+)");
  std::smatch at;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("screenshot", 0) == 0) continue;
    if (std::regex_match(line, at, click)) {
      const std::string position = at[1].str() + " " + at[2].str();
      line = "move " + position + "\n" + (input == "click" ? "click " + position : input);
    }
    events += line + "\n";
  }
  HeadlessOptions options;
  options.novel = YOMU_DEMO_DIR;
  const ReaderRun run = RunHeadlessWith(options, events);
  EXPECT_EQ(run.exit_code, 0) << run.errors;
  return run.log;
}

TEST(KeysAndWheel, TheSampleNovelReadsTheSameByReturnByWheelAndByMouse) {
  const std::string by_mouse = ReadSampleNovel("click");
  EXPECT_GT(by_mouse.size(), 10000u);
  EXPECT_EQ(ReadSampleNovel("key Return"), by_mouse);
  EXPECT_EQ(ReadSampleNovel("wheel 1"), by_mouse);
}

}  // namespace
