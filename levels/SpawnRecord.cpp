#include "levels/SpawnRecord.h"

TSpawnRecord MakeSpawnRecord(int level, std::uint8_t action, std::uint8_t trigger, int tick, std::uint8_t kind,
                             const TVector3& position, int lives, bool fixedSpawn, const TVector3& extra,
                             const std::string& text, bool skip, int param) {
  TSpawnRecord row;
  row.Level = level;
  row.Action = action;
  row.Trigger = trigger;
  row.Tick = tick;
  row.Kind = kind;
  row.Position = position;
  row.Lives = lives;
  row.FixedSpawn = fixedSpawn;
  row.Extra = extra;
  row.Text = text;
  row.Skip = skip;
  row.Param = param;
  return row;
}
