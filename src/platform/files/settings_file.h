// The reader's settings: a small text file of "NAME = VALUE" lines in the user's
// settings folder, $XDG_CONFIG_HOME/yomu/settings.conf. A line that is no setting
// of this version (a comment, a name that a later version wrote, anything else)
// is kept as it is when the file is written back. A file that is there but is no
// such text (a folder, binary bytes, too large) is broken: it is neither read nor
// written over, so that nothing in it is lost.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Larger files are no settings file of the reader's, and are left alone.
constexpr std::size_t SETTINGS_FILE_MAX_BYTES = 64 * 1024;

class SettingsFile {
 public:
  static SettingsFile Parse(std::string_view text);
  // The file at path; no settings when it is missing, and a broken file when it is
  // unreadable, too large or no text.
  static SettingsFile Load(const std::string& path);

  // Why the file that Load found cannot be used; empty when it can.
  const std::string& broken() const { return broken_; }

  // The value of the last line that sets name, blanks around it taken off.
  std::optional<std::string> Get(std::string_view name) const;
  // A whole number from low to high; nothing for any other value.
  std::optional<long> Number(std::string_view name, long low, long high) const;
  // Sets the value on the line that Get reads, or on a new line at the end.
  void Set(std::string_view name, std::string_view value);
  // Sets the value when it is not what the file says already, the default standing
  // for a name that is not set; true when it was set.
  bool Change(std::string_view name, std::string_view value, std::string_view default_value);

  std::string Text() const;
  // Makes the settings folder, private to the user, and replaces the file only when
  // the whole of it is written; a link is written through to the user's own file that
  // it names. Why not when it was not: it cannot be written, or the user made it
  // read-only or a link elsewhere.
  std::optional<std::string> Save(const std::string& path) const;

 private:
  // The line that sets name, or -1.
  int LineOf(std::string_view name) const;
  std::vector<std::string> lines_;
  std::string broken_;
};

// settings.conf in the reader's settings folder; nothing when there is no home.
std::optional<std::string> UserSettingsPath();
