#pragma once
// TLevelManager runs the forty scripted levels: one flat table of timed rows
// ("in level L at frame T spawn kind K here", "the kill quota is N"). Each
// frame it fires the rows whose time has come, recycling dead entities of the
// same kind, and it counts the kills; at the quota it restarts its clock and
// tells the game object the level is complete.
#include <cstdint>
#include <vector>

#include "entities/blobEvent.h"
#include "levels/SpawnRecord.h"

class TBlob;
class TWorld;

class TLevelManager {
 public:
  static constexpr int PodChildren = 12;

  // Builds the whole forty-level script and spawns into the world's lists,
  // wiring each entity to the world's ship, particles, printer and sounds.
  explicit TLevelManager(TWorld& world);
  // Runs the given rows instead (levels in ascending order, each contiguous).
  TLevelManager(TWorld& world, std::vector<TSpawnRecord> script);
  // The script alone, with no world to spawn into: its rows fire, nothing
  // is made.
  TLevelManager();
  explicit TLevelManager(std::vector<TSpawnRecord> script);

  TLevelManager(const TLevelManager&) = delete;
  TLevelManager& operator=(const TLevelManager&) = delete;

  // One frame of the level clock: fires the rows of this level due now.
  // A level outside 0..LevelCount-1 fires nothing.
  void Update(int level);
  // A new game: every row armed again, every enemy off, the clock at 0.
  void Reset();
  // Draws the forty-level script again from the random generator as it
  // stands (a replay made under another script brings its own).
  void Rebuild();

  // The first inactive entity of that kind in Enemies, or null.
  TBlob* FindInactive(std::uint8_t kind) const;

  // Script building: what a level's kill quota should be, and where it starts.
  int CountAliens(int level) const;
  void SetQuota(int level, int count);
  int FirstRecordOfLevel(int level) const;

  // OnDestroyed handlers handed to the spawned entities.
  void EnemyDestroyed(TBlob* sender);
  void GravitarDestroyed(TBlob* sender);
  void PodDestroyed(TBlob* sender);
  void PickupDestroyed(TBlob* sender);

  // Recycles (re-running its Create) or makes an entity of that kind and puts
  // it in the world's Enemies; null for a kind that cannot be spawned or with
  // no world.
  TBlob* Obtain(std::uint8_t kind);

  std::vector<int> LevelStart;
  TBlobEvent OnLevelComplete;  // fired with a null sender
  int Quota = 0;
  int Destroyed = 0;
  int Tick = 0;
  std::vector<TSpawnRecord> Spawns;
  int LevelCount = 1;

  // What the spawned entities live in and are wired to (null: none).
  TWorld* World() const { return Arena; }

 private:
  void BuildIndex();
  void SpawnRow(const TSpawnRecord& row);
  void CountKill();

  // Set when the quota is reached, cleared when the next quota is set, so a
  // bomb that clears several enemies at once completes the level only once.
  bool LevelDone = false;
  TWorld* Arena = nullptr;
  TSpawnRecord ChildRow;  // scratch row for the children a pod releases
};
