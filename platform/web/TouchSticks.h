#pragma once
// The page's touch controls: two virtual sticks and a bomb button, read as a
// standard pad so a touch game plays, records and replays as a pad game. A
// finger that lands on the left half of the screen is the left stick (it
// flies the ship), one on the right half the right stick (it aims and fires);
// each stick's centre is where its finger landed, and the finger's distance
// from there, up to one stick radius, is the stick's deflection. The sticks
// rest in the picture's bars when there are bars wide enough (beside a
// landscape picture, under a portrait one), else over its lower corners. No
// emscripten here: the rules are tested natively.
#include "app/Replay.h"

class TTouchSticks {
 public:
  enum class TPhase { Start, Move, End };

  // The page's size and the picture's, centred in it, in CSS pixels.
  void Resize(double width, double height, double pictureWidth, double pictureHeight);
  // One finger's change; ids are the browser's touch identifiers.
  void Touch(int id, TPhase phase, double x, double y);
  // Every finger lifted (the page lost the focus, the touch was cancelled).
  void LiftAll();

  // The two sticks as a pad. On the title a finger down (or one that came
  // and went since the last step) presses the south button, which starts play.
  TJoyReading Reading(bool onTitle) const;
  // A step has read the pad: a tap that came and went has been seen.
  void Seen() { Tapped = false; }
  bool BombHeld() const { return BombId >= 0; }

  struct TStickView {
    bool Active = false;
    double BaseX = 0, BaseY = 0;  // the stick's centre
    double KnobX = 0, KnobY = 0;  // the finger, kept within the radius
  };
  TStickView Stick(int index) const;
  double Radius() const { return StickRadius; }
  double BombX() const { return BombCentreX; }
  double BombY() const { return BombCentreY; }
  double BombRadius() const { return StickRadius * 0.6; }

 private:
  struct TStick {
    int Id = -1;
    double BaseX = 0, BaseY = 0, X = 0, Y = 0;
    double RestX = 0, RestY = 0;
  };
  // A stick's deflection, each axis -1..1, y down.
  void Deflection(const TStick& stick, double& dx, double& dy) const;

  TStick Sticks[2];
  int BombId = -1;
  bool Tapped = false;
  double Width = 0;
  double StickRadius = 60, BombCentreX = 0, BombCentreY = 0;
};
