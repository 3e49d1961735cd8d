#include "levels/LevelManager.h"

#include <memory>
#include <utility>

#include "app/World.h"
#include "enemies/blobBinaryBlackHole.h"
#include "enemies/blobBoid.h"
#include "enemies/blobBoss2.h"
#include "enemies/blobBoss3.h"
#include "enemies/blobBoss4.h"
#include "enemies/blobGravitar.h"
#include "enemies/blobGrunt.h"
#include "enemies/blobGruntXY.h"
#include "enemies/blobMessage.h"
#include "enemies/blobPickup.h"
#include "enemies/blobPod.h"
#include "enemies/blobPodChild.h"
#include "enemies/blobSnake.h"
#include "entities/blob.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "gfx/Random.h"
#include "levels/LevelCatalogue.h"

namespace {

// ---------------------------------------------------------------------------
// How each kind is made and wired to the game when a row spawns it.

using TMakeFn = std::unique_ptr<TBlob> (*)();
using TWireFn = void (*)(TLevelManager&, TBlob&, const TSpawnRecord&);
using THandler = void (TLevelManager::*)(TBlob*);
using TModelField = TMS3DObj& (TWorld::*)();
using TListOf = TBlobList* (*)(TWorld&);

struct TSpawnKind {
  std::uint8_t Kind;
  TMakeFn Make;
  TWireFn Wire;
};

template <class T>
std::unique_ptr<TBlob> Make() {
  return std::make_unique<T>();
}

// Gravity wells and grid warpers hold each entity once, however often a
// pooled instance is spawned again; a second entry would pull twice as hard.
void JoinOnce(TBlobList* list, TBlob* blob) {
  if (list && list->IndexOf(blob) < 0) list->Add(blob);
}

// The list of the world a kind joins besides the enemies, if any.
TBlobList* NoList(TWorld&) { return nullptr; }
TBlobList* Wells(TWorld& w) { return &w.GravityWells(); }
TBlobList* Warpers(TWorld& w) { return &w.GridWarpers(); }

// The ship, the particles and the printer come before the spawn arguments.
template <class T>
void GiveServices(TWorld& w, T& e) {
  e.Player = &w.Player();
  e.Particles = &w.Particles();
  e.Printer = &w.Printer();
}

// Sounds, glow model, destroyed handler and list after them.
template <THandler Handler, class T>
void FinishEnemy(TLevelManager& m, T& e, TMS3DObj& glow) {
  e.Sounds = &m.World()->Sounds();
  e.GlowModel = &glow;
  e.OnDestroyed = TBlobEvent::Bind<Handler>(&m);
}

// What a kind needs set around its spawn beyond the common wiring; most
// need nothing.
template <class T>
using TKindStep = void (*)(TLevelManager&, T&, const TSpawnRecord&);
template <class T>
void Nothing(TLevelManager&, T&, const TSpawnRecord&) {}

// The common enemy: services, its own step Before, SetSpawn from the row, its
// own step After, then the rest.
template <class T, TModelField Glow, THandler Handler, TListOf List = NoList, TKindStep<T> Before = Nothing<T>,
          TKindStep<T> After = Nothing<T>>
void WireEnemy(TLevelManager& m, TBlob& blob, const TSpawnRecord& row) {
  T& e = static_cast<T&>(blob);
  TWorld& w = *m.World();
  GiveServices(w, e);
  Before(m, e, row);
  e.SetSpawn(row.Position, row.Lives, row.FixedSpawn, row.Extra);
  After(m, e, row);
  FinishEnemy<Handler>(m, e, (w.*Glow)());
  JoinOnce(List(w), &e);
}

// A message takes its path instead of a spawn, then its text; the row's Extra
// is both its starting speed and its colour. It is never counted.
template <class T>
void WireMessage(TLevelManager& m, TBlob& blob, const TSpawnRecord& row) {
  T& e = static_cast<T&>(blob);
  TWorld& w = *m.World();
  GiveServices(w, e);
  e.SetPath(row.Position, row.Lives, row.FixedSpawn, row.Extra);
  e.Sounds = &w.Sounds();
  e.GlowModel = &w.ModelSphereTile();
  e.SetText(row.Text);
  e.TextColour = row.Extra;
}

// The steps of the kinds that have one.

// A pickup learns its kind from the row's Param before its spawn.
void KindFromRow(TLevelManager&, TBlobPickup& e, const TSpawnRecord& row) {
  e.PickupKind = std::uint8_t(row.Param & 0xFF);
}

// The snake's collision radius is the manager's to set, and it switches
// itself on only through the manager.
void SnakeRadius(TLevelManager&, TBlobSnake& e, const TSpawnRecord&) { e.Radius = 25; }
void SwitchOn(TLevelManager&, TBlobSnake& e, const TSpawnRecord&) { e.SetActive(true); }

// A boid flocks with every boid in the enemy list.
void JoinFlock(TLevelManager& m, TBlobBoid& e, const TSpawnRecord&) { e.Flock = &m.World()->Enemies(); }

// A black hole starts its orbit at the row's angle.
void OrbitFromRow(TLevelManager&, TBlobBinaryBlackHole& e, const TSpawnRecord& row) { e.OrbitAngle = row.Param; }

// The last boss draws its core with the geo-sphere.
void CoreModel(TLevelManager& m, TBlobBoss4& e, const TSpawnRecord&) { e.CoreModel = &m.World()->ModelGeoSphere(); }

// One line per kind. Kinds without a line spawn nothing.
// The pod child's line also serves PodDestroyed, which releases the children.
const TSpawnKind SpawnTable[] = {
    {BlobKind::Grunt, &Make<TBlobGrunt>,
     &WireEnemy<TBlobGrunt, &TWorld::ModelRectFrame, &TLevelManager::EnemyDestroyed>},
    {BlobKind::GruntXY, &Make<TBlobGruntXY>,
     &WireEnemy<TBlobGruntXY, &TWorld::ModelRectFrame, &TLevelManager::EnemyDestroyed>},
    {BlobKind::Snake, &Make<TBlobSnake>,
     &WireEnemy<TBlobSnake, &TWorld::ModelSphereTile, &TLevelManager::EnemyDestroyed, NoList, SnakeRadius, SwitchOn>},
    {BlobKind::Boid, &Make<TBlobBoid>,
     &WireEnemy<TBlobBoid, &TWorld::ModelSphereTile, &TLevelManager::EnemyDestroyed, NoList, Nothing<TBlobBoid>,
                JoinFlock>},
    {BlobKind::Message, &Make<TBlobMessage>, &WireMessage<TBlobMessage>},
    {BlobKind::Pickup, &Make<TBlobPickup>,
     &WireEnemy<TBlobPickup, &TWorld::ModelSphereTile, &TLevelManager::PickupDestroyed, NoList, KindFromRow>},
    {BlobKind::Pod, &Make<TBlobPod>, &WireEnemy<TBlobPod, &TWorld::ModelSphereTile, &TLevelManager::PodDestroyed>},
    {BlobKind::PodChild, &Make<TBlobPodChild>,
     &WireEnemy<TBlobPodChild, &TWorld::ModelSphereTile, &TLevelManager::EnemyDestroyed>},
    {BlobKind::Gravitar, &Make<TBlobGravitar>,
     &WireEnemy<TBlobGravitar, &TWorld::ModelSphereTile, &TLevelManager::GravitarDestroyed, &Wells>},
    {BlobKind::BlackHole, &Make<TBlobBinaryBlackHole>,
     &WireEnemy<TBlobBinaryBlackHole, &TWorld::ModelSphereTile, &TLevelManager::EnemyDestroyed, &Warpers,
                Nothing<TBlobBinaryBlackHole>, OrbitFromRow>},
    {BlobKind::Boss2, &Make<TBlobBoss2>,
     &WireEnemy<TBlobBoss2, &TWorld::ModelRectFrame, &TLevelManager::EnemyDestroyed, &Warpers>},
    {BlobKind::Boss3, &Make<TBlobBoss3>,
     &WireEnemy<TBlobBoss3, &TWorld::ModelRectFrame, &TLevelManager::EnemyDestroyed, &Warpers>},
    {BlobKind::Boss4, &Make<TBlobBoss4>,
     &WireEnemy<TBlobBoss4, &TWorld::ModelSphereTile, &TLevelManager::EnemyDestroyed, &Warpers, Nothing<TBlobBoss4>,
                CoreModel>},
};

const TSpawnKind* FindSpawnKind(std::uint8_t kind) {
  for (const TSpawnKind& k : SpawnTable)
    if (k.Kind == kind) return &k;
  return nullptr;
}

// Kinds that count towards a level's kill quota, one per life.
bool CountsAsAlien(std::uint8_t kind) {
  switch (kind) {
    case BlobKind::Grunt:
    case BlobKind::GruntXY:
    case BlobKind::Snake:
    case BlobKind::Boid:
    case BlobKind::Gravitar:
    case BlobKind::BlackHole:
    case BlobKind::Boss2:
    case BlobKind::Boss3:
    case BlobKind::Boss4: return true;
    default: return false;
  }
}

}  // namespace

