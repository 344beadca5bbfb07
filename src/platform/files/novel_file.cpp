// The words of the reasons why a name gives no file.
#include "platform/files/novel_file.h"

#include <cerrno>

#include "platform/translation.h"

namespace {
constexpr std::int64_t UNSETTLED_NS = 1'000'000'000;
}  // namespace

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::int64_t NowNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

bool SettledChange(std::int64_t changed_ns, std::int64_t read_ns) {
  // A time in the future (a clock set wrong, an archive extracted with its times) is
  // as safe as one long past: a change from now on gets a time of its own.
  return read_ns - changed_ns > UNSETTLED_NS || changed_ns - read_ns > UNSETTLED_NS;
}

FileError FileErrorOf(const SystemError& error) {
  if (error.code == ENOENT || error.code == ENOTDIR) return {FileProblem::NotFound, {}};
  return {FileProblem::Unreadable, error.Describe()};
}

std::string DescribeFileError(const FileError& error) {
  switch (error.problem) {
    case FileProblem::NotFound: return _("not found");
    case FileProblem::NotRegularFile: return _("is not a regular file");
    case FileProblem::OutsideNovel: return _("leads outside the novel");
    case FileProblem::TooLarge: return _("is larger than the reader ever reads of such a file");
    case FileProblem::Unreadable:
      return error.detail.empty() ? _("cannot be read")
                                  : Formatted(_("cannot be read: %s"), error.detail);
    case FileProblem::Encrypted: return _("is encrypted in the archive: the reader cannot read it");
  }
  return _("cannot be read");
}
