// The resume point's file: "yomu resume 1", the page, the script's name as the
// scripts write it, a line each; written whole under the lock of its folder.
#include "data/resume_point.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/files/file_lock.h"
#include "platform/files/regular_file.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"
#include "platform/translation.h"
#include "reader/reader.h"
#include "reader/text_fields.h"

namespace {

constexpr char FILE_NAME[] = "/resume";
constexpr std::string_view HEADER = "yomu resume 1\n";
constexpr std::uint64_t FILE_MAX_BYTES = 512;

std::optional<std::string> ResumePath(const Platform& platform) {
  if (!platform.user_directory) return std::nullopt;
  return *platform.user_directory + FILE_NAME;
}

std::optional<ResumePlace> ParsePlace(std::string_view text) {
  if (!text.starts_with(HEADER) || !text.ends_with('\n')) return std::nullopt;
  text.remove_prefix(HEADER.size());
  const std::size_t end = text.find('\n');
  ResumePlace place;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + end, place.page);
  // A page is never below 0, as a bookmark's digits never are.
  if (error != std::errc() || stop != text.data() + end || place.page < 0) return std::nullopt;
  place.script_sjis = std::string(text.substr(end + 1, text.size() - end - 2));
  if (place.script_sjis.empty() ||
      place.script_sjis.size() >= sizeof ReaderState::ScriptFileName ||
      place.script_sjis.find('\n') != std::string::npos) {
    return std::nullopt;
  }
  return place;
}

// The file whole, written under its folder's lock, or why not.
ErrorOr<void, std::string> WriteUnderLock(const std::string& path, std::string_view text) {
  const ErrorOr<FileLock, LockRefusal> lock = FileLock::Take(path);
  if (!lock) return lock.error().why;
  if (const auto written = TextFileWriter::WriteWhole(path, text, TextFileWriter::LineEnds::Lf);
      !written) {
    return written.error().Describe();
  }
  return {};
}

}  // namespace

std::optional<ResumePlace> ReadResumePoint(const Platform& platform) {
  const std::optional<std::string> path = ResumePath(platform);
  // A folder that is no folder of the user's own (a planted link) is never read.
  if (!path || !IsOwnUserDirectory(*platform.user_directory)) return std::nullopt;
  const FileOr<std::string> text = ReadRegularFile(*path, FILE_MAX_BYTES);
  return text ? ParsePlace(*text) : std::nullopt;
}

namespace {

bool Moved(const Reader& r) {
  const ResumePoint& resume = r.aids.resume;
  return resume.noted && (r.state.PageNumber != resume.page ||
                          FieldText(r.state.ScriptFileName) != resume.script_sjis);
}

void NotePlace(Reader& r) {
  r.aids.resume.page = r.state.PageNumber;
  r.aids.resume.script_sjis = FieldText(r.state.ScriptFileName);
  r.aids.resume.saved_ms = r.platform.NowMs();
  r.aids.resume.noted = true;
}

}  // namespace

void SaveResumePointWhenDue(Reader& r) {
  if (!r.aids.resume.noted) return NotePlace(r);
  if (Moved(r) && r.platform.NowMs() - r.aids.resume.saved_ms >= RESUME_POINT_SAVE_EVERY_MS) {
    SaveResumePoint(r);
  }
}

void SaveResumePoint(Reader& r) {
  const std::optional<std::string> path = ResumePath(r.platform);
  if (!path || !Moved(r)) return;
  NotePlace(r);
  if (const ErrorOr<void, std::string> made = MakeUserDirectory(*r.platform.user_directory); !made) {
    r.platform.Warn(Formatted(_("%s: the place read last is not kept there"), made.error()));
    return;
  }
  const std::string text = std::string(HEADER) + std::to_string(r.aids.resume.page) + "\n" +
                           r.aids.resume.script_sjis + "\n";
  if (const ErrorOr<void, std::string> kept = WriteUnderLock(*path, text); !kept) {
    r.platform.Warn(
        Formatted(_("the place read last cannot be kept in %s: %s"), *path, kept.error()));
  }
}
