// Music and sound effects through the media command strings: CD tracks and MIDI
// files that loop by timers, and WAV sounds.
#pragma once

struct Reader;
class Window;

void CmdCd(Reader& r, Window& window);
void CmdMidi(Reader& r, Window& window);
void CmdWave(Reader& r);
void PlayCdTrack(Reader& r, Window& window, int track);
void StopCd(Reader& r, Window& window);
void RestoreCd(Reader& r, Window& window, const char* line);
void RestartMidi(Reader& r, Window& window);
void RestartCdTrack(Reader& r, Window& window);