// ---------------------------------------------------------------------------

TLevelManager::TLevelManager() {
  AppendLevelCatalogue(Spawns);
  BuildIndex();
}

TLevelManager::TLevelManager(std::vector<TSpawnRecord> script) : Spawns(std::move(script)) { BuildIndex(); }

TLevelManager::TLevelManager(TWorld& world) : TLevelManager() { Arena = &world; }

TLevelManager::TLevelManager(TWorld& world, std::vector<TSpawnRecord> script) : TLevelManager(std::move(script)) {
  Arena = &world;
}

void TLevelManager::Rebuild() {
  Spawns.clear();
  AppendLevelCatalogue(Spawns);
  BuildIndex();
}

void TLevelManager::BuildIndex() {
  Tick = 0;
  int highest = 0;
  for (const TSpawnRecord& row : Spawns)
    if (row.Level > highest) highest = row.Level;
  LevelCount = highest + 1;
  // Each level's quota is what its rows send in.
  for (int level = 0; level < LevelCount; ++level) SetQuota(level, CountAliens(level));
  LevelStart.assign(LevelCount, 0);
  for (int level = 0; level < LevelCount; ++level) LevelStart[level] = FirstRecordOfLevel(level);
}

void TLevelManager::Update(int level) {
  if (level < 0 || level >= LevelCount) return;
  // Rows of later levels are passed over by the level test.
  const int rows = int(Spawns.size());
  for (int i = LevelStart[level]; i < rows; ++i) {
    const TSpawnRecord& row = Spawns[i];
    if (row.Level != level || row.Skip || row.Trigger != TriggerOnTick || row.Tick != Tick) continue;
    if (row.Action == ActionSetQuota) {
      Quota = row.Param;
      Destroyed = 0;
      LevelDone = false;
    } else if (row.Action == ActionSpawn) {
      SpawnRow(row);
    }
  }
  ++Tick;
}

