// The reader's settings file.
#include "platform/files/settings_file.h"

#include <charconv>

#include "platform/files/regular_file.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"
#include "platform/translation.h"
#include "platform/utf8_text.h"

namespace {

constexpr char BLANKS[] = " \t\r";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(BLANKS);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
}

// The name a line sets; empty for comments and lines without "=".
std::string_view NameOf(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || Trimmed(line).starts_with('#')) return {};
  return Trimmed(line.substr(0, equals));
}

}  // namespace

SettingsFile SettingsFile::Parse(std::string_view text) {
  SettingsFile settings;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    settings.lines_.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return settings;
}

SettingsFile SettingsFile::Load(const std::string& path) {
  SettingsFile settings;
  const FileOr<std::string> text = ReadRegularFile(path, SETTINGS_FILE_MAX_BYTES);
  if (!text) {
    // Not there: no settings yet.
    if (text.error().problem == FileProblem::NotFound) return settings;
    settings.broken_ = text.error().problem == FileProblem::TooLarge
                           ? _("larger than 64 KiB")
                           : DescribeFileError(text.error());
  } else if (text->find('\0') != std::string::npos || WellFormedUtf8Length(*text) != text->size()) {
    settings.broken_ = _("not text");
  } else {
    settings = Parse(*text);
  }
  return settings;
}

int SettingsFile::LineOf(std::string_view name) const {
  for (int line = static_cast<int>(lines_.size()) - 1; line >= 0; --line) {
    if (!name.empty() && NameOf(lines_[line]) == name) return line;
  }
  return -1;
}

std::optional<std::string> SettingsFile::Get(std::string_view name) const {
  const int line = LineOf(name);
  if (line < 0) return std::nullopt;
  const std::string& text = lines_[line];
  return std::string(Trimmed(std::string_view(text).substr(text.find('=') + 1)));
}

std::optional<long> SettingsFile::Number(std::string_view name, long low, long high) const {
  const std::optional<std::string> value = Get(name);
  long number = 0;
  if (!value || value->empty()) return std::nullopt;
  const char* end = value->data() + value->size();
  const auto [stop, error] = std::from_chars(value->data(), end, number);
  if (error != std::errc() || stop != end || number < low || number > high) return std::nullopt;
  return number;
}

void SettingsFile::Set(std::string_view name, std::string_view value) {
  std::string line = std::string(name) + " = " + std::string(value);
  if (const int at = LineOf(name); at >= 0) {
    lines_[at] = std::move(line);
  } else {
    lines_.push_back(std::move(line));
  }
}

bool SettingsFile::Change(std::string_view name, std::string_view value,
                          std::string_view default_value) {
  if (Get(name).value_or(std::string(default_value)) == value) return false;
  Set(name, value);
  return true;
}

std::string SettingsFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\n";
  return text;
}

std::optional<std::string> SettingsFile::Save(const std::string& path) const {
  if (!broken_.empty()) return broken_;
  const ErrorOr<std::string, LeftAsItIs> target = UserFileToWrite(path);
  if (!target) return target.error().why;
  if (ErrorOr<void, std::string> made = MakeUserDirectory(path.substr(0, path.rfind('/'))); !made) {
    return made.error();
  }
  if (ErrorOr<void, std::string> written = TextFileWriter::WriteOwnFile(*target, Text()); !written) {
    return written.error();
  }
  return std::nullopt;
}

std::optional<std::string> UserSettingsPath() {
  std::optional<std::string> folder = UserConfigDirectory();
  if (!folder) return std::nullopt;
  return *folder + "/settings.conf";
}
