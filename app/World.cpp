#include "app/World.h"

#include "entities/blobBullet.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/Random.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "sound/frmDXSounds.h"

namespace {
constexpr TIntRect ArenaRect{-500, 500, 500, -500};

std::unique_ptr<TMS3DObj> LoadModel(const char* memoName) {
  auto model = std::make_unique<TMS3DObj>();
  model->LoadFromMemo(memoName);
  return model;
}
}  // namespace

TWorld::TWorld(TSoundDevice& soundDevice) {
  SphereTile = LoadModel("MemoSphereTile16x16");
  RectFrame = LoadModel("MemoRectFrame16x16");
  GeoSphere = LoadModel("MemoGeoSphere");

  Lattice = std::make_unique<TGeometryGrid>();
  Print = std::make_unique<TGLPrinter>();
  SoundBank = std::make_unique<TFormSounds>(soundDevice);

  Sparks = std::make_unique<TParticleEngine>(ArenaRect);
  Sparks->Model = SphereTile.get();

  Ship = std::make_unique<TBlobPlayer>();
  Ship->Radius = 25;
  Ship->Damage = 0;

  Lattice->Repulsors = &BulletList;
  for (int i = 0; i < BulletCount; ++i) BulletList.Adopt(std::make_unique<TBlobBullet>());
  Lattice->Wells = &WellList;
  Lattice->Attractors = &WarperList;
  Lattice->Player = Ship.get();

  // The level script draws its random positions now.
  ScriptState = RandomState();
  Levels = std::make_unique<TLevelManager>(*this);
}

TWorld::~TWorld() = default;
