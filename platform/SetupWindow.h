#pragma once
// Shows the setup dialog in its own small window before the game opens.
#include "board/BoardSettings.h"
#include "platform/GLFrame.h"

enum class TSetupOutcome {
  Play,    // the player pressed "Play!": the request holds the choices
  Quit,    // Escape, or the dialog's window closed
  Failed,  // no window with an OpenGL context could be had (SDL_GetError says why)
};

// The score board's settings are shown as they are and, after "Play!",
// hold the player's choices.
TSetupOutcome RunSetupDialog(TWindowRequest& request, TBoardSettings& board);
