// The real window under a virtual X server: clicks, the menu by pointer, a restart,
// Return, the wheel and a gamepad reach the reader, and the close ends the program
// cleanly; speech through a speech-dispatcher of the test's own, and a reader
// without one.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "app/context_menu.h"
#include "app/main_window.h"
#include "platform/files/open_novel.h"
#include "platform/gdi/font.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/shift_jis.h"
#include "platform/window/menu_view.h"
#include "reader/reader_state.h"
#include "reader/texts.h"
#include "support/child_process.h"
#include "support/novel.h"
#include "support/shell.h"

namespace {

// The first line a command prints.
std::string Output(const std::string& command) {
  const std::string output = RunShell(command).output;
  return output.substr(0, output.find('\n'));
}

// Starts Xvfb on a display it chooses itself, so that tests running side by side
// never race for the same number; returns the display's name once it accepts
// clients, or "" when it did not start.
std::string StartServer(std::unique_ptr<Child>& server) {
  const std::string number = StartAndRead(
      server, {"Xvfb", "-displayfd", "{fd}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
  return number.empty() ? "" : ":" + number;
}

int WhitePixels(const Bitmap& shot, int top, int bottom) {
  return CountPixels(shot, {0, top, shot.width(), bottom}, 0xFFFFFF);
}

void RunCommand(const std::string& command) {
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

// A virtual X server for the test; make test installs it, so one missing is a failure.
class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xdotool") || !OnPath("import")) {
      FAIL() << "no X server can be started here (Xvfb, xdotool or ImageMagick missing)";
    }
    const std::string name = StartServer(server_);
    if (name.empty()) FAIL() << "Xvfb did not start";
    setenv("DISPLAY", name.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }

  // Starts the reader on the novel, its standard error into the novel's file
  // "errors", and waits for its window.
  std::string Open(std::unique_ptr<Child>& reader, const std::string& option = "") {
    std::vector<std::string> command{"sh", "-c", "exec \"$0\" \"$@\" 2>>" + novel_.File("errors"),
                                     YOMU_BINARY, "--scale", "1", novel_.path()};
    if (!option.empty()) command.insert(command.end() - 1, option);
    return Open(reader, command);
  }
  std::string Open(std::unique_ptr<Child>& reader, const std::vector<std::string>& command) {
    reader = std::make_unique<Child>(command);
    std::string window;
    WaitFor(
        [&] {
          window = Output("xdotool search --onlyvisible --pid " + std::to_string(reader->pid()) +
                          " 2>/dev/null | head -1");
          return !window.empty();
        },
        10000);
    return window;
  }

  // Waits until the window shows what ready asks for.
  bool Shows(const std::string& window, const std::function<bool(const Bitmap&)>& ready,
             int deadline_ms = 5000) {
    const std::string shot = novel_.File("shot.png");
    return WaitFor(
        [&] {
          const std::string grab = "import -window " + window + " " + shot + " 2>/dev/null";
          return std::system(grab.c_str()) == 0 && ready(ReadPng(shot));
        },
        deadline_ms);
  }

  // Sends input until the window's pixels change: input that the reader's short
  // cooldown after a step swallowed is sent again, once nothing came of it.
  bool Changes(const std::string& window, const std::string& input) {
    Bitmap before(1, 1);
    Shows(window, [&before](const Bitmap& shot) { return (before = shot).width() > 1; });
    const auto changed = [&before](const Bitmap& shot) {
      return shot.width() != before.width() || shot.height() != before.height() ||
             std::memcmp(shot.row(0), before.row(0), std::size_t{4} * shot.width() *
                                                          shot.height()) != 0;
    };
    for (int attempt = 0; attempt < 4; ++attempt) {
      RunCommand(input);
      if (Shows(window, changed, 2000)) return true;
    }
    return false;
  }

  // The pointer over the window: the keyboard follows it on a screen without a
  // window manager, once the X server has it there.
  void PointAt(const std::string& window, int x, int y) {
    RunCommand("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
               std::to_string(y));
    EXPECT_TRUE(WaitFor(
        [&] {
          return RunShell("xdotool getmouselocation --shell").output.find("WINDOW=" + window) !=
                 std::string::npos;
        },
        3000));
  }

  void PickWithThePointer(const std::string& window, int x, int y, const std::vector<int>& path);

  std::unique_ptr<Child> server_;
  Novel novel_;
};

// Moves the pointer through the menu as a reader would: onto "しおり", onto the
// submenu's item, onto the slot, and clicks it, each move once the last one shows.
void RealWindow::PickWithThePointer(const std::string& window, int x, int y,
                                    const std::vector<int>& path) {
  ReaderState defaults;
  for (char* label : defaults.BookmarkLabels) std::strcpy(label, "NO DATA");
  ContextMenu menu = BuildContextMenu(defaults);
  ShiftJis shift_jis;
  FontEngine fonts(shift_jis);
  const std::unique_ptr<Font> font = fonts.Create(MENU_TEXT_HEIGHT, 400);
  MenuView view(*menu.root, x, y, font.get(), 640, 480);
  const auto move = [&window](int to_x, int to_y) {
    return "xdotool mousemove --window " + window + " " + std::to_string(to_x) + " " +
           std::to_string(to_y);
  };
  ASSERT_TRUE(Changes(window, move(x, y) + " click 3"));
  for (std::size_t level = 0; level < path.size(); ++level) {
    const MenuView::Level& open = view.levels()[level];
    const RECT box = open.box;
    int top = box.top + 3;
    for (int k = 0; k < path[level]; ++k) {
      top += open.menu->items[k].kind == MenuItem::Kind::Separator ? 9 : 20;
    }
    const int px = box.left + 20, py = top + 10;
    view.PointerMoved(px, py);
    ASSERT_TRUE(Changes(window, move(px, py)));  // the item under the pointer lights up
  }
  RunCommand("xdotool click 1");
}

TEST_F(RealWindow, ABookmarkSavedWithThePointerOpensAfterARestart) {
  novel_.Write(
      "タイトル.txt",
      "C\n一ページ目の段落。\nC\n二ページ目の最初の段落。\n二ページ目の次の段落。\n三\nE\n");
  std::unique_ptr<Child> reader;
  std::string window = Open(reader);
  ASSERT_FALSE(window.empty());
  EXPECT_EQ(Output("xdotool getwindowname " + window), "ミオラント");
  // Old tools read the legacy name, which holds the caption in a type they know.
  EXPECT_EQ(Output("xprop -id " + window + " WM_NAME").rfind("WM_NAME(COMPOUND_TEXT) = ", 0), 0u);
  // Clicks through the X server draw the next paragraphs.
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) {
    return WhitePixels(shot, 10, 34) > 50 && WhitePixels(shot, 34, 58) == 0;
  }));
  for (int click = 0; click < 2; ++click) {
    ASSERT_TRUE(Changes(window, "xdotool mousemove --window " + window + " 320 240 click 1"));
  }
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 34, 58) > 50; }));
  PickWithThePointer(window, 100, 100, {1, 0, 0});  // しおり, 保存, the first slot
  ASSERT_TRUE(WaitFor([&] { return std::ifstream(novel_.File("しおり.sio")).good(); }, 5000));
  EXPECT_EQ(reader->Stop(), 0);

  window = Open(reader);
  ASSERT_FALSE(window.empty());
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 10, 34) > 50; }));
  PickWithThePointer(window, 100, 100, {1, 1, 0});  // しおり, 開く, the first slot
  // Page 2 from its first paragraph: one row of text, the second row empty.
  EXPECT_TRUE(Shows(window, [](const Bitmap& shot) {
    return WhitePixels(shot, 10, 34) > 50 && WhitePixels(shot, 34, 58) == 0 &&
           WhitePixels(shot, 440, 460) > 10;
  }));
  EXPECT_EQ(reader->Stop(), 0);
}

