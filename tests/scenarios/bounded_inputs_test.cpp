// Files made to freeze the reader or to exhaust its memory: each novel runs its
// first step and one click to the end, the reader still answering.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

constexpr std::uint32_t BIG_PICTURE_RGB = 0x336699;

// A sound file kept among the fuzz regressions.
std::string Kept(const std::string& name) {
  return ReadBytes(std::string(YOMU_FUZZ_REGRESSIONS_DIR) + "/wave/" + name);
}

void Sparse(const Novel& novel, const std::string& name, const std::string& start,
            std::uint64_t size) {
  novel.WriteBytes(name, start);
  std::filesystem::resize_file(novel.File(name), size);
}

// A 4000 x 3000 24-bit picture whose visible top-left 640 x 480 pixels are one colour;
// the rest of the 36 MB is a hole in the file.
void BigPicture(const Novel& novel) {
  constexpr std::uint32_t WIDTH = 4000, HEIGHT = 3000, STRIDE = WIDTH * 3, OFFSET = 54;
  std::string file = "BM";
  for (std::uint32_t field : {OFFSET + STRIDE * HEIGHT, 0u, OFFSET, 40u, WIDTH, HEIGHT,
                              1u | 24u << 16, 0u, 0u, 0u, 0u, 0u, 0u}) {
    Put32(file, field);
  }
  Sparse(novel, "big.bmp", file, OFFSET + std::uint64_t{STRIDE} * HEIGHT);
  std::string row;
  for (int x = 0; x < 640; ++x) row += std::string{'\x99', '\x66', '\x33'};
  std::fstream out(novel.File("big.bmp"), std::ios::in | std::ios::out | std::ios::binary);
  for (std::uint32_t stored = HEIGHT - 480; stored < HEIGHT; ++stored) {
    out.seekp(OFFSET + std::streamoff{stored} * STRIDE);
    out << row;
  }
}

void ManyFiles(const Novel& novel) {
  for (int i = 0; i < 3000; ++i) novel.WriteBytes("file" + std::to_string(i) + ".txt", "");
  novel.Write("Scene.TXT", "C\n二\nE\n");
}

struct BoundedCase {
  const char* what;
  std::function<void(const Novel&)> files;
  std::string script;
  bool with_sound;
  // Values at start-up and after one click.
  std::vector<std::pair<std::string, std::vector<std::string>>> expected;
  std::uint32_t corner_pixels = 0;  // of the page's first and last pixel, when not 0
};

TEST(BoundedInputs, EveryStepEndsSoonAndReadsOnlyWhatItUses) {
  const BoundedCase cases[] = {
      {"a CD track whose format has no channels",
       [](const Novel& n) {
         n.WriteBytes("track02.wav", Kept("cd-track-format-without-channels.wav"));
       },
       "C\nCD 02 0010\n一\nE\n",
       true,
       {{"CdTrack", {"2", "2"}}, {"Mode", {"ModeReady", "ModeFinished"}}}},
      {"FIFOs under the names of a picture, a sound and a MIDI file",
       [](const Novel& n) {
         for (const char* name : {"p.bmp", "se.wav", "bgm.mid"}) mkfifo(n.File(name).c_str(), 0600);
       },
       "BMP \"p.bmp\"\nWAV \"se.wav\"\nMID 0010 \"bgm.mid\"\n一\nE\n",
       true,
       {{"CurrentLine", {"4", "4"}}, {"Mode", {"ModeReady", "ModeFinished"}}}},
      {"a MIDI file under a sound's name",
       [](const Novel& n) { n.WriteBytes("kane.wav", Kept("midi-music-under-a-sound-name.wav")); },
       "WAV \"kane.wav\"\n一\nE\n",
       true,
       {{"Mode", {"ModeReady", "ModeFinished"}}}},
      {"698 shakes and a switch to the same file: ten seconds a step",
       nullptr,
       "C\n" + Times(697, "Q\n") + "FI タイトル.txt\n",
       false,
       {{"CurrentLine", {"41", "81"}}, {"WaitPending", {"0", "0"}}}},
      {"698 CD lines: twenty half-second waits a step",
       nullptr,
       Times(698, "CD 01 0010\n"),
       false,
       {{"CurrentLine", {"20", "40"}}}},
      {"2 GB script, contents and bookmark files",
       [](const Novel& n) {
         Sparse(n, "ファイル.txt", "", std::uint64_t{2} << 30);
         Sparse(n, "しおり.sio", "", std::uint64_t{2} << 30);
         const std::string script = ToShiftJis("C\n一\n二\nE\n");
         Sparse(n, "タイトル.txt", script, std::uint64_t{2} << 30);
       },
       "",
       false,
       {{"CurrentLine", {"2", "3"}}, {"BookmarkPages[0]", {"1", "1"}}}},
      {"a 4000 x 3000 picture",
       BigPicture,
       "BMP \"big.bmp\"\n>\n",
       false,
       {{"CurrentLine", {"1", "1"}}},
       BIG_PICTURE_RGB},
      {"wrong-case names among 3000 files",
       ManyFiles,
       "FI scene.txt\n",
       false,
       {{"ScriptFileName", {"scene.txt", "scene.txt"}}, {"Mode", {"ModeReady", "ModeFinished"}}}},
  };
  for (const BoundedCase& c : cases) {
    Novel novel;
    if (c.files) c.files(novel);
    if (!c.script.empty()) novel.Write("タイトル.txt", c.script);
    const std::string surface = novel.File("surface.png");
    const ReaderRun run = RunNovel(
        novel, "state\nclick 1 1\nwait 100\nstate\nsurface " + surface + "\n", {}, c.with_sound);
    EXPECT_EQ(run.exit_code, 0) << c.what;
    for (const auto& [field, values] : c.expected)
      EXPECT_EQ(run.Values(field), values) << c.what << ": " << field;
    if (c.corner_pixels == 0) continue;
    const Bitmap page = ReadPng(surface);
    EXPECT_TRUE(page.pixel(0, 0) == c.corner_pixels && page.pixel(639, 479) == c.corner_pixels)
        << c.what;
  }
}

}  // namespace
