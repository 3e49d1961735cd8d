#pragma once
// The session can end under the running game: the X display goes away (the
// server stops, or its connection is killed with the window), or the
// terminal hangs up. Neither may lose the game in progress: its replay and a
// new best score are written before the process ends.
class TGameHost;

// Once, after SDL has opened its video: from then on a lost display
// connection ends the game being kept (below) as its end would, saves, says
// so on standard error and ends the process with code 1. A hangup while a
// game is kept asks the frame for an ordinary quit; otherwise it ends the
// process as it always would.
void InstallSessionEndHandlers();
// The game to finish and save when the session ends; nullptr for none.
void KeepGameOnSessionEnd(TGameHost* game);
// True once a hangup arrived while a game was kept: the frame quits as on
// SDL_QUIT, which saves on the way out.
bool HangupRequested();
