// A read-only SDL_RWops over a regular file, with an optional header of our own in
// front of a range of the file (a WAV track's checked header before its samples).
#include "platform/audio/track_stream.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/media/wave_file.h"

namespace {

struct CheckedStream {
  std::unique_ptr<ByteSource> file;
  std::vector<std::uint8_t> header;
  std::uint64_t offset = 0;    // of the range in the file
  std::uint64_t bytes = 0;     // of the range
  std::uint64_t position = 0;  // in the stream: the header, then the range

  std::uint64_t size() const { return header.size() + bytes; }
};

CheckedStream& StreamOf(SDL_RWops* rw) {
  return *static_cast<CheckedStream*>(rw->hidden.unknown.data1);
}

Sint64 StreamSize(SDL_RWops* rw) { return static_cast<Sint64>(StreamOf(rw).size()); }

Sint64 StreamSeek(SDL_RWops* rw, Sint64 offset, int whence) {
  CheckedStream& s = StreamOf(rw);
  const Sint64 base = whence == RW_SEEK_SET   ? 0
                      : whence == RW_SEEK_CUR ? static_cast<Sint64>(s.position)
                                              : static_cast<Sint64>(s.size());
  if ((whence != RW_SEEK_SET && whence != RW_SEEK_CUR && whence != RW_SEEK_END) || offset < -base ||
      offset > static_cast<Sint64>(s.size()) - base) {
    return SDL_SetError("seek outside the stream");
  }
  s.position = static_cast<std::uint64_t>(base + offset);
  return static_cast<Sint64>(s.position);
}

size_t StreamRead(SDL_RWops* rw, void* out, size_t size, size_t count) {
  CheckedStream& s = StreamOf(rw);
  if (size == 0 || count == 0) return 0;
  const std::uint64_t left = s.size() - std::min(s.position, s.size());
  const std::uint64_t wanted =
      std::min<std::uint64_t>(left, count > SIZE_MAX / size ? SIZE_MAX : size * count);
  auto* bytes = static_cast<std::uint8_t*>(out);
  std::uint64_t done = 0;
  if (s.position < s.header.size()) {
    done = std::min<std::uint64_t>(wanted, s.header.size() - s.position);
    std::copy_n(s.header.begin() + static_cast<std::ptrdiff_t>(s.position), done, bytes);
  }
  if (done < wanted) {
    const std::uint64_t in_range = s.position + done - s.header.size();
    done += s.file->ReadAt(s.offset + in_range,
                           {bytes + done, static_cast<std::size_t>(wanted - done)});
  }
  s.position += done;
  return static_cast<size_t>(done / size);
}

size_t StreamWrite(SDL_RWops*, const void*, size_t, size_t) {
  SDL_SetError("the stream is read-only");
  return 0;
}

int StreamClose(SDL_RWops* rw) {
  delete &StreamOf(rw);
  SDL_FreeRW(rw);
  return 0;
}

SDL_RWops* OpenStream(CheckedStream stream) {
  SDL_RWops* rw = SDL_AllocRW();
  if (rw == nullptr) return nullptr;
  rw->size = StreamSize;
  rw->seek = StreamSeek;
  rw->read = StreamRead;
  rw->write = StreamWrite;
  rw->close = StreamClose;
  rw->type = SDL_RWOPS_UNKNOWN;
  rw->hidden.unknown.data1 = new CheckedStream(std::move(stream));
  return rw;
}

// SDL_mixer's decoder of each format.
Mix_MusicType MusicType(TrackKind kind) {
  switch (kind) {
    case TrackKind::OggVorbis: return MUS_OGG;
    case TrackKind::Flac: return MUS_FLAC;
    case TrackKind::Mp3: return MUS_MP3;
    case TrackKind::Wave: return MUS_WAV;
  }
  return MUS_NONE;
}

}  // namespace

ErrorOr<Mix_Music*, std::string> LoadTrackMusic(std::unique_ptr<ByteSource> file,
                                                const TrackFormat& format) {
  CheckedStream stream{std::move(file), {}, 0, 0, 0};
  stream.bytes = stream.file->size();
  const std::string refused = "its header is no ." + std::string(format.extension) +
                              " header that the reader plays";
  if (format.checked_start == nullptr) {
    std::optional<WaveLayout> layout = ReadWaveLayout(*stream.file, WaveUse::CdTrack);
    if (!layout) return refused;
    stream.header = std::move(layout->header);
    stream.offset = layout->data_offset;
    stream.bytes = layout->data_bytes;
  } else {
    const std::optional<std::uint64_t> start = format.checked_start(*stream.file);
    if (!start) return refused;
    stream.offset = *start;
    stream.bytes -= *start;
  }
  SDL_RWops* rw = OpenStream(std::move(stream));
  if (rw == nullptr) return std::string(SDL_GetError());
  // The mixer closes the stream, also when the load fails.
  Mix_Music* music = Mix_LoadMUSType_RW(rw, MusicType(format.kind), SDL_TRUE);
  if (music == nullptr) return "the decoder refuses it: " + std::string(Mix_GetError());
  return music;
}
