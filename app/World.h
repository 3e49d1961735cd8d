#pragma once
// TWorld: everything in the arena and what the arena's entities share. The
// entity lists (bullets, enemies, gravity wells, grid warpers), the ship, the
// grid, the particles, the sounds, the printer, the models they are drawn
// with, and the level manager that spawns into the lists. The game object
// owns one; the level manager and the tools' entity check take it whole.
#include <cstdint>
#include <memory>

#include "entities/blobList.h"

class TBlobPlayer;
class TFormSounds;
class TGeometryGrid;
class TGLPrinter;
class TLevelManager;
class TMS3DObj;
class TParticleEngine;
class TSoundDevice;

class TWorld {
 public:
  static constexpr int BulletCount = 48;

  // Makes the arena in a fixed order (the models, the grid, the printer, the
  // sounds, the particles, the ship, the bullets) and then draws the level
  // script from the random generator as it stands.
  explicit TWorld(TSoundDevice& soundDevice);
  ~TWorld();
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  // The random generator's state just before the level script was drawn: a
  // replay keeps it so that it can draw the same script again.
  std::uint64_t ScriptDrawnFrom() const { return ScriptState; }

  TBlobList& Bullets() { return BulletList; }
  const TBlobList& Bullets() const { return BulletList; }
  // Owning: every enemy, pickup and message the level manager made.
  TBlobList& Enemies() { return EnemyList; }
  const TBlobList& Enemies() const { return EnemyList; }
  // Borrowing from Enemies: the gravitars that pull, the bodies that warp the grid.
  TBlobList& GravityWells() { return WellList; }
  const TBlobList& GravityWells() const { return WellList; }
  TBlobList& GridWarpers() { return WarperList; }
  const TBlobList& GridWarpers() const { return WarperList; }

  TBlobPlayer& Player() { return *Ship; }
  const TBlobPlayer& Player() const { return *Ship; }
  TGeometryGrid& Grid() { return *Lattice; }
  const TGeometryGrid& Grid() const { return *Lattice; }
  TParticleEngine& Particles() { return *Sparks; }
  const TParticleEngine& Particles() const { return *Sparks; }
  TLevelManager& LevelManager() { return *Levels; }
  const TLevelManager& LevelManager() const { return *Levels; }
  TFormSounds& Sounds() { return *SoundBank; }
  TGLPrinter& Printer() { return *Print; }
  const TGLPrinter& Printer() const { return *Print; }

  TMS3DObj& ModelSphereTile() { return *SphereTile; }
  TMS3DObj& ModelRectFrame() { return *RectFrame; }
  TMS3DObj& ModelGeoSphere() { return *GeoSphere; }

 private:
  // Declared so that they go in the safe order: the level manager and the
  // grid, which only borrow the lists and the ship, before what they borrow.
  std::unique_ptr<TMS3DObj> SphereTile, RectFrame, GeoSphere;
  std::unique_ptr<TGLPrinter> Print;
  std::unique_ptr<TFormSounds> SoundBank;
  std::unique_ptr<TParticleEngine> Sparks;
  std::unique_ptr<TBlobPlayer> Ship;
  TBlobList BulletList, EnemyList, WellList, WarperList;
  std::unique_ptr<TGeometryGrid> Lattice;
  std::uint64_t ScriptState = 0;
  std::unique_ptr<TLevelManager> Levels;
};
