// Music and sound effects through the media command strings: CD tracks and MIDI
// files looped by the window's timers, and WAV sounds.
#include "sound/music.h"

#include <cstdio>
#include <cstring>

#include "platform/calls/media_calls.h"
#include "platform/media/track_files.h"
#include "reader/line_arguments.h"
#include "reader/named_files.h"
#include "reader/reader.h"
#include "reader/reading_warnings.h"
#include "reader/text_fields.h"

namespace {

constexpr std::uint32_t WAIT_AFTER_PLAY_MS = 500;

// Every CD command hands over the reply buffer and the window.
void SendCd(Reader& r, Window& window, const char* command) {
  mciSendStringA(r.platform, command, r.state.MciReply, sizeof r.state.MciReply, &window);
}

// MIDI commands hand over no reply buffer; only the play commands name the window.
void SendMidi(Reader& r, const char* command, Window* window = nullptr) {
  mciSendStringA(r.platform, command, nullptr, 0, window);
}

// The loop timer of a line; a period that reads as 0 or less sets none, so the
// music plays once instead of restarting without pause.
void SetLoopTimer(Window& window, UINT timer, std::int32_t period_seconds) {
  if (period_seconds > 0) {
    SetTimer(window, timer, static_cast<UINT>(period_seconds) * 1000u);
  } else {
    KillTimer(window, timer);
  }
}

// A named file that the reader cannot use; a line without a whole name was told of
// when its script was read.
void WarnAboutFile(Reader& r, NamedFile kind, const char* name_sjis) {
  const std::optional<std::string> problem =
      NamedFileProblem(kind, *r.platform.volume, name_sjis);
  if (problem) WarnAtCurrentLine(r, *problem);
}

// "CD" run by the interpreter, and its replay after a page replay.
void PlayOrStopCd(Reader& r, Window& window, const char* line, bool closes_midi) {
  const std::int32_t track = ReadNumber(line, CD_TRACK_COLUMNS);
  r.state.CdTrack = track;
  if (track != 0) {
    PlayCdTrack(r, window, track);
    SetLoopTimer(window, TIMER_CD_LOOP, ReadNumber(line, CD_PERIOD_COLUMNS));
    return;
  }
  StopCd(r, window);
  // A replayed line leaves the MIDI music playing.
  if (closes_midi) SendMidi(r, "close midi");
  KillTimer(window, TIMER_CD_LOOP);
}

}  // namespace

void PlayCdTrack(Reader& r, Window& window, int track) {
  char play[256];
  std::snprintf(play, sizeof play, "play cdaudio from %d", track);
  SendCd(r, window, "open cdaudio");
  SendCd(r, window, "set cdaudio time format tmsf");
  SendCd(r, window, play);
  Sleep(r.platform, WAIT_AFTER_PLAY_MS);
}

void StopCd(Reader& r, Window& window) {
  SendCd(r, window, "open cdaudio");
  SendCd(r, window, "set cdaudio time format tmsf");
  SendCd(r, window, "stop cdaudio");
  SendCd(r, window, "close cdaudio");
}

void CmdCd(Reader& r, Window& window) {
  const char* line = r.state.ScriptLines[r.state.CurrentLine];
  const std::int32_t track = ReadNumber(line, CD_TRACK_COLUMNS);
  if (track > 0) {
    if (const auto file = FindTrackFile(*r.platform.volume, track); !file) {
      WarnAtCurrentLine(r, TrackProblemMessage(r.platform.shift_jis, track, file.error()));
    }
  }
  PlayOrStopCd(r, window, line, true);
}

void RestoreCd(Reader& r, Window& window, const char* line) {
  PlayOrStopCd(r, window, line, false);
}

void CmdMidi(Reader& r, Window& window) {
  ReaderState& s = r.state;
  const char* line = s.ScriptLines[s.CurrentLine];
  char name[MIDI_NAME_SIZE];
  char path[256];
  char open[256];
  // A line without a whole quoted name, or a path too long for the open command,
  // plays nothing and leaves the music as it is.
  if (!QuotedName(line, name, sizeof name)) return;
  WarnAboutFile(r, NamedFile::Midi, name);
  const int path_length = std::snprintf(path, sizeof path, "%s\\%s", s.WorkingDirectory, name);
  const int open_length =
      std::snprintf(open, sizeof open, "open \"%s\" type sequencer alias midi", path);
  if (path_length < 0 || static_cast<std::size_t>(path_length) >= sizeof path || open_length < 0 ||
      static_cast<std::size_t>(open_length) >= sizeof open) {
    const std::size_t path_bytes = std::strlen(s.WorkingDirectory) + 1 + std::strlen(name);
    WarnAtCurrentLine(r, MidiPathTooLongMessage(r.platform.shift_jis.ToUtf8(name), path_bytes));
    return;
  }

  SendMidi(r, "close midi");
  SendMidi(r, open);
  SendMidi(r, "seek midi to start");
  SendMidi(r, "play midi", &window);
  SetLoopTimer(window, TIMER_MIDI_LOOP, ReadNumber(line, MIDI_PERIOD_COLUMNS));
}

void CmdWave(Reader& r) {
  char name[WAVE_NAME_SIZE];
  if (!QuotedName(r.state.ScriptLines[r.state.CurrentLine], name, sizeof name)) return;
  WarnAboutFile(r, NamedFile::Sound, name);
  sndPlaySoundA(r.platform, name, SND_ASYNC);
}

void RestartMidi(Reader& r, Window& window) {
  SendMidi(r, "seek midi to start");
  SendMidi(r, "play midi ", &window);
  Sleep(r.platform, WAIT_AFTER_PLAY_MS);
}

void RestartCdTrack(Reader& r, Window& window) {
  ReaderState& s = r.state;
  FormatField(s.CdCommand, "play cdaudio from %d", s.CdTrack);
  SendCd(r, window, "open cdaudio");
  SendCd(r, window, "set cdaudio time format tmsf");
  SendCd(r, window, s.CdCommand);
  Sleep(r.platform, WAIT_AFTER_PLAY_MS);
}
