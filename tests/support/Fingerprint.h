#pragma once
// A fingerprint of the whole game as it stands: two games with the same one
// are the same game, however they got there (the tests that a picture, or a
// way of handing over input, changes nothing).
#include <cstdint>
#include <cstring>
#include <utility>

#include "app/GameHost.h"
#include "app/QuadrovoltMain.h"
#include "app/World.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/ParticleEngine.h"
#include "gfx/Random.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "tests/support/Arrange.h"

// Everything a picture could disturb: the generator, every entity, bullet,
// particle and lattice point, the ship, the title's clocks and the printer.
class TFingerprint {
 public:
  explicit TFingerprint(TGameHost& host) {
    const TArrange arrange(host);
    const TQuadrovoltMain& g = arrange.ReadOnly();
    Mix(RandomState());
    Mix(host.State()), Mix(host.Level()), Mix(g.Title().SelectedLevel()), Mix(arrange.StateTimer());
    Mix(g.Title().SparkAngle());
    const TWorld& w = g.World();
    Mix(g.Title().TextShown()), Mix(g.Title().TextCountdown()), Mix(g.Title().StripScrollDelay()),
        Mix(w.LevelManager().Tick);
    const TGLPrinter& p = w.Printer();
    Mix(p.PenX), Mix(p.PenY), Mix(p.LineCounter), Mix(p.CursorBlink), Mix(int(p.Lines.size()));
    const TBlobPlayer& ship = w.Player();
    Entity(ship);
    Mix(ship.Damage), Mix(ship.Score), Mix(ship.Invulnerable), Mix(ship.FireCountdown);
    for (const TBlob* e : w.Enemies()) Entity(*e);
    for (const TBlob* b : w.Bullets()) Entity(*b);
    for (int i = 0; i < w.Particles().Count(); ++i) Particle(w.Particles()[i]);
    for (int i = 0; i < TGeometryGrid::Size; ++i)
      for (int j = 0; j < TGeometryGrid::Size; ++j) {
        const TGridPoint q = w.Grid().Point(i, j);
        Vector(q.Position), Vector(q.Velocity), Mix(q.K);
      }
    Mix(w.Grid().ShockwaveRadius), Mix(w.Grid().ShockwaveSteps), Mix(w.Grid().Push);
  }
  std::uint64_t Value() const { return Hash; }

 private:
  template <class T>
  void Mix(T v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof v < sizeof bits ? sizeof v : sizeof bits);
    Hash = (Hash ^ bits) * 0x100000001B3ull;
    Hash ^= Hash >> 29;
  }
  void Vector(const TVector3& v) { Mix(v.X), Mix(v.Y), Mix(v.Z); }
  void Entity(const TBlob& e) {
    Mix(e.Active), Mix(e.Kind), Mix(e.State), Mix(e.Size), Mix(e.PulseScale), Mix(e.Life), Mix(e.Alpha);
    Mix(e.Speed), Mix(e.Counter), Mix(e.Angle), Vector(e.Position), Vector(e.Velocity), Vector(e.Target);
  }
  void Particle(const TParticle& p) {
    Mix(p.Active), Mix(p.Life), Mix(p.Alpha), Mix(p.Speed), Mix(p.Style), Vector(p.Position), Vector(p.Velocity);
  }
  std::uint64_t Hash = 0xCBF29CE484222325ull;
};
