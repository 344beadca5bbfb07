// Where the reader stopped reading a novel: its script and page, as a bookmark keeps
// them, in resume of the novel's per-user folder beside its read marks, never one of
// the five slots and never しおり.sio. Written when the reader ends, and while pages
// turn at most every few seconds, so a crash loses seconds; --continue, --last and
// R open the novel there. A novel opened otherwise starts at its title, as its author
// meant.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class Platform;
struct Reader;

// How often a page turn is written at most.
constexpr std::uint64_t RESUME_POINT_SAVE_EVERY_MS = 5000;

// After a message: the first notes the place at the start, so that only a move from
// it is written; a place that moved is written when the last write is old enough.
void SaveResumePointWhenDue(Reader& r);
// At the end: a place that moved is written.
void SaveResumePoint(Reader& r);

// A place as the file keeps it: the page and the script's name as the scripts write it.
struct ResumePlace {
  std::int32_t page = 0;
  std::string script_sjis;
};
// The place kept for the novel; nothing when none is kept or the file is not of its form.
std::optional<ResumePlace> ReadResumePoint(const Platform& platform);