TEST_F(RealWindow, ReturnAdvancesAndTheWheelOpensTheBacklog) {
  novel_.Write("タイトル.txt", "C\n一つ目の段落。\n二つ目の段落。\nE\n");
  std::unique_ptr<Child> reader;
  const std::string window = Open(reader);
  ASSERT_FALSE(window.empty());
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 10, 34) > 50; }));
  // A size that the window system forces on the window, and takes back, leaves the
  // page shown: the surface that held it is gone, and the page is painted anew.
  RunCommand("xdotool windowsize " + window + " 500 400 sleep 0.3 windowsize " + window +
             " 640 480 sleep 0.3");
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) {
    return shot.width() == 640 && WhitePixels(shot, 10, 34) > 50;
  }));
  PointAt(window, 320, 240);
  ASSERT_TRUE(Changes(window, "xdotool key Return"));
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 34, 58) > 50; }));
  RunCommand("xdotool click 4");  // the wheel, one notch away from the reader
  // The page darkened, the two paragraphs at the bottom.
  EXPECT_TRUE(Shows(window, [](const Bitmap& shot) {
    return WhitePixels(shot, 10, 58) == 0 && WhitePixels(shot, 400, 470) > 100;
  }));
  EXPECT_EQ(reader->Stop(), 0);
}

