// Names of the reader's modes, for the record.
#include "reader/reader_state.h"

const char* ReaderModeName(std::int32_t mode) {
  switch (mode) {
    case ModeCooldown: return "ModeCooldown";
    case ModeReady: return "ModeReady";
    case ModeChoosing: return "ModeChoosing";
    case ModeFinished: return "ModeFinished";
    default: return "ModeUnknown";
  }
}
