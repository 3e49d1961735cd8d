#pragma once
// TBlobSnake: the red-headed snake worth 1000 points. A pointed head flies at
// 2 units a frame towards a remembered place of the ship, turning 4 degrees a
// frame until it lines up, and re-aims when it gets there (or after a full
// circle without lining up). Fourteen shrinking, fading mirror copies of the
// head trail behind it. Only the head collides; 25 hits kill it, and it
// appears at once, without a grow-in.
//
// The level manager sets its collision radius and switches it on: Create
// leaves it inactive.
#include <array>

#include "enemies/blobEnemy.h"

class TBlobSnake : public TBlobEnemy {
 public:
  static constexpr int SegmentCount = 32;
  static constexpr int SegmentEvery = 3;  // a trail sample every third frame
  static constexpr int TailFirst = 5;     // tail copies sit on every other sample from here
  static constexpr float SnakeSpeed = 2.0f;

  TBlobSnake();
  void Create() override;

  // Past head positions, newest first; the head is drawn at element 0.
  std::array<TVector3, SegmentCount> Segments;
  int SegmentTimer;  // frames since the last trail sample
  TVector3 HeadColour;
  TVector3 TailColour;
  int WantedHeading;  // whole-degree heading from the head to Target
  int TurnRate;       // +4 or -4 degrees a frame, chosen at spawn
  int TurnTotal;      // degrees turned since the last re-aim
  bool OnCourse;      // flying straight at Target
  // The last picture's flash: the head half bright, the tail white.
  bool HeadFlashShown = false;
  bool TailFlashShown = false;

 protected:
  void UpdateSpawning() override;
  void UpdateAlive() override;
  void UpdateDying() override;
  void DrawAlive() const override;  // head and tail
  void DrawDying() const override;  // the wreck and the points value

 private:
  void Steer();
  void TakeTrailSample();
  // The hit head's sparks and flash frame, and its picture.
  void FlashHead();
  void DrawHead() const;
  void DrawTail() const;
  void DrawWreck(float t) const;
  void EmitBodyBurst();
  // The outline's edges, each pushed out along its normal by Spread, as
  // separate lines in the current transform.
  void DrawEdgesApart() const;
  // Places the transform on a trail sample, pointing along the heading.
  void AtSegment(int i) const;
  // Pushes the transform of tail copy i, mirrored through its centre at scale
  // s; the caller pops it.
  void AtTailCopy(int i, float s) const;
  // The player's position, or where the snake already aims with no player.
  TVector3 PlayerPosition() const;
};