void TLevelManager::Reset() {
  for (TSpawnRecord& row : Spawns) row.Skip = false;
  if (Arena)
    for (TBlob* e : Arena->Enemies()) e->SetActive(false);
  Tick = 0;
  LevelDone = false;
}

TBlob* TLevelManager::FindInactive(std::uint8_t kind) const {
  if (!Arena) return nullptr;
  for (TBlob* e : Arena->Enemies())
    if (!e->Active && e->Kind == kind) return e;
  return nullptr;
}

TBlob* TLevelManager::Obtain(std::uint8_t kind) {
  const TSpawnKind* entry = FindSpawnKind(kind);
  if (!entry || !Arena) return nullptr;
  TBlob* e = FindInactive(kind);
  if (e)
    e->Create();  // re-initialised in place, where it stands in the list
  else
    e = Arena->Enemies().Adopt(entry->Make());
  return e;
}

void TLevelManager::SpawnRow(const TSpawnRecord& row) {
  TBlob* e = Obtain(row.Kind);
  if (!e) return;
  FindSpawnKind(row.Kind)->Wire(*this, *e, row);
}

int TLevelManager::CountAliens(int level) const {
  int count = 0;
  for (const TSpawnRecord& row : Spawns) {
    if (row.Level != level || row.Action != ActionSpawn) continue;
    if (row.Kind == BlobKind::Pod)
      count += (1 + PodChildren) * row.Lives;  // the pod and its twelve children
    else if (CountsAsAlien(row.Kind))
      count += row.Lives;
  }
  return count;
}

void TLevelManager::SetQuota(int level, int count) {
  for (TSpawnRecord& row : Spawns)
    if (row.Level == level && row.Action == ActionSetQuota) row.Param = count;
}

int TLevelManager::FirstRecordOfLevel(int level) const {
  for (int i = 0; i < int(Spawns.size()); ++i)
    if (Spawns[i].Level == level) return i;
  return 0;
}

// ---------------------------------------------------------------------------
// Destruction handlers.

void TLevelManager::CountKill() {
  ++Destroyed;
  if (Destroyed < Quota || LevelDone) return;
  LevelDone = true;
  Tick = 0;
  OnLevelComplete.Fire(nullptr);
}

void TLevelManager::EnemyDestroyed(TBlob*) { CountKill(); }

void TLevelManager::GravitarDestroyed(TBlob*) {
  // The gravitar stays in the well list: it keeps pulling through its
  // explosion, and a gravitar with lives left pulls again when it respawns.
  // Once it is switched off the grid passes it over, and its next spawn row
  // finds it already listed.
  CountKill();
}

void TLevelManager::PodDestroyed(TBlob* sender) {
  const TSpawnKind* child = FindSpawnKind(BlobKind::PodChild);
  if (child && sender) {
    for (int i = 0; i < PodChildren; ++i) {
      TBlob* e = Obtain(BlobKind::PodChild);
      if (!e) break;
      // Around the wreck, each child at its own offset of -64..63.
      TVector3 p = sender->Position;
      p.X = float(Random(128)) + p.X - 64;
      p.Y = float(Random(128)) + p.Y - 64;
      ChildRow.Position = p;
      ChildRow.Lives = 1;
      ChildRow.FixedSpawn = true;
      ChildRow.Extra = sender->Position;
      child->Wire(*this, *e, ChildRow);
    }
  }
  CountKill();
}

void TLevelManager::PickupDestroyed(TBlob*) {}
