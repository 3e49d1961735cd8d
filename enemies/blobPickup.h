#pragma once
// TBlobPickup: a bonus left in the arena by the level script. Two spinning
// rectangles with the bonus's abbreviation between them; touched by the ship
// it bursts and shows its full name. It can be shot away (five hits, no
// bonus) and vanishes by itself after 1000 frames, blinking in the second half.
#include <cstdint>
#include <string_view>

#include "enemies/blobEnemy.h"

class TBlobPlayer;

namespace PickupKinds {
constexpr std::uint8_t Velocity1 = 0;
constexpr std::uint8_t Velocity2 = 1;
constexpr std::uint8_t Velocity3 = 2;
constexpr std::uint8_t Energy10 = 3;
constexpr std::uint8_t Energy50 = 4;
constexpr std::uint8_t Bullet1 = 5;
constexpr std::uint8_t Bullet2 = 6;
constexpr std::uint8_t Bullet3 = 7;
constexpr std::uint8_t GraviBomb = 8;
constexpr std::uint8_t Count = 9;
}  // namespace PickupKinds

// Gives the ship a pickup's bonus: speed, repair (damage never below 0),
// bullet level or one more gravi-bomb. An unknown kind gives nothing.
void ApplyPickup(TBlobPlayer& player, std::uint8_t kind);

class TBlobPickup : public TBlobEnemy {
 public:
  static constexpr int BlinkAge = 500;  // blinking from the frame after this
  static constexpr int MaxAge = 1000;   // gone without an explosion after this

  TBlobPickup();
  void Create() override;

  // The spawn arguments, and the kind's names and colours from PickupKind
  // (set it first). The age starts again from 0.
  void SetSpawn(const TVector3& position, int lives, bool fixedSpawn, const TVector3& extra);
  // The ship took the bonus: burst and show the full name.
  void Collect();

  int Age;        // frames shown since SetSpawn
  int FadeTimer;  // blink cycle in the second half of its life
  TVector3 TextColour;
  std::string_view PickupName;    // shown when collected
  std::string_view PickupAbbrev;  // drawn on the pickup
  float SpinAngle;
  bool Collected;
  std::uint8_t PickupKind;

 protected:
  void UpdateSpawning() override;
  void UpdateAlive() override;
  void DrawDyingText(float t) const override;
  // Spawning and alive it shows the same: the pickup itself.
  void DrawSpawning() const override { DrawPickup(); }
  void DrawAlive() const override { DrawPickup(); }

 private:
  // Ages, blinks and spins it, and takes its picture when it shows.
  void ShowPickup();
  void DrawPickup() const;
  void DrawFrame(float angle, float ax, float ay, float az) const;
  float ShownAngle = 0;  // the frames' turn in the last picture
};
