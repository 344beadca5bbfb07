// The most that the reader reads of each kind of file in a novel's folder. Every
// file comes from whoever made the novel, so each read has a cap that fits what
// the format can put on a page or into a sound; nothing larger is ever needed.
#pragma once

#include <cstddef>
#include <cstdint>

// A picture file is at most this large: far above any 640 x 480 picture in any
// bitmap format, and the decoder reads only the part that a page shows.
constexpr std::uint64_t PICTURE_FILE_MAX_BYTES = std::uint64_t{128} * 1024 * 1024;

// A WAV sound plays at most this long and takes at most this many bytes of samples
// from its file, whichever comes first; the rest of a longer file is never read.
constexpr std::uint32_t SOUND_MAX_SECONDS = 120;
constexpr std::uint32_t SOUND_MAX_BYTES = 32 * 1024 * 1024;

// A MIDI file is held in memory while it plays; real ones are a few hundred KB.
constexpr std::uint64_t MIDI_FILE_MAX_BYTES = std::uint64_t{16} * 1024 * 1024;
// Events in all tracks of a MIDI file together, and tracks in it.
constexpr std::uint32_t MIDI_MAX_EVENTS = 1'000'000;
constexpr std::uint32_t MIDI_MAX_TRACKS = 1024;

// A font file given on the command line (the largest Japanese fonts are ~50 MB).
constexpr std::uint64_t FONT_FILE_MAX_BYTES = std::uint64_t{512} * 1024 * 1024;

// The indexes of folders' names hold at most this many entries in all; a larger
// folder is searched entry by entry as it stands on the disk.
constexpr std::uint32_t FOLDER_INDEX_MAX_ENTRIES = 250'000;

// An archive is read as far as its first members up to these: members, and bytes
// that they unpack to in all, counting every byte that any pass unpacks, whether
// the reader keeps it or passes over it. Each member is held besides to the cap of
// its kind.
constexpr std::size_t ARCHIVE_MAX_MEMBERS = 20'000;
constexpr std::uint64_t ARCHIVE_MAX_UNPACKED_BYTES = std::uint64_t{2} * 1024 * 1024 * 1024;
// A member's name lies at most this many folders deep; a deeper one is left out.
constexpr std::size_t ARCHIVE_MAX_NAME_DEPTH = 64;

// Scripts, the contents and the bookmark file are read line by line and only as
// far as their tables reach, so they need no cap of their own: at most 700 lines
// of 255 bytes, and one block of the file beyond them.
constexpr std::uint32_t TEXT_FILE_BLOCK_BYTES = 64 * 1024;
// A script saved in UTF-8 is recognised and converted from its head alone: the
// bytes that can hold its first 700 lines of 255 Shift-JIS bytes, a half-width
// kana taking three UTF-8 bytes for one, and each line a CR LF.
constexpr std::uint32_t AUTHOR_TEXT_HEAD_BYTES = 700 * (3 * 255 + 2) + 3;
