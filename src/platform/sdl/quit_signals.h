// The signals that ask a program to end (SIGTERM from logout or timeout, SIGINT,
// SIGHUP) as the window's quit. SDL's own handlers only set a flag that its wait
// looks at when the next event comes, so a quit could sit unseen while the reader
// waits; here a thread of its own waits for the signals and posts SDL's quit
// event, which wakes any wait of the program: its main loop, a menu, a message.
#pragma once

// Blocks the signals in the calling thread, and so in every thread started after.
// Call it before SDL starts; a signal then waits until they are taken.
void BlockQuitSignals();
// Starts the thread that takes them. It is started once the window is open rather
// than with the blocking: from a program's second thread on, the C library locks
// every character read through stdio, and X's input method reads its compose table
// (hundreds of kilobytes) a character at a time while SDL starts and the window opens.
void TakeQuitSignals();