// A quit (SIGTERM, as logout and timeout send) ends the reader as its exit does while
// a menu or a message box waits over the page.
TEST_F(RealWindow, AQuitEndsTheReaderWhileAMenuOrAMessageWaits) {
  const auto face = [](const Bitmap& shot) {
    return CountPixels(shot, {0, 0, 640, 480}, 0xC0C0C0) > 500;
  };
  for (int round = 0; round < 3; ++round) {
    novel_.Write("タイトル.txt", "C\n一つ目の段落。\nE\n");
    std::unique_ptr<Child> reader;
    std::string window = Open(reader);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 10, 34) > 50; }));
    RunCommand("xdotool mousemove --window " + window + " 100 100 click 3");
    ASSERT_TRUE(Shows(window, face));
    EXPECT_EQ(reader->Stop(), 0) << "with the menu open";
    // Without its first script the novel opens with a message box.
    std::filesystem::remove(novel_.File("タイトル.txt"));
    window = Open(reader);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(Shows(window, face));
    EXPECT_EQ(reader->Stop(), 0) << "with the message open";
  }
  // An archive's pass, started before the window and still unpacking (a second solid
  // block, a second long to unpack), takes no quit meant for the reader.
  novel_.Write("タイトル.txt", "C\n一つ目の段落。\nE\n");
  RunCommand("cd " + novel_.path() + " && seq 1 3000000 > noise.txt && 7z a -bd -m0=PPMd n.7z " +
             "タイトル.txt >/dev/null && 7z a -bd -m0=PPMd n.7z noise.txt >/dev/null");
  std::unique_ptr<Child> reader;
  const std::string window = Open(reader, {YOMU_BINARY, "--scale", "1", novel_.File("n.7z")});
  ASSERT_FALSE(window.empty());
  EXPECT_EQ(reader->Stop(), 0) << "with an archive's pass under way";
}

