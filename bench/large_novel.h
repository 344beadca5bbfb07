// A large novel made while the benchmarks run, never kept: 300 pages, each over a
// 640 x 480 24-bit picture painted as backgrounds are (smooth gradients, a little noise
// in the low bits: deflate keeps about two thirds of it, a solid LZMA block about a
// third), the pictures under CP932 names in a folder 背景, five scripts chained with
// "FI", two paragraphs a page. Packed three ways beside each other: the folder, a ZIP
// with CP932 names (deflate) and a solid 7z.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "novel_folder.h"
#include "support/bmp_writer.h"

constexpr int LARGE_NOVEL_PAGES = 300;
constexpr int LARGE_NOVEL_PAGES_PER_SCRIPT = 60;
constexpr int LARGE_NOVEL_SCRIPTS = LARGE_NOVEL_PAGES / LARGE_NOVEL_PAGES_PER_SCRIPT;

namespace large_novel {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;
constexpr double PI = 3.14159265358979323846;

// Names as the scripts write them (CP932) and as they lie on disk (UTF-8). Numbers are
// joined as strings: a digit right behind a byte's hex escape would run on into it.
inline std::string Number(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", digits, value);
  return text;
}
inline std::string ScriptSjis(int script) {
  if (script == 0) return "\x83\x5e\x83\x43\x83\x67\x83\x8b.txt";  // タイトル.txt
  return "\x91\xe6" + Number(script + 1, 1) + "\x8f\xcd.txt";      // 第N章.txt
}
inline std::string ScriptUtf8(int script) {
  if (script == 0) return "タイトル.txt";
  return "第" + Number(script + 1, 1) + "章.txt";
}
// page from 1: 背景\場面001.bmp, the separator as authors write it.
inline std::string PictureSjis(int page, char separator = '\\') {
  return std::string("\x94\x77\x8c\x69") + separator + "\x8f\xea\x96\xca" + Number(page, 3) +
         ".bmp";
}
inline std::string PictureUtf8(int page) { return "背景/場面" + Number(page, 3) + ".bmp"; }

// 第NNN頁の一段落。夜の段落、朝の段落。 with 一 or 二: a paragraph of 20 characters.
inline std::string Paragraph(int page, int which) {
  return "\x91\xe6" + Number(page, 3) + "\x95\xc5\x82\xcc" +
         (which == 1 ? "\x88\xea" : "\x93\xf1") +
         "\x92\x69\x97\x8e\x81\x42\x96\xe9\x82\xcc\x92\x69\x97\x8e\x81\x41\x92\xa9\x82\xcc\x92\x69"
         "\x97\x8e\x81\x42";
}

// One script: its pages, each its picture, a page clear and two paragraphs, then the
// switch to the next script or the end.
inline std::string Script(int script) {
  std::string text;
  const int first = script * LARGE_NOVEL_PAGES_PER_SCRIPT + 1;
  for (int page = first; page < first + LARGE_NOVEL_PAGES_PER_SCRIPT; ++page) {
    text += "BMP \"" + PictureSjis(page) + "\"\r\nC\r\n";
    text += Paragraph(page, 1) + "\r\n" + Paragraph(page, 2) + "\r\n";
  }
  text += script + 1 < LARGE_NOVEL_SCRIPTS ? "FI " + ScriptSjis(script + 1) + "\r\n" : "E\r\n";
  return text;
}

// A fast generator of noise, its stream fixed by its seed.
class Noise {
 public:
  explicit Noise(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15u + 1) {}
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }

 private:
  std::uint64_t state_;
};

// The page's picture as a BMP file, painted as a scene's background: per channel a
// vertical gradient between two colours plus a slow horizontal wave, the lowest bits
// noise (three in blue, one in green and red), as a painting scanned or dithered
// leaves them. Two pages share a scene: the upper half of the picture, the sky, is the
// same in both, its noise included.
inline std::string PagePictureBmp(int page) {
  const int scene = (page + 1) / 2;
  Noise scene_noise(static_cast<std::uint64_t>(scene));
  double rows[3][HEIGHT];
  double columns[3][WIDTH];
  for (int channel = 0; channel < 3; ++channel) {
    const double top = 30 + static_cast<double>(scene_noise.Next() % 200);
    const double bottom = 30 + static_cast<double>(scene_noise.Next() % 200);
    const double amplitude = 10 + static_cast<double>(scene_noise.Next() % 30);
    const double period = 200 + static_cast<double>(scene_noise.Next() % 500);
    const double phase = static_cast<double>(scene_noise.Next() % 628) / 100;
    for (int y = 0; y < HEIGHT; ++y) rows[channel][y] = top + (bottom - top) * y / (HEIGHT - 1);
    for (int x = 0; x < WIDTH; ++x) {
      columns[channel][x] = amplitude * std::sin(2 * PI * x / period + phase);
    }
  }
  constexpr int NOISE_MASKS[3] = {0x07, 0x01, 0x01};  // blue, green, red
  Noise page_noise(static_cast<std::uint64_t>(page) + 100'000);
  Bitmap picture(WIDTH, HEIGHT);
  for (int y = HEIGHT - 1; y >= 0; --y) {  // bottom-up: the page's own half first
    Noise& noise = y < HEIGHT / 2 ? scene_noise : page_noise;
    for (int x = 0; x < WIDTH; ++x) {
      const std::uint64_t bits = noise.Next();
      std::uint32_t pixel = 0;
      for (int channel = 0; channel < 3; ++channel) {
        const int value = static_cast<int>(rows[channel][y] + columns[channel][x]);
        const int clamped = value < 0 ? 0 : value > 255 ? 255 : value;
        const int mask = NOISE_MASKS[channel];
        const int noisy = (clamped & ~mask) | (static_cast<int>(bits >> (8 * channel)) & mask);
        pixel |= static_cast<std::uint32_t>(noisy) << (8 * channel);
      }
      picture.set_pixel(x, y, pixel);
    }
  }
  return Bmp24(picture);
}

inline bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

inline double SecondsSince(std::chrono::steady_clock::time_point begun) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
}

}  // namespace large_novel

