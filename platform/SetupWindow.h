#pragma once
// Shows the setup dialog in its own small window before the game opens.
#include "platform/GLFrame.h"

// True when the player pressed "Play!"; the request then holds the choices.
bool RunSetupDialog(TWindowRequest& request);
