// The command line, parsed with getopt_long: --opt=value and --opt value, -h, -V,
// and "--" before a folder whose name begins with a dash.
#include "app/command_line.h"

#include <getopt.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/files/recent_novels.h"
#include "platform/gdi/font.h"
#include "platform/shift_jis.h"
#include "platform/translation.h"

namespace {

constexpr char USAGE[] =
    N_("Usage: yomu [OPTION]... [NOVEL]\n"
       "       yomu check [--json] NOVEL\n"
       "Reads the sound novel NOVEL, starting with its script \"タイトル.txt\". NOVEL is a\n"
       "folder, or an archive (.zip, .lzh, .7z ...) read as it is, never unpacked beside it.\n"
       "Without NOVEL: the current directory when it holds that script, else the novel\n"
       "chosen with the desktop's file chooser, where the novels opened last come first.\n"
       "\n"
       "Options:\n"
       "      --font=FILE       draw text with this Mincho font (default: found by fontconfig,\n"
       "                        remembered in $XDG_CACHE_HOME/yomu/, by default ~/.cache/yomu/)\n"
       "      --soundfont=FILE  play MIDI music with this SoundFont 2 or 3 file\n"
       "                        (default: FluidSynth's own, else the system's General MIDI one)\n"
       "      --scale=N         show each page pixel as N x N screen pixels, N from 1 to 16\n"
       "                        (default: as the window was left, else the largest whole\n"
       "                        factor that fits the screen)\n"
       "      --fullscreen      start in full screen\n"
       "      --window          start in a window (default: as the reader was left)\n"
       "      --last            open the novel opened last where the reader stopped\n"
       "      --continue        open the novel where the reader stopped (R does it too)\n"
       "      --headless        run without a window, driven by an event list, log on stdout\n"
       "      --events=FILE     the event list of --headless (default or '-': standard input)\n"
       "      --text-out=FILE   write each paragraph as it appears as one line of UTF-8 to FILE\n"
       "                        (a file or a named pipe; '-': standard output)\n"
       "      --text-feed[=ADDRESS:PORT]\n"
       "                        send each paragraph and choice as it appears to the WebSocket\n"
       "                        clients of a dictionary page such as texthooker-ui\n"
       "                        (default: 127.0.0.1:6677, only this machine's programs)\n"
       "      --text-feed-origin=ORIGIN\n"
       "                        serve the text feed to the pages of ORIGIN too, such as\n"
       "                        https://renji-xd.github.io (other pages than this machine's\n"
       "                        and local files are refused); repeatable, and in settings.conf\n"
       "                        text-feed-origin takes origins separated by blanks\n"
       "      --speak           start with speech on (V), through speech-dispatcher\n"
       "      --auto-delay=MS   auto mode's wait after a paragraph (default 1000), to which\n"
       "                        60 ms for each double-byte character are added\n"
       "  -h, --help            show this help and exit\n"
       "  -V, --version         show the version and exit\n"
       "\n"
       "Mouse and keys:\n"
       "  left button, Return, keypad Enter, Space, Page Down, Down, wheel towards you\n"
       "                        advance (as a left click at the pointer)\n"
       "  right button, Escape, Menu, Shift+F10\n"
       "                        the context menu (Escape in a menu closes it)\n"
       "  Up, Down              while choosing: move the highlight over the choices\n"
       "  Return, Space         while choosing: take the highlighted choice\n"
       "  0 to 4                while choosing: take the choice drawn with that digit\n"
       "  wheel away, Page Up, Up, Backspace\n"
       "                        the backlog of what was read and chosen; in it the wheel,\n"
       "                        Up, Down, Page Up, Page Down, Home and End scroll; a click,\n"
       "                        Escape, Return, Space, Backspace or scrolling past the\n"
       "                        newest paragraph close it\n"
       "  Ctrl (held)           skip what was read before, stop at the first new paragraph\n"
       "  Ctrl+Shift (held)     skip everything while held\n"
       "  H, middle button (held)\n"
       "                        the picture without its text\n"
       "  -, +, M               the volume down, up, muted or not (kept for the next start)\n"
       "  A                     auto mode on or off: reads on by itself, stops at choices\n"
       "  C, Ctrl+C             copy the current paragraph (in the backlog: the lowest one)\n"
       "  V                     speech on or off: paragraphs, choices and the highlighted\n"
       "                        choice or menu item are spoken\n"
       "  F11, Alt+Return       full screen on or off\n"
       "  F12, Print            a screenshot of the page, as a PNG file in the pictures\n"
       "                        folder's yomu/ (by default ~/Pictures/yomu/)\n"
       "\n"
       "Gamepad: A advances (as Return), B the menu (as Escape), the d-pad moves over\n"
       "choices and through the backlog (as the arrows, left and right as Page Up and\n"
       "Page Down), Y the backlog, X auto mode, Start the menu, the right shoulder held\n"
       "skips what was read, the left shoulder held shows the picture alone; in a menu\n"
       "the d-pad moves, A picks and B closes.\n"
       "\n"
       "yomu check reads the novel as the reader does, without a window or sound, and\n"
       "names every line that the reader will read otherwise than it looks; it exits\n"
       "with 0 when there is no error, 1 when there is one, 2 for a wrong command line.\n"
       "\n"
       "Bookmarks are kept in the novel's folder in しおり.sio, or in $XDG_DATA_HOME/yomu/\n"
       "(by default ~/.local/share/yomu/) when that folder cannot be written or the novel\n"
       "is an archive; the paragraphs read are marked there too. The volume, the scale,\n"
       "the window's place and full screen are kept in $XDG_CONFIG_HOME/yomu/settings.conf\n"
       "(by default ~/.config/yomu/), the novels opened last in $XDG_STATE_HOME/yomu/\n"
       "(by default ~/.local/state/yomu/). An archive's members are kept, as they were\n"
       "unpacked, in $XDG_CACHE_HOME/yomu/archives/ (4 GiB for all; archive-cache-mib\n"
       "in settings.conf). Messages follow LANG and LANGUAGE. Music and\n"
       "sounds come from the module yomu-audio.so, beside the program or in its\n"
       "lib/yomu/, loaded at the first sound or ahead of it.\n"
       "Exit status: 0 when the reader is closed, 1 when no window can be opened,\n"
       "2 for a wrong command line.\n");

constexpr long AUTO_DELAY_MAX_MS = 600000;

enum Option {
  OPTION_HEADLESS = 256,
  OPTION_EVENTS,
  OPTION_FONT,
  OPTION_SOUNDFONT,
  OPTION_SCALE,
  OPTION_TEXT_OUT,
  OPTION_AUTO_DELAY,
  OPTION_TEXT_FEED,
  OPTION_TEXT_FEED_ORIGIN,
  OPTION_SPEAK,
  OPTION_FULL_SCREEN,
  OPTION_WINDOW,
  OPTION_LAST,
  OPTION_CONTINUE,
};

constexpr option LONG_OPTIONS[] = {
    {"headless", no_argument, nullptr, OPTION_HEADLESS},
    {"events", required_argument, nullptr, OPTION_EVENTS},
    {"font", required_argument, nullptr, OPTION_FONT},
    {"soundfont", required_argument, nullptr, OPTION_SOUNDFONT},
    {"scale", required_argument, nullptr, OPTION_SCALE},
    {"text-out", required_argument, nullptr, OPTION_TEXT_OUT},
    {"auto-delay", required_argument, nullptr, OPTION_AUTO_DELAY},
    {"text-feed", optional_argument, nullptr, OPTION_TEXT_FEED},
    {"text-feed-origin", required_argument, nullptr, OPTION_TEXT_FEED_ORIGIN},
    {"speak", no_argument, nullptr, OPTION_SPEAK},
    {"fullscreen", no_argument, nullptr, OPTION_FULL_SCREEN},
    {"window", no_argument, nullptr, OPTION_WINDOW},
    {"last", no_argument, nullptr, OPTION_LAST},
    {"continue", no_argument, nullptr, OPTION_CONTINUE},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

ParsedCommandLine Ends(int exit_status) { return {std::nullopt, exit_status}; }

ParsedCommandLine UsageError(const std::string& message) {
  std::fprintf(stderr, _("yomu: %s\nTry 'yomu --help'.\n"), message.c_str());
  return Ends(EXIT_USAGE);
}

// A whole number from low to high, nothing else.
std::optional<long> ParseNumber(const char* text, long low, long high) {
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || number < low || number > high) return std::nullopt;
  return number;
}

// The option that getopt_long refused: a short one by its letter, a long one as written.
std::string Refused(char** argv, int option) {
  if (option > 0 && option < OPTION_HEADLESS) return std::string("-") + static_cast<char>(option);
  return argv[optind - 1];
}

// --last: the novel opened last in the window.
std::optional<ParsedCommandLine> TakeLastNovel(CommandLine& line) {
  const std::vector<RecentNovel> recent = ReadRecentNovels();
  if (recent.empty()) return UsageError(_("--last: no novel was opened before"));
  line.options.novel = recent.front().path;
  line.novel_named = true;
  return std::nullopt;
}

// Reads the options into line; an error or an end is given back.
std::optional<ParsedCommandLine> ReadOptions(int argc, char** argv, CommandLine& line) {
  opterr = 0;
  optind = 1;
  std::vector<std::string> placing;  // --last and --continue as written
  for (int option; (option = getopt_long(argc, argv, ":hV", LONG_OPTIONS, nullptr)) != -1;) {
    switch (option) {
      case 'h': std::fputs(_(USAGE), stdout); return Ends(0);
      case 'V': std::puts("yomu " YOMU_VERSION); return Ends(0);
      case OPTION_HEADLESS: line.headless = true; break;
      case OPTION_EVENTS: line.events_file = optarg; break;
      case OPTION_FONT: line.options.font_file = optarg; break;
      case OPTION_SOUNDFONT: line.soundfont_file = optarg; break;
      case OPTION_SCALE: {
        const std::optional<long> scale = ParseNumber(optarg, 1, WINDOW_SCALE_MAX);
        if (!scale) return UsageError(_("--scale takes a whole number from 1 to 16"));
        line.scale = static_cast<int>(*scale);
        break;
      }
      case OPTION_TEXT_OUT: line.options.reading.text_out_file = optarg; break;
      case OPTION_AUTO_DELAY: {
        const std::optional<long> delay = ParseNumber(optarg, 0, AUTO_DELAY_MAX_MS);
        if (!delay) return UsageError(_("--auto-delay takes 0 to 600000 ms"));
        line.options.reading.auto_delay_ms = static_cast<std::uint32_t>(*delay);
        break;
      }
      case OPTION_TEXT_FEED: {
        line.options.reading.text_feed = optarg ? ParseFeedAddress(optarg) : FeedAddress{};
        if (!line.options.reading.text_feed) {
          return UsageError(_("--text-feed takes ADDRESS:PORT, such as 127.0.0.1:6677"));
        }
        break;
      }
      case OPTION_TEXT_FEED_ORIGIN: {
        const std::optional<std::string> origin = SerializedOrigin(optarg);
        if (!origin) {
          return UsageError(
              _("--text-feed-origin takes an origin such as https://renji-xd.github.io"));
        }
        line.options.reading.text_feed_origins.push_back(*origin);
        break;
      }
      case OPTION_SPEAK: line.options.reading.speak = true; break;
      case OPTION_FULL_SCREEN: line.options.reading.full_screen = true; break;
      case OPTION_WINDOW: line.options.reading.full_screen = false; break;
      case OPTION_LAST:
        line.last_novel = true;
        line.options.reading.resume = true;
        placing.push_back(argv[optind - 1]);
        break;
      case OPTION_CONTINUE:
        line.options.reading.resume = true;
        placing.push_back(argv[optind - 1]);
        break;
      case ':': return UsageError(Formatted(_("%s needs a value"), Refused(argv, optopt)));
      default: return UsageError(Formatted(_("unknown option %s"), Refused(argv, optopt)));
    }
  }
  // getopt_long has put the options first, and "--" last among them.
  for (int k = 1; k < optind; ++k) {
    const std::string argument = argv[k];
    if (argument != "--" && std::find(placing.begin(), placing.end(), argument) == placing.end()) {
      line.reader_options.push_back(argument);
    }
  }
  if (argc - optind > 1) return UsageError(_("more than one novel given"));
  if (optind < argc && line.last_novel) return UsageError(_("--last opens no novel named"));
  if (optind < argc) {
    line.options.novel = argv[optind];
    line.novel_named = true;
  }
  return line.last_novel ? TakeLastNovel(line) : std::nullopt;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool OpensAsFont(const std::string& path) {
  ShiftJis shift_jis;
  return !FontEngine(shift_jis, path).face_path().empty();
}

// The files and the novel named on the command line, before anything opens.
std::optional<ParsedCommandLine> CheckFiles(const CommandLine& line) {
  // A file is tried as an archive when the reader opens it.
  const std::string& novel = line.options.novel;
  struct stat info {};
  if (stat(novel.c_str(), &info) != 0)
    return UsageError(Formatted(_("no such novel folder or archive: %s"), novel));
  if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) {
    return UsageError(Formatted(_("%s is neither a novel folder nor an archive"), novel));
  }
  if (const std::optional<std::string>& font = line.options.font_file) {
    if (!IsRegularFile(*font))
      return UsageError(Formatted(_("cannot read the font file %s"), *font));
    if (!OpensAsFont(*font)) {
      return UsageError(Formatted(_("%s is not a font file that FreeType can open"), *font));
    }
  }
  if (line.soundfont_file && !IsRegularFile(*line.soundfont_file)) {
    return UsageError(Formatted(_("cannot read the soundfont file %s"), *line.soundfont_file));
  }
  return std::nullopt;
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, char** argv) {
  CommandLine line;
  if (std::optional<ParsedCommandLine> ended = ReadOptions(argc, argv, line)) return *ended;
  if (std::optional<ParsedCommandLine> refused = CheckFiles(line)) return *refused;
  return {line, 0};
}
