#pragma once
// The automatic pilot's moves, shared by the desktop tools' pilot and the
// page's (pilot=1): on the title it picks the start level and holds fire
// (and Space, for bombs); in play it drags the ship's target, every
// PilotSwingFrames steps, to the next point of one curve round the arena.
// Everything goes through the host, as a player's input would.
class TGameHost;

// Steps between two moves of the target.
constexpr int PilotSwingFrames = 50;

struct TPilotPoint {
  int X = 0, Y = 0;
};

// Where the target is dragged at step number frame (counted from 0), in a
// picture of width x height pixels: the curve is drawn in the game's
// 1024 x 768 picture and scaled to any other.
TPilotPoint PilotTargetAt(int frame, int width = 1024, int height = 768);

// On the title: the start level shown, fire held from now on, and Space held
// when bombs are wanted.
void StartPilotGame(TGameHost& host, int level, bool bombs);

// Before the step of number frame: on every PilotSwingFrames-th step, the
// pointer to PilotTargetAt and one click of the right button there.
void SwingPilotTarget(TGameHost& host, int frame, int width = 1024, int height = 768);
