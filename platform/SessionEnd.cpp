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
Display* GameDisplay = nullptr;
unsigned long GameWindow = 0;
bool GameWindowLost = false;

// Xlib calls this for every protocol error. The handler SDL leaves in place
// restores the display modes from inside it, which waits on Xlib's own lock
// when the error came out of a swap: the game hung for ever once its window
// was destroyed. Nothing here calls X; a lost window is only noted.
int OnXError(Display*, XErrorEvent* error) {
  const bool gone = error->error_code == BadWindow || error->error_code == BadDrawable ||
                    (GameWindow != 0 && error->resourceid == GameWindow);
  if (gone) GameWindowLost = true;
  return 0;
}

// Xlib ends the process itself when this returns, so everything happens
// here. The connection is gone: nothing below may call X or GL, and the game
// object's end and save touch neither (only its lists and two files).
int OnDisplayLost(Display*) {
  TGameHost* game = KeptGame;
  KeptGame = nullptr;
  GameKept = 0;
  if (game) {
    const char* what = WhatEndingDoes(*game);
    game->EndSession();
    std::fprintf(stderr, "quadrovolt: the display went away; %s\n", what);
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
  XSetErrorHandler(OnXError);
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

const char* WhatEndingDoes(const TGameHost& game) {
  if (game.Recording()) return "the game in progress was ended and saved";
  if (game.Watching()) return "the replay being watched was stopped; nothing needed saving";
  return "no game was in progress";
}

void WatchGameWindow(void* xDisplay, unsigned long xWindow) {
  GameDisplay = static_cast<Display*>(xDisplay);
  GameWindow = xWindow;
}

void SettleLostWindow() {
  if (GameWindowLost && GameDisplay) XSync(GameDisplay, False);
  GameDisplay = nullptr;
}

bool WindowLost() { return GameWindowLost; }