// The novel in a temporary folder, removed with it: novel/ (the folder), novel.zip,
// novel.7z and the events that click through every page.
class LargeNovel {
 public:
  LargeNovel() {
    using large_novel::SecondsSince;
    const auto begun = std::chrono::steady_clock::now();
    ok_ = WriteFolder();
    folder_seconds_ = SecondsSince(begun);
    const auto zip_begun = std::chrono::steady_clock::now();
    ok_ = ok_ && PackZip();
    zip_seconds_ = SecondsSince(zip_begun);
    const auto seven_zip_begun = std::chrono::steady_clock::now();
    ok_ = ok_ && Pack7z();
    seven_zip_seconds_ = SecondsSince(seven_zip_begun);
    WriteEvents();
  }

  bool ok() const { return ok_; }
  std::string Path(const std::string& name) const { return base_.path() + "/" + name; }
  std::string folder() const { return Path("novel"); }
  std::string zip() const { return Path("novel.zip"); }
  std::string seven_zip() const { return Path("novel.7z"); }
  // Two clicks a page through every page, then the state block.
  std::string all_pages_events() const { return Path("all-pages.events"); }

  double folder_seconds() const { return folder_seconds_; }
  double zip_seconds() const { return zip_seconds_; }
  double seven_zip_seconds() const { return seven_zip_seconds_; }

 private:
  // Every file a day old: the reader reads ahead only pictures that settled, and an
  // old folder's index is built once.
  bool WriteFolder() {
    namespace fs = std::filesystem;
    const fs::path novel = folder();
    std::error_code error;
    fs::create_directories(novel / "背景", error);
    if (error) return false;
    const auto day_ago = fs::file_time_type::clock::now() - std::chrono::hours(24);
    bool written = true;
    const auto write = [&](const std::string& name, const std::string& bytes) {
      std::ofstream(novel / name, std::ios::binary) << bytes;
      fs::last_write_time(novel / name, day_ago, error);
      written = written && !error && fs::file_size(novel / name, error) == bytes.size();
    };
    for (int script = 0; script < LARGE_NOVEL_SCRIPTS; ++script) {
      write(large_novel::ScriptUtf8(script), large_novel::Script(script));
    }
    for (int page = 1; page <= LARGE_NOVEL_PAGES; ++page) {
      write(large_novel::PictureUtf8(page), large_novel::PagePictureBmp(page));
    }
    fs::last_write_time(novel / "背景", day_ago, error);
    fs::last_write_time(novel, day_ago, error);
    return written;
  }

  // The members in the order an author lists them: the scripts, the folder, the
  // pictures by page.
  std::string WriteMemberList() const {
    std::ofstream list(Path("members"));
    for (int script = 0; script < LARGE_NOVEL_SCRIPTS; ++script) {
      list << large_novel::ScriptUtf8(script) << '\n';
    }
    list << "背景\n";
    for (int page = 1; page <= LARGE_NOVEL_PAGES; ++page) {
      list << large_novel::PictureUtf8(page) << '\n';
    }
    return Path("members");
  }

  // Names in CP932 without the UTF-8 flag, as Japanese Windows wrote them.
  bool PackZip() const {
    return large_novel::Run("cd " + folder() +
                            " && LC_ALL=C.UTF-8 bsdtar --format zip --options "
                            "zip:hdrcharset=CP932 -n -cf " +
                            zip() + " -T " + WriteMemberList());
  }

  bool Pack7z() const {
    return large_novel::Run("cd " + folder() + " && LC_ALL=C.UTF-8 7z a -ms=on -mx=5 " +
                            seven_zip() + " @" + WriteMemberList() + " > /dev/null");
  }

  void WriteEvents() const {
    std::ofstream events(all_pages_events());
    for (int click = 0; click < 2 * LARGE_NOVEL_PAGES; ++click)
      events << "click 320 240\nwait 100\n";
    events << "state\n";
  }

  BenchFolder base_;
  bool ok_ = false;
  double folder_seconds_ = 0;
  double zip_seconds_ = 0;
  double seven_zip_seconds_ = 0;
};
