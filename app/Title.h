#pragma once
// TTitle: the title screen's own state and pictures. The strip of start
// levels (where it is scrolled, which level its middle slot offers, its
// scroll pace), the typewriter text's pace, the ring of sparks round the
// cursor and the trail it leaves, and the score board the title shows.
#include "board/BoardView.h"

class TGLPrinter;
class TParticleEngine;

class TTitle {
 public:
  static constexpr int LastLevel = 40;

  // Every fifth step while an arrow is held the strip moves one level, the
  // left arrow first; past either end it comes round again.
  void ScrollStrip(bool left, bool right);
  // The level in the strip's middle slot when it is open (up to maxLevel),
  // else -1: nothing may be started from it.
  int ChooseStartLevel(int maxLevel);
  // The strip shows this start level in its middle slot.
  void ShowStartLevel(int level) { Offset = level - MiddleSlot; }

  // The typewriter text one step on.
  void TypeText(TGLPrinter& printer);
  // The point that circles the cursor throws its ring of sparks; a cursor
  // that moved leaves a trail of yellow dust.
  void Sparkle(TParticleEngine& particles, int cursorX, int cursorY);

  // The title's name, the strip scrolled to stripOffset with the levels up
  // to maxLevel open, the score board and the typewriter text.
  void Draw(const TGLPrinter& printer, int stripOffset, int maxLevel) const;

  void ShowBoard(const TBoardView& view) { BoardShown = view; }
  const TBoardView& Board() const { return BoardShown; }

  // The strip as it stands (a replay watched from the title moves it on, and
  // the title gets it back afterwards).
  struct TStrip {
    int Offset = -4;
    int Selected = 1;
    int ScrollDelay = 0;
  };
  TStrip Strip() const { return TStrip{Offset, Selected, StripDelay}; }
  void PutBack(const TStrip& strip) {
    Offset = strip.Offset, Selected = strip.Selected, StripDelay = strip.ScrollDelay;
  }

  int StripOffset() const { return Offset; }
  // The middle slot's level when it is open, -1 when it is locked.
  int SelectedLevel() const { return Selected; }
  int StripScrollDelay() const { return StripDelay; }
  int TextShown() const { return ScrollShown; }
  int TextCountdown() const { return ScrollCountdown; }
  int SparkAngle() const { return Angle; }

 private:
  friend class TArrange;  // tests: the strip's pace set for the step they check
  static constexpr int LevelSlots = 10;
  static constexpr int MiddleSlot = 5;
  void DrawStrip(const TGLPrinter& printer, int stripOffset, int maxLevel) const;

  int Offset = -4;
  int Selected = 1;
  int StripDelay = 0;
  int ScrollShown = 0;
  int ScrollDelay = 4;
  int ScrollCountdown = 0;
  int Angle = 0;
  int LastCursorX = 0, LastCursorY = 0;
  TBoardView BoardShown;  // sharing off: not shown
};
