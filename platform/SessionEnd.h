#pragma once
// The session can end under the running game: the X display goes away (the
// server stops, or its connection is killed with the window), the window is
// destroyed by another client, or the terminal hangs up. None may lose the
// game in progress: its replay and a new best score are written before the
// process ends.
class TGameHost;

// Once, after SDL has opened its video: from then on a lost display
// connection ends the game being kept (below) as its end would, saves, says
// so on standard error and ends the process with code 1. A hangup while a
// game is kept asks the frame for an ordinary quit; otherwise it ends the
// process as it always would.
void InstallSessionEndHandlers();
// The game to finish and save when the session ends; nullptr for none.
void KeepGameOnSessionEnd(TGameHost* game);
// The game window's X id: an error about it (or any window or drawable) means
// it was destroyed under the game. From then on X errors are only noted: the
// frame quits as on SDL_QUIT, which saves on the way out.
void WatchGameWindow(void* xDisplay, unsigned long xWindow);
// Before SDL closes the display: the errors that destroying a lost window
// still has in flight are taken here, not by Xlib's default handler (which
// would end the process with code 1 after an ordinary quit).
void SettleLostWindow();
// True once the game window was found destroyed.
bool WindowLost();
// What ending the session now does to the game, in words for standard error
// ("the game in progress was ended and saved").
const char* WhatEndingDoes(const TGameHost& game);
// True once a hangup arrived while a game was kept: the frame quits as on
// SDL_QUIT, which saves on the way out.
bool HangupRequested();
