#pragma once
// One row of the level script: in level L, at frame Tick of the level clock,
// spawn an entity of Kind (or set the level's kill quota).
#include <cstdint>
#include <string>

#include "gfx/PdxLib3DTypes.h"

constexpr std::uint8_t ActionSpawn = 1;
constexpr std::uint8_t ActionSetQuota = 2;
constexpr std::uint8_t TriggerOnTick = 2;

struct TSpawnRecord {
  int Level = 0;
  std::uint8_t Action = 0;
  std::uint8_t Trigger = 0;
  int Tick = 0;
  std::uint8_t Kind = 0;
  TVector3 Position;
  int Lives = 0;
  bool FixedSpawn = false;
  TVector3 Extra;
  std::string Text;
  bool Skip = false;
  int Param = 0;
};

TSpawnRecord MakeSpawnRecord(int level, std::uint8_t action, std::uint8_t trigger, int tick, std::uint8_t kind,
                             const TVector3& position, int lives, bool fixedSpawn, const TVector3& extra,
                             const std::string& text, bool skip, int param);
