#pragma once
// What makes the page as complete as the desktop, beside the page's host: the
// browser's pads, full screen (the F key and a button; the picture keeps its
// 4:3 shape as in any page shape), and the replays (a finished game's offered
// as a download, a replay file picked to be watched).
#include "app/GameHost.h"

// Once, when the game first runs: the full-screen key and button, and the
// replay file input.
void ConnectPageExtras();
// Before a frame's steps: the pad as it reads now; true when one is connected.
bool ReadPagePad(TGameHost& host);
// After a frame's steps: a game that ended offers its replay and shows its
// final line; a picked replay starts on the title.
void AfterPageFrame(TGameHost& host);
