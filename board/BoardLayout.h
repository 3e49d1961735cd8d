#pragma once
// Where the title puts the score board: this week's top ten in two columns
// in the band above the game's name, the player's rank at the band's top
// right, and the last game's verdict under the start-level strip.
#include "board/BoardView.h"

class TGLPrinter;

void DrawBoardView(const TBoardView& view, const TGLPrinter& printer);
