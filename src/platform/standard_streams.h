// Standard input, output and error that the reader was started without (a desktop
// launcher or a shell's ">&-" may close them). A file or socket opened later would take
// the free descriptor: the X connection as descriptor 1, say, and the log, the text
// output or a warning line meant for standard output would go into the X stream.
//
// C++ streams on them are made only for the authors' check and the headless runner.
// The first stream a program makes reads in the C++ locale's tables, 0.4 MB of the
// library's pages that the window never needs; <iostream> makes its eight streams at
// start in every program that includes it, so the reader does not.
#pragma once

#include <istream>
#include <memory>
#include <ostream>

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Called first thing,
// before any library opens a file or a socket.
void OpenClosedStandardStreams();

// Streams on the C library's stdin, stdout and stderr, which they share buffers and
// order with.
class StandardStreams {
 public:
  StandardStreams();
  ~StandardStreams();
  StandardStreams(const StandardStreams&) = delete;
  StandardStreams& operator=(const StandardStreams&) = delete;

  std::istream& in() { return in_; }
  std::ostream& out() { return out_; }
  std::ostream& err() { return err_; }

 private:
  struct Buffers;
  std::unique_ptr<Buffers> buffers_;
  std::istream in_;
  std::ostream out_;
  std::ostream err_;
};
