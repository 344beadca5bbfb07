// Quit signals taken with sigwait on a thread of their own.
#include "platform/sdl/quit_signals.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>

#include <thread>

namespace {

sigset_t QuitSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&signals, signal);
  return signals;
}

// Before SDL's events run there is no loop to tell: the signal does what it always did.
void PostQuit(int signal) {
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    if (SDL_PushEvent(&quit) == 1) return;
  }
  ::signal(signal, SIG_DFL);
  const sigset_t signals = QuitSignals();
  pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
  raise(signal);
}

}  // namespace

void BlockQuitSignals() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const sigset_t signals = QuitSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void TakeQuitSignals() {
  const sigset_t signals = QuitSignals();
  // It waits until the process ends; nothing is left to join.
  std::thread([signals] {
    for (;;) {
      int signal = 0;
      if (sigwait(&signals, &signal) == 0) PostQuit(signal);
    }
  }).detach();
}