// speech-dispatcher for the test alone, in the novel's folder: its own runtime folder,
// and a configuration whose one voice, under the module name given, writes what it is
// asked to say into "said". A paragraph takes long to say, so only the next utterance
// ends it; a choice ("0 海") is said at once. libspeechd is never let start the
// system's service.
class PrivateSpeechService {
 public:
  explicit PrivateSpeechService(const Novel& folder, const std::string& module = "recorder")
      : said_(folder.File("said")) {
    EXPECT_TRUE(OnPath("speech-dispatcher")) << "make test installs speech-dispatcher";
    folder.Write("speech/say", "printf 'said %s\\n' \"$1\" >>" + said_ + R"(
case "$1" in [0-9]\ *) ;; *) sleep 30 ;; esac
echo done >>)" + said_ + "\n");
    folder.Write("speech/modules/recorder.conf",
                 "GenericExecuteSynth \"sh " + folder.File("speech/say") + R"( \'$DATA\'"
GenericLanguage "ja" "ja" "utf-8"
AddVoice "ja" "MALE1" "ja"
)");
    folder.Write("speech/speechd.conf", "LogDir \"" + folder.File("speech") + R"("
AudioOutputMethod "libao"
AddModule ")" + module + R"(" "sd_generic" "recorder.conf"
DefaultModule )" + module + "\n");
    std::filesystem::create_directory(folder.File("run"));
    setenv("XDG_RUNTIME_DIR", folder.File("run").c_str(), 1);
    setenv("SPEECHD_CMD", "/bin/false", 1);
    setenv("LANG", "C.UTF-8", 1);
    service_ = std::make_unique<Child>(std::vector<std::string>{
        "speech-dispatcher", "--run-single", "--config-dir", folder.File("speech"), "--timeout",
        "60"});
    const std::string socket = folder.File("run/speech-dispatcher/speechd.sock");
    listening_ = WaitFor([&] { return std::filesystem::exists(socket); }, 10000);
  }
  bool listening() const { return listening_; }
  pid_t pid() const { return service_->pid(); }
  // Waits until what was said ends with text; gives all that was said.
  std::string SaidWhen(const std::string& text) const {
    WaitFor([&] { return ReadBytes(said_).ends_with(text); }, 10000);
    return ReadBytes(said_);
  }

 private:
  std::string said_;
  std::unique_ptr<Child> service_;
  bool listening_ = false;
};

TEST_F(RealWindow, SpeechSaysEachParagraphCutsItShortAndReadsTheChoicesInTurn) {
  const PrivateSpeechService speech(novel_);
  ASSERT_TRUE(speech.listening());
  novel_.Write("タイトル.txt", "C\n一つ目。\n二つ目。\nSET\n0\"海\"\n1\"山\"\n>\n");
  std::unique_ptr<Child> reader;
  const std::string window = Open(reader, "--speak");
  ASSERT_FALSE(window.empty());
  speech.SaidWhen("said 一つ目。\n");
  RunCommand("xdotool mousemove --window " + window + " 320 240 key Return");
  speech.SaidWhen("said 二つ目。\n");
  // Speech can come sooner than the page's cooldown ends, which would swallow the key.
  ASSERT_TRUE(Changes(window, "xdotool key Return"));
  speech.SaidWhen("said 1 山\ndone\n");
  RunCommand("xdotool key Down");
  // Each paragraph is cut short by what follows it; the choices are said whole, in order.
  EXPECT_EQ(speech.SaidWhen("said 0 海\ndone\nsaid 1 山\ndone\nsaid 0 海\ndone\n"),
            "said 一つ目。\nsaid 二つ目。\nsaid 0 海\ndone\nsaid 1 山\ndone\nsaid 0 海\ndone\n");
  EXPECT_EQ(reader->Stop(), 0);
}

