#include "platform/SessionEnd.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "app/GameHost.h"

// Last: Xlib's macros (Bool, None, Status) must not meet the game's headers.
// clang-format off
#include <X11/Xlib.h>
// clang-format on

namespace {
TGameHost* KeptGame = nullptr;
volatile std::sig_atomic_t GameKept = 0;
volatile std::sig_atomic_t Hangup = 0;

// Xlib ends the process itself when this returns, so everything happens
// here. The connection is gone: nothing below may call X or GL, and the game
// object's end and save touch neither (only its lists and two files).
int OnDisplayLost(Display*) {
  TGameHost* game = KeptGame;
  KeptGame = nullptr;
  GameKept = 0;
  if (game) {
    game->EndSession();
    std::fputs("quadrovolt: the display went away; the game was ended and saved\n", stderr);
  } else {
    std::fputs("quadrovolt: the display went away\n", stderr);
  }
  std::fflush(stdout);
  // Not exit(): its handlers would tear down the GL driver and SDL, which
  // would talk to the display that is no longer there.
  ::_exit(1);
}

void OnHangup(int) {
  if (GameKept) {
    Hangup = 1;
    return;
  }
  // No game to keep (the setup dialog, or already saved): end as before.
  std::signal(SIGHUP, SIG_DFL);
  std::raise(SIGHUP);
}
}  // namespace

void InstallSessionEndHandlers() {
  XSetIOErrorHandler(OnDisplayLost);
  struct sigaction action {};
  action.sa_handler = OnHangup;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGHUP, &action, nullptr);
}

void KeepGameOnSessionEnd(TGameHost* game) {
  KeptGame = game;
  GameKept = game != nullptr;
}

bool HangupRequested() { return Hangup != 0; }
