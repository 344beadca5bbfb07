// The signals that ask a program to end (SIGTERM from logout or timeout, SIGINT,
// SIGHUP) as the window's quit. SDL's own handlers only set a flag that its wait
// looks at when the next event comes, so a quit could sit unseen while the reader
// waits; here a thread of its own waits for the signals and posts SDL's quit
// event, which wakes any wait of the program: its main loop, a menu, a message.
#pragma once

// Blocks the signals in the calling thread, and so in every thread started after,
// and starts the thread that takes them. Call it before SDL starts.
void TakeQuitSignals();