// eSpeak NG's Japanese voice reads kana and names each kanji: it is given the paragraph
// as MeCab pronounces it. The service killed, the reader reads on without speech and
// says why once; the service stopped, the reader's end waits for it no longer than a
// moment.
TEST_F(RealWindow, SpeechGivesAKanaVoiceKanaAndNoServiceHoldsTheReader) {
  const ShellResult mecab = RunShell("echo 灯台の明かり。 | mecab -F'%f[8]' -U'%m' -E'\\n'");
  ASSERT_EQ(mecab.status, 0) << "make test installs mecab and its dictionary";
  novel_.Write("タイトル.txt", "C\n灯台の明かり。\n二つ目の段落。\n三つ目の段落。\nE\n");
  {
    const PrivateSpeechService speech(novel_, "espeak-ng");
    ASSERT_TRUE(speech.listening());
    std::unique_ptr<Child> reader;
    const std::string window = Open(reader, "--speak");
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(speech.SaidWhen("said " + mecab.output), "said " + mecab.output);
    kill(speech.pid(), SIGKILL);
    RunCommand("xdotool mousemove --window " + window + " 320 240 key Return");
    ASSERT_TRUE(WaitFor([&] { return ReadBytes(novel_.File("errors")).find("no speech") !=
                                     std::string::npos; }, 10000));
    EXPECT_EQ(reader->Stop(), 0) << "with the service gone";
  }
  const PrivateSpeechService speech(novel_);
  std::unique_ptr<Child> reader;
  const std::string window = Open(reader, "--speak");
  ASSERT_FALSE(window.empty());
  speech.SaidWhen("said 灯台の明かり。\n");
  kill(speech.pid(), SIGSTOP);
  RunCommand("xdotool mousemove --window " + window + " 320 240 key Return");
  EXPECT_EQ(reader->Stop(), 0) << "with the service stopped";
  kill(speech.pid(), SIGKILL);
  const std::string errors = ReadBytes(novel_.File("errors"));
  EXPECT_NE(errors.find("no speech: speech-dispatcher went away"), std::string::npos) << errors;
}

TEST_F(RealWindow, WithoutTheSpeechServiceTheReaderSaysSoOnceAndReadsOn) {
  std::filesystem::create_directory(novel_.File("run"));
  setenv("XDG_RUNTIME_DIR", novel_.File("run").c_str(), 1);
  setenv("SPEECHD_CMD", "/bin/false", 1);
  novel_.Write("タイトル.txt", "C\n一つ目の段落。\n二つ目の段落。\nE\n");
  std::unique_ptr<Child> reader;
  const std::string window = Open(reader, "--speak");
  ASSERT_FALSE(window.empty());
  const auto told = [&] {
    return ReadBytes(novel_.File("errors")).find("no speech") != std::string::npos;
  };
  ASSERT_TRUE(WaitFor(told, 10000));
  // The window says why in a message, once: a second V meets the same reason silently.
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) {
    return CountPixels(shot, {0, 0, 640, 480}, 0xC0C0C0) > 500;
  }));
  RunCommand("xdotool mousemove --window " + window + " 320 240 key Return");
  RunCommand("xdotool key V key V key Return");
  EXPECT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 34, 58) > 50; }));
  EXPECT_EQ(reader->Stop(), 0);
  const std::string errors = ReadBytes(novel_.File("errors"));
  EXPECT_EQ(errors.find("yomu: no speech: "), 0u) << errors;
  EXPECT_EQ(errors.find("yomu:", 1), std::string::npos) << errors;
}

// The window takes no typed text: it starts without the compose sequences of the
// desktop, and leaves their variable as it found it for the programs that it runs.
TEST_F(RealWindow, TheDesktopsComposeTableIsLeftToTheProgramsTheReaderRuns) {
  for (const char* own : {"/etc/own-compose", static_cast<const char*>(nullptr)}) {
    if (own) setenv("XCOMPOSEFILE", own, 1);
    const auto backend = SdlBackend::Create(1);
    ASSERT_TRUE(backend) << backend.error();
    EXPECT_FALSE(SDL_IsTextInputActive());
    EXPECT_EQ(getenv("XCOMPOSEFILE") ? std::string(getenv("XCOMPOSEFILE")) : "", own ? own : "");
    unsetenv("XCOMPOSEFILE");
  }
}

