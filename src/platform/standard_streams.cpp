// Closed standard descriptors opened on /dev/null; C++ streams on stdin, stdout and
// stderr made when asked for.
#include "platform/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ext/stdio_sync_filebuf.h>
#include <initializer_list>

void OpenClosedStandardStreams() {
  for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor, which is this one once those below it are open.
    const int opened = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened < 0 || opened == descriptor) continue;
    dup2(opened, descriptor);
    close(opened);
  }
}

// Unbuffered on the C streams, as std::cin and std::cout are while they keep in step
// with stdio: the C library's own buffers serve both.
struct StandardStreams::Buffers {
  __gnu_cxx::stdio_sync_filebuf<char> in{stdin};
  __gnu_cxx::stdio_sync_filebuf<char> out{stdout};
  __gnu_cxx::stdio_sync_filebuf<char> err{stderr};
};

StandardStreams::StandardStreams()
    : buffers_(std::make_unique<Buffers>()),
      in_(&buffers_->in),
      out_(&buffers_->out),
      err_(&buffers_->err) {}

StandardStreams::~StandardStreams() {
  out_.flush();
  err_.flush();
}
