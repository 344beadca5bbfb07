// Test novels and headless runs.
#include "support/novel.h"

#include <png.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "app/headless_runner.h"
#include "platform/audio/mixer_player.h"
#include "platform/files/folder_volume.h"
#include "platform/shift_jis.h"

Novel::Novel() {
  char pattern[] = "/tmp/yomu-novel-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

Novel::~Novel() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ToShiftJis(const std::string& text_utf8) {
  ShiftJis shift_jis;
  std::optional<std::string> converted = shift_jis.FromUtf8(text_utf8);
  if (!converted) throw std::runtime_error("not CP932: " + text_utf8);
  return *converted;
}

std::unique_ptr<Volume> OpenFolder(const std::string& path) {
  auto folder = FolderVolume::Open(path);
  if (!folder) throw std::runtime_error(folder.error());
  return std::move(*folder);
}

std::string ReadBytes(const std::string& path) {
  return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

std::string Times(int count, const std::string& text) {
  std::string repeated;
  for (int k = 0; k < count; ++k) repeated += text;
  return repeated;
}

void Novel::Write(const std::string& name_utf8, const std::string& text_utf8, bool crlf) const {
  std::string bytes = ToShiftJis(text_utf8);
  if (crlf) {
    std::string with_cr;
    for (char c : bytes) {
      if (c == '\n') with_cr += '\r';
      with_cr += c;
    }
    bytes = with_cr;
  }
  WriteBytes(name_utf8, bytes);
}

void Novel::WriteBytes(const std::string& host_name, const std::string& bytes) const {
  const std::filesystem::path file = std::filesystem::path(path_) / host_name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

std::vector<std::string> ReaderRun::Lines() const {
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

namespace {
// "@1400 present" -> "present"
std::string WithoutTime(const std::string& line) {
  const std::size_t space = line.find(' ');
  return space == std::string::npos ? std::string() : line.substr(space + 1);
}
}  // namespace

std::string ReaderRun::State(const std::string& name) const {
  const std::vector<std::string> values = Values(name);
  return values.empty() ? std::string() : values.back();
}

int ReaderRun::StateNumber(const std::string& name) const { return std::stoi(State(name)); }

std::vector<std::string> ReaderRun::Values(const std::string& name) const {
  std::vector<std::string> values;
  const std::string key = "state " + name + "=";
  for (const std::string& record : Records(key)) values.push_back(record.substr(key.size()));
  return values;
}

std::vector<std::string> ReaderRun::Records(const std::string& prefix) const {
  std::vector<std::string> records;
  for (const std::string& line : Lines()) {
    const std::string record = WithoutTime(line);
    if (record.rfind(prefix, 0) == 0) records.push_back(record);
  }
  return records;
}

std::vector<std::string> ReaderRun::TimedRecords(const std::string& prefix) const {
  std::vector<std::string> records;
  for (const std::string& line : Lines()) {
    if (WithoutTime(line).rfind(prefix, 0) == 0) records.push_back(line);
  }
  return records;
}

int ReaderRun::Count(const std::string& record) const {
  int count = 0;
  for (const std::string& line : Lines()) count += WithoutTime(line) == record;
  return count;
}

ReaderRun RunHeadlessWith(const HeadlessOptions& options, const std::string& events) {
  std::istringstream in(events);
  std::ostringstream log, errors;
  ReaderRun run;
  run.exit_code = RunHeadless(options, in, log, errors);
  run.log = log.str();
  run.errors = errors.str();
  return run;
}

ReaderRun RunNovel(const Novel& novel, const std::string& events, const ReadingOptions& reading,
                   bool with_sound) {
  HeadlessOptions options;
  options.novel = novel.path();
  options.reading = reading;
  if (with_sound) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    options.make_media = [](Platform&) -> std::unique_ptr<MediaPlayer> {
      auto player = MixerPlayer::Create({});
      return player ? player.release_value() : nullptr;
    };
  }
  return RunHeadlessWith(options, events);
}

ReaderRun RunScript(const std::string& script_utf8, const std::string& events) {
  Novel novel;
  novel.Write("タイトル.txt", script_utf8);
  return RunNovel(novel, events);
}

Bitmap Screenshot(const std::string& script_utf8, const std::string& events) {
  Novel novel;
  novel.Write("タイトル.txt", script_utf8);
  RunNovel(novel, events + "screenshot " + novel.File("shot.png") + "\n");
  return ReadPng(novel.File("shot.png"));
}

int CountPixels(const Bitmap& shot, RECT area, std::uint32_t colour, bool equal) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += (shot.pixel(x, y) == colour) == equal;
  }
  return count;
}

std::vector<std::uint32_t> ReadPngArgb(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  width = static_cast<int>(image.width), height = static_cast<int>(image.height);
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(width) * height);
  if ((image.format & PNG_FORMAT_FLAG_LINEAR) == 0) {
    image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB in a little-endian word
    if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) return {};
    return argb;
  }
  image.format = PNG_FORMAT_LINEAR_RGB_ALPHA;
  std::vector<std::uint16_t> rgba(argb.size() * 4);
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const auto eight = [p = &rgba[i * 4]](int c) { return (p[c] * 255u + 32767) / 65535; };
    const bool opaque = rgba[i * 4 + 3] == 0xFFFF;
    argb[i] = opaque ? 0xFF000000u | eight(0) << 16 | eight(1) << 8 | eight(2) : 0;
  }
  return argb;
}

Bitmap ReadPng(const std::string& path) {
  int width = 0, height = 0;
  const std::vector<std::uint32_t> argb = ReadPngArgb(path, width, height);
  if (argb.empty()) throw std::runtime_error("png: " + path);
  Bitmap bitmap(width, height);
  std::transform(argb.begin(), argb.end(), bitmap.row(0),
                 [](std::uint32_t p) { return p & 0xFFFFFF; });
  return bitmap;
}