// A pad plugged into the reader's own process (SDL's virtual joystick), pressed as a
// reader would: A reads on, Start opens the menu where the d-pad and A save a bookmark,
// Y opens the backlog and B closes it, the left shoulder held shows the picture alone.
TEST_F(RealWindow, AGamepadReadsSavesAndOpensTheBacklog) {
  novel_.Write("タイトル.txt", "C\n一つ目の段落。\n二つ目の段落。\n三\nE\n");
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  auto created = SdlBackend::Create(1);
  ASSERT_TRUE(created) << created.error();
  std::unique_ptr<SdlBackend> backend = created.release_value();
  Platform platform(*backend, std::move(OpenNovel(novel_.path(), texts::FIRST_SCRIPT)->volume));
  Reader reader(platform);
  ASSERT_TRUE(StartReadingAids(reader, {}));
  std::thread pad([this] {
    const std::string window = Output("xdotool search --sync --onlyvisible --pid " +
                                      std::to_string(getpid()) + " 2>/dev/null | head -1");
    WaitFor([] { return SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0; }, 5000);
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    SDL_Joystick* joystick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&pad));
    // Pressed once the window's loop has opened the pad as it came.
    EXPECT_TRUE(WaitFor(
        [&] { return SDL_GameControllerFromInstanceID(SDL_JoystickInstanceID(joystick)); }, 5000));
    const auto press = [joystick](std::initializer_list<SDL_GameControllerButton> buttons) {
      for (const SDL_GameControllerButton button : buttons) {
        // Each state once the window's loop has taken it in, so that none is passed over.
        for (const Uint8 state : {1, 0}) {
          SDL_JoystickSetVirtualButton(joystick, button, state);
          EXPECT_TRUE(
              WaitFor([&] { return SDL_JoystickGetButton(joystick, button) == state; }, 3000));
        }
      }
    };
    press({SDL_CONTROLLER_BUTTON_A});
    EXPECT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 34, 58) > 50; }));
    press({SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
           SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_A,
           SDL_CONTROLLER_BUTTON_A});  // しおり, 保存, the first slot
    EXPECT_TRUE(WaitFor([&] { return std::ifstream(novel_.File("しおり.sio")).good(); }, 5000));
    press({SDL_CONTROLLER_BUTTON_Y});
    EXPECT_TRUE(Shows(window, [](const Bitmap& shot) {
      return WhitePixels(shot, 10, 58) == 0 && WhitePixels(shot, 400, 470) > 100;
    }));
    press({SDL_CONTROLLER_BUTTON_B});
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 1);
    // The text goes; the page's label stays.
    EXPECT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 0, 440) == 0; }));
    press({SDL_CONTROLLER_BUTTON_LEFTSHOULDER});
    EXPECT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 34, 58) > 50; }));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  });
  EXPECT_EQ(WinMain(reader, 1), 0);
  pad.join();
}

// The window's place and size as the X server has them: "X,Y WxH".
std::string Geometry(const std::string& window) {
  return Output("xdotool getwindowgeometry " + window +
                " | awk '/Position/ {p = $2} /Geometry/ {g = $2} END {print p \" \" g}'");
}

// Left at a place, the window comes back there at its scale, and in full screen when it
// was left so, unless --window says otherwise; a place on no display is not taken.
TEST_F(RealWindow, TheWindowComesBackAsItWasLeft) {
  novel_.Write("タイトル.txt", "C\n一つ目の段落。\nE\n");
  const std::string settings = std::string(getenv("XDG_CONFIG_HOME")) + "/yomu/settings.conf";
  std::filesystem::create_directories(std::filesystem::path(settings).parent_path());
  std::ofstream(settings) << "scale = 1\nwindow-x = 100\nwindow-y = 50\n";
  const auto open = [&](std::unique_ptr<Child>& reader, const std::string& option) {
    const std::string window = Open(reader, {YOMU_BINARY, option, novel_.path()});
    EXPECT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 10, 34) > 50; }));
    return window;
  };
  std::unique_ptr<Child> reader;
  std::string window = open(reader, "--");
  EXPECT_EQ(Geometry(window), "100,50 640x480");
  RunCommand("xdotool windowmove " + window + " 200 120");
  EXPECT_TRUE(WaitFor([&] { return Geometry(window) == "200,120 640x480"; }, 3000));
  PointAt(window, 320, 240);
  RunCommand("xdotool key F11");
  EXPECT_TRUE(WaitFor([&] { return Geometry(window) == "0,0 1024x768"; }, 3000));
  EXPECT_EQ(reader->Stop(), 0);
  EXPECT_EQ(ReadBytes(settings), "scale = 1\nwindow-x = 200\nwindow-y = 120\nfull-screen = yes\n");
  window = open(reader, "--");
  EXPECT_TRUE(WaitFor([&] { return Geometry(window) == "0,0 1024x768"; }, 3000));
  EXPECT_EQ(reader->Stop(), 0);
  window = open(reader, "--window");
  EXPECT_EQ(Geometry(window), "200,120 640x480");
  EXPECT_EQ(reader->Stop(), 0);
  std::ofstream(settings) << "window-x = 5000\nwindow-y = 50\n";
  window = open(reader, "--");
  EXPECT_EQ(Geometry(window), "192,144 640x480");  // in the middle of 1024 x 768
  EXPECT_EQ(reader->Stop(), 0);
}

