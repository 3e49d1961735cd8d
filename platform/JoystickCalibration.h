#pragma once
// Turns a pad's raw stick and trigger readings into the calibrated values the
// game reads: a stick resting a little off-centre reads exact centre, and full
// deflection still reaches the ends of the game's 0..65535 range. Plain
// arithmetic with no SDL in it, so it is tested on its own.

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
