#pragma once
// Turns a pad's raw stick and trigger readings into the calibrated values the
// game reads: a stick resting a little off-centre reads exact centre, and full
// deflection still reaches the ends of the game's 0..65535 range. Plain
// arithmetic with no SDL in it: the desktop's SDL pads and the page's browser
// pads share it, and it is tested on its own. Raw readings are in SDL's units,
// which the browser's -1..1 readings are turned into first.
#include <cstddef>

#include "app/Joystick.h"

// The band around rest, as a share of full deflection, that reads as rest:
// about what a worn stick or a lightly touched trigger shows at rest.
constexpr double StickDeadBand = 0.08;

// The game's axis value at rest.
constexpr unsigned AxisCentre = 32767;

struct TStickReading {
  unsigned X = AxisCentre;
  unsigned Y = AxisCentre;
};

// One stick's two axes as SDL reports them (-32768..32767, y down) to the
// game's 0..65535 (32767 at rest, y still down). The band is radial: the
// stick's distance from rest decides, and beyond the band the distance is
// rescaled so the direction is kept and full deflection reads 0 or 65535.
TStickReading CalibrateStick(int rawX, int rawY);

// A single axis with no rest band (a flight stick's throttle has no rest):
// SDL's -32768..32767 to 0..65535, 0 reading 32767.
unsigned ScaleAxis(int raw);

// A trigger as SDL reports it (0 released .. 32767 fully pulled) to 0..65535,
// with the first part of its travel reading 0.
unsigned CalibrateTrigger(int raw);

// One reading of a pad in SDL's units. A pad with the standard layout (SDL's
// game controller, or the browser's "standard" mapping) has both sticks and a
// right trigger; a plain joystick has its axes and buttons in its own order.
struct TPadRaw {
  int LeftX = 0, LeftY = 0;
  int RightX = 0, RightY = 0;
  int RightTrigger = 0;  // 0 released .. 32767 fully pulled
  // The face buttons by where they sit on the pad (south is Xbox A).
  bool West = false, North = false, South = false, East = false;
};

// A standard pad as the game reads it: the left stick flies, the right stick
// aims (and fires), the right trigger fires; west, north, south and east are
// the game's buttons 1 to 4.
TJoyInfo ReadStandardPad(const TPadRaw& pad);

// A plain joystick: its first two axes fly (with the rest band), the third is
// the z axis, its first four buttons are the game's four; no right stick.
// Missing axes read rest, missing buttons read up.
TJoyInfo ReadPlainJoystick(const int* axes, std::size_t axisCount, const bool* buttons, std::size_t buttonCount);

// The browser's readings in SDL's units: an axis -1..1 (y down, as SDL's) to
// -32768..32767, a trigger's 0..1 to 0..32767. Out of range (or not a number,
// as a confused driver may send) reads the nearest end, or rest.
int AxisFromUnit(double unit);
int TriggerFromUnit(double unit);

// Which of the pads the browser (or SDL) lists is read: the one in use for as
// long as it stays connected, otherwise the first connected one, or none (-1).
// A pad plugged in later never takes over from the one in use.
class TPadChoice {
 public:
  int Choose(const bool* connected, std::size_t count);

 private:
  int InUse = -1;
};