// Started as from the desktop's menu in a folder without a novel, with no portal on the
// bus: zenity asks for one, the novel chosen opens and comes first among those opened
// last.
TEST_F(RealWindow, WithoutANovelTheDesktopsChooserAsksForOne) {
  novel_.Write("タイトル.txt", "C\n一つ目の段落。\nE\n");
  Novel elsewhere;
  elsewhere.WriteBytes("zenity", "#!/bin/sh\necho '" + novel_.File("タイトル.txt") + "'\n");
  std::filesystem::permissions(elsewhere.File("zenity"), std::filesystem::perms::owner_all);
  const std::string path = getenv("PATH");
  setenv("PATH", (elsewhere.path() + ":" + path).c_str(), 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + elsewhere.File("no-bus")).c_str(), 1);
  std::unique_ptr<Child> reader;
  const std::string window = Open(
      reader, {"sh", "-c", "cd " + elsewhere.path() + " && exec " + YOMU_BINARY + " --scale 1"});
  setenv("PATH", path.c_str(), 1);
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  ASSERT_FALSE(window.empty());
  EXPECT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 10, 34) > 50; }));
  EXPECT_EQ(reader->Stop(), 0);
  const std::string recent =
      ReadBytes(std::string(getenv("XDG_STATE_HOME")) + "/yomu/recent-novels");
  EXPECT_EQ(recent.substr(0, recent.find('\t')), std::filesystem::canonical(novel_.path()));
}

// Where the desktop has no chooser (no portal, zenity or kdialog), the reader asks with
// its own list once the message of a folder without a novel is closed: the novels
// opened last by their titles; the first, picked with the keys, opens in a new start.
TEST_F(RealWindow, WithoutADesktopChooserTheOwnListOpensARecentNovelByItsTitle) {
  novel_.Write("タイトル.txt", "T 岬の家\nC\n一つ目の段落。\nE\n");
  Novel elsewhere;
  const std::string state = std::string(getenv("XDG_STATE_HOME")) + "/yomu";
  std::filesystem::create_directories(state);
  std::ofstream(state + "/recent-novels")
      << std::filesystem::canonical(novel_.path()).string() << "\t岬の家\n";
  std::unique_ptr<Child> reader;
  const std::string first =
      Open(reader, {"sh", "-c",
                    "cd " + elsewhere.path() + " && PATH=" + elsewhere.path() +
                        " DBUS_SESSION_BUS_ADDRESS=unix:path=" + elsewhere.File("no-bus") +
                        " exec " + YOMU_BINARY + " --scale 1"});
  ASSERT_FALSE(first.empty());
  ASSERT_TRUE(Shows(first, [](const Bitmap& shot) {
    return CountPixels(shot, {0, 0, 640, 480}, 0xC0C0C0) > 500;  // the message box
  }));
  RunCommand("xdotool mousemove --window " + first + " 100 100 key Return");
  // The list at the pointer: its one entry, grey, where the message box was wider.
  ASSERT_TRUE(Shows(first, [](const Bitmap& shot) {
    return CountPixels(shot, {100, 100, 190, 125}, 0xC0C0C0) > 500 &&
           CountPixels(shot, {0, 0, 640, 480}, 0xC0C0C0) < 3000;
  }));
  RunCommand("xdotool key Down key Return");
  // The new start's window, which may take the first one's number.
  std::string window;
  EXPECT_TRUE(WaitFor(
      [&] {
        window = Output("xdotool search --onlyvisible --pid " + std::to_string(reader->pid()) +
                        " 2>/dev/null | head -1");
        return !window.empty() && Output("xdotool getwindowname " + window) == "岬の家";
      },
      10000));
  EXPECT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 10, 34) > 50; }));
  EXPECT_EQ(reader->Stop(), 0);
}

