// Music and sound effects. They arrive with the sound layer; until then the lines
// are passed in silence.
#include "sound/music.h"

void CmdCd(Reader&, Window&) {}
void CmdMidi(Reader&, Window&) {}
void CmdWave(Reader&) {}
void PlayCdTrack(Reader&, Window&, int) {}
void StopCd(Reader&, Window&) {}
void RestoreCd(Reader&, Window&, const char*) {}
void RestartMidi(Reader&, Window&) {}
void RestartCdTrack(Reader&, Window&) {}
