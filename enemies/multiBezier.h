#pragma once
// TMultiBezier: the twelve tentacles of the last boss. Each is a cubic Bezier
// curve of four control points rooted near the arena centre, waving on its
// own; from time to time the selected one reaches for a target point (where
// the ship was) and then draws back. It only computes points: the boss draws
// them and tests bullets against the tips.
#include <array>

class TMultiBezier {
 public:
  static constexpr int TentacleCount = 12;
  static constexpr int ControlCount = 4;   // P0..P3, P3 is the tip
  static constexpr int SubCount = 7;       // the curve split once at its middle
  static constexpr int MaxHits = 16;       // a tentacle with this many hits is gone
  static constexpr int ReachLength = 512;  // ReachStep at full stretch

  struct TPoint2 {
    float X = 0, Y = 0;
  };

  struct TTentacle {
    std::array<TPoint2, ControlCount> ControlPoints;
    // P0, the six inner points of the two halves, and the tip (Sub[6] = P3).
    std::array<TPoint2, SubCount> Sub;
    float Wobble = 0;     // wave phase in degrees, 0..360
    float BaseAngle = 0;  // the tentacle's direction in degrees
    int Hits = 0;         // bullet hits at the tip, counted by the boss

    bool Destroyed() const { return Hits >= MaxHits; }
  };

  TMultiBezier();

  // Every tentacle back on the X axis, unhurt, at its start direction; no reach.
  void Reset();
  // One frame: wave each tentacle, move the selected tip, split the curves.
  void Update();
  // Moves the selected tentacle's tip to (x, y); the middle control points
  // follow by half the movement.
  void MoveTip(int x, int y);

  // Tentacles still standing.
  int LiveCount() const;

  std::array<TTentacle, TentacleCount> Tentacles;
  bool Reaching = false;
  int ReachStep = 0;  // 0..ReachLength
  int TargetX = 0, TargetY = 0;
  int Selected = 0;  // the tentacle that reaches

 private:
  void Animate(TTentacle& t);
  void ReachOrRetract();
  void ChooseSelected();
  void PullSelectedTip();
  static void Split(TTentacle& t);

  // Scratch list of the standing tentacles when choosing the next to reach.
  std::array<int, TentacleCount> Choices{};
};