// A Japanese desktop gets the line and the message box of a novel without its first
// script in Japanese.
TEST_F(RealWindow, AJapaneseDesktopGetsJapaneseMessages) {
  std::unique_ptr<Child> reader;
  const std::string window =
      Open(reader, {"sh", "-c",
                    "LANGUAGE=ja LANG=C.UTF-8 exec " + std::string(YOMU_BINARY) + " --scale 1 " +
                        novel_.path() + " 2>" + novel_.File("errors")});
  ASSERT_FALSE(window.empty());
  EXPECT_TRUE(Shows(window, [](const Bitmap& shot) {
    return CountPixels(shot, {0, 0, 640, 480}, 0xC0C0C0) > 500;
  }));
  EXPECT_EQ(reader->Stop(), 0);
  const std::string errors = ReadBytes(novel_.File("errors"));  // the sanitizers' report after it
  EXPECT_EQ(errors.substr(0, errors.find('\n')),
            "yomu: スクリプト \"タイトル.txt\" が " + novel_.path() + " にありません");
}

// Resized to another shape, the window shows the page at the largest 4:3 size in its
// middle, black beside it, and the pointer lights the choice under it there; Alt+1
// brings back the page's own size.
TEST_F(RealWindow, AResizedWindowFitsThePageAndTheChoicesUnderThePointer) {
  novel_.Write("タイトル.txt", "C\n<\nSET\n0\"海へ行く\"\n1\"山へ行く\"\n>\n海の段落\nE\n");
  std::unique_ptr<Child> reader;
  const std::string window = Open(reader);
  ASSERT_FALSE(window.empty());
  // The page's label first: the window takes clicks, and the first shows the list.
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 440, 460) > 10; }));
  RunCommand("xdotool mousemove --window " + window + " 320 400 click 1");
  ASSERT_TRUE(Shows(window, [](const Bitmap& shot) { return WhitePixels(shot, 100, 130) > 50; }));
  // Moved first, so that the whole window lies on the 1024 x 768 screen.
  RunCommand("xdotool windowmove " + window + " 0 0 windowsize " + window + " 1000 500");
  // The page is 666 x 500 from column 167; its pixel (10, 150), in the second choice's
  // first row, lies at (177, 156).
  RunCommand("xdotool mousemove --window " + window + " 177 156");
  EXPECT_TRUE(Shows(window, [](const Bitmap& shot) {
    return shot.width() == 1000 && CountPixels(shot, {0, 0, 166, 500}, 0, false) == 0 &&
           CountPixels(shot, {834, 0, 1000, 500}, 0, false) == 0 &&
           CountPixels(shot, {167, 150, 833, 196}, 0x00FF00) > 20 &&
           CountPixels(shot, {0, 0, 1000, 145}, 0x00FF00) == 0;
  }));
  RunCommand("xdotool key alt+1");
  EXPECT_TRUE(WaitFor([&] { return Geometry(window).ends_with(" 640x480"); }, 3000));
  EXPECT_EQ(reader->Stop(), 0);
}

}  // namespace
