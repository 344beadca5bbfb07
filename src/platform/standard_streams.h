// Standard input, output and error that the reader was started without (a desktop
// launcher or a shell's ">&-" may close them). A file or socket opened later would take
// the free descriptor: the X connection as descriptor 1, say, and the log, the text
// output or a warning line meant for standard output would go into the X stream.
#pragma once

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Called first thing,
// before any library opens a file or a socket.
void OpenClosedStandardStreams();
