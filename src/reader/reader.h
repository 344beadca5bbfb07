// The Reader context: the one ReaderState of a running reader, together with the
// platform it runs on and the reading aids around it. Every procedure of the reader
// takes it by reference.
#pragma once

#include "platform/platform.h"
#include "reader/reader_state.h"
#include "reader/reading_aids.h"

struct Reader {
  explicit Reader(Platform& platform_in) : platform(platform_in) {}
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  Platform& platform;
  ReaderState state;
  ReadingAids aids;
};
