#include "levels/LevelCatalogue.h"

#include <utility>

#include "enemies/blobPickup.h"
#include "entities/blob.h"
#include "levels/LevelPatterns.h"

// Each level is a short list of spawn groups read straight off the design
// sheets: ticks, kind, lives, fixed spawn, where the rows go, the extra
// vector and the parameter. Angles written as whole numbers ride the level's
// running degree counter, which is why they start high late in a level.

namespace {

namespace K = BlobKind;

constexpr bool Fixed = true;
constexpr bool Free = false;

// What a pickup gives the ship.
namespace P = PickupKinds;

TSpawnGroup Spawn(TTickPlan ticks, std::uint8_t kind, int lives, bool fixed, TPlacement position, TPlacement extra,
                  int param = -1) {
  return TSpawnGroup{std::move(ticks), kind, lives, fixed, std::move(position), std::move(extra), param};
}

// A pickup somewhere in the arena; its extra is zero and its parameter says what it gives.
TSpawnGroup Pickup(TTickPlan ticks, std::uint8_t pickupKind) {
  return Spawn(std::move(ticks), K::Pickup, 1, Free, Place(RandomA, RandomA), Place(0, 0), pickupKind);
}

// The extra most enemies carry: stored with the spawn, never read back.
TPlacement Stock() { return Place(400, -400); }
TPlacement Anywhere() { return Place(RandomA, RandomA); }
TPlacement Inner() { return Place(RandomB, RandomB); }
TPlacement Upper() { return Place(RandomC, RandomC); }
TPlacement Centre() { return Place(0, 0); }
// The corner patches of the opening levels.
TPlacement TopLeftPatch() { return Place(PlusR(-425), PlusR(375)); }
TPlacement BottomRightPatch() { return Place(PlusR(375), PlusR(-425)); }
TPlacement TopRightPatch() { return Place(MinusR(375), PlusR(375)); }
TPlacement FarTopLeftPatch() { return Place(MinusR(-425), MinusR(375)); }

TVector3 Colour(float r, float g, float b) {
  TVector3 c;
  c.X = r;
  c.Y = g;
  c.Z = b;
  return c;
}

TLevelPlan Level(const char* title, TVector3 colour, std::vector<TSpawnGroup> groups) {
  return TLevelPlan{title, colour, std::move(groups), false};
}

// Levels 1 and 40 drop their pickup before the title comes up.
TLevelPlan LevelLedByPickup(const char* title, TVector3 colour, std::vector<TSpawnGroup> groups) {
  return TLevelPlan{title, colour, std::move(groups), true};
}

std::vector<TLevelPlan> Levels1To10() {
  std::vector<TLevelPlan> levels;
  levels.push_back(
      LevelLedByPickup("Level 1: Creation", Colour(0.6f, 0.6f, 0.6f),
                       {Pickup(RandomTick(0, 200), P::Energy10),
                        Spawn(Every(25, 125, 25), K::GruntXY, 1, Fixed, TopLeftPatch(), Place(-400, 400)),
                        Spawn(Every(25, 125, 25), K::Grunt, 1, Fixed, BottomRightPatch(), Place(400, -400))}));
  levels.push_back(Level("Level 2: Time And Light", Colour(0.6f, 0.6f, 0),
                         {Spawn(At(0, 5), K::GruntXY, 1, Free, Upper(), Upper()),
                          Spawn(Every(25, 125, 25), K::Grunt, 1, Fixed, TopLeftPatch(), Place(-400, 400)),
                          Pickup(RandomTick(0, 200), P::Bullet2)}));
  levels.push_back(
      Level("Level 3: The Ether World", Colour(1, 0, 1),
            {Spawn(At(0, 20), K::Boid, 1, Free, TopLeftPatch(), Stock()),
             Spawn(At(600, 20), K::Boid, 1, Free, BottomRightPatch(), Stock()),
             Spawn(Every(25, 125, 25), K::Grunt, 2, Fixed, TopLeftPatch(), Place(-400, 400)),
             Spawn(At(0, 10), K::GruntXY, 2, Free, Upper(), Upper()), Pickup(RandomTick(0, 200), P::Energy10)}));
  levels.push_back(
      Level("Level 4: Hissssssssss", Colour(1, 0, 0),
            {Spawn(At(0, 5), K::Snake, 1, Free, Upper(), Upper()),
             Spawn(Every(25, 125, 25), K::Grunt, 1, Fixed, TopLeftPatch(), Place(-400, 400)),
             Spawn(At(0, 10), K::GruntXY, 1, Free, Upper(), Upper()), Pickup(RandomTick(0, 200), P::Energy10)}));
  levels.push_back(
      Level("Level 5: Boid Mania *", Colour(0, 0, 1),
            {Spawn(Every(5, 50, 5), K::GruntXY, 1, Free, TopRightPatch(), Stock()),
             Spawn(Every(10, 100, 10), K::Grunt, 1, Free, FarTopLeftPatch(), Stock()),
             Spawn(At(200), K::Snake, 1, Free, FarTopLeftPatch(), Stock()), Pickup(At(200), P::Energy50)}));
  levels.push_back(Level("Level 6: Pods - Eaaaasy", Colour(0.25f, 0.5f, 1),
                         {Spawn(Every(20, 200, 20), K::GruntXY, 1, Free, TopRightPatch(), Stock()),
                          Spawn(Every(20, 200, 20), K::Grunt, 1, Free, TopRightPatch(), Stock()),
                          Spawn(Every(200, 400, 200), K::Snake, 1, Free, Upper(), Upper()),
                          Spawn(Every(50, 150, 50), K::Pod, 1, Fixed, Anywhere(), Anywhere())}));
  levels.push_back(Level("Level 7: Grunt Massacre", Colour(1, 0.5f, 0.5f),
                         {Spawn(Every(10, 200, 10), K::GruntXY, 2, Free, Centre(), Stock()),
                          Spawn(Every(10, 200, 10), K::Grunt, 2, Free, Centre(), Stock()), Pickup(At(200), P::Energy50),
                          Pickup(RandomTick(200, 400), P::Velocity2)}));
  levels.push_back(Level("Level 8: Grunt Massacre 2 - I Hate Sequels", Colour(1, 1, 0),
                         {Spawn(Every(10, 100, 10), K::GruntXY, 2, Free, Centre(), Stock()),
                          Spawn(Every(10, 100, 10), K::Grunt, 2, Free, Centre(), Stock()),
                          Spawn(Every(50, 1000, 50), K::Boid, 2, Free, BottomRightPatch(), Stock()),
                          Pickup(RandomTick(0, 200), P::Velocity2), Pickup(RandomTick(0, 200), P::GraviBomb)}));
  levels.push_back(
      Level("Level 9: Take It Easy", Colour(0, 0, 1),
            {Pickup(At(200), P::Energy50), Pickup(RandomTick(200, 400), P::Bullet2),
             Pickup(RandomTick(200, 400), P::GraviBomb), Spawn(Every(20, 200, 20), K::Grunt, 2, Free, Inner(), Stock()),
             Spawn(Every(1020, 1400, 20), K::Boid, 2, Free, Inner(), Stock())}));
  levels.push_back(Level("Level 10: Circle Of Fear ", Colour(0.5f, 0.5f, 1),
                         {Spawn(At(0), K::Boss2, 1, Free, Centre(), Centre(), 0),
                          Spawn(RowTimesRandomTick(0, 50, 20), K::Grunt, 1, Free, Anywhere(), Stock())}));
  return levels;
}

std::vector<TSpawnGroup> MixItUp() {
  return {Spawn(Every(20, 200, 20), K::Grunt, 2, Free, Inner(), Stock()),
          Spawn(Every(20, 200, 20), K::GruntXY, 2, Free, Inner(), Stock()),
          Spawn(Every(700, 900, 200), K::Snake, 2, Free, Centre(), Anywhere()),
          Spawn(Every(150, 200, 50), K::Pod, 1, Fixed, Anywhere(), Anywhere())};
}

std::vector<TLevelPlan> Levels11To20() {
  std::vector<TLevelPlan> levels;
  levels.push_back(Level("Level 11: Mix It Up", Colour(0, 1, 0), MixItUp()));
  levels.push_back(Level("Level 12: Pod Tastic", Colour(1, 1, 1), MixItUp()));
  levels.push_back(Level("Level 13: A Shock To The System", Colour(1, 0, 0),
                         {Pickup(RandomTick(0, 200), P::Energy50), Pickup(RandomTick(0, 200), P::GraviBomb),
                          Spawn(Every(20, 200, 20), K::Grunt, 2, Free, Inner(), Stock()),
                          Spawn(Every(20, 200, 20), K::GruntXY, 2, Free, Inner(), Stock()),
                          Spawn(At(0), K::Gravitar, 1, Fixed, Centre(), Upper())}));
  levels.push_back(Level("Level 14: Pods - Tough", Colour(1, 0, 1),
                         {Spawn(Every(20, 400, 20), K::GruntXY, 1, Free, TopRightPatch(), Stock()),
                          Spawn(Every(20, 400, 20), K::Grunt, 1, Free, TopRightPatch(), Stock()),
                          Spawn(Every(200, 800, 200), K::Snake, 1, Free, Upper(), Upper()),
                          Spawn(Every(50, 300, 50), K::Pod, 1, Fixed, Anywhere(), Anywhere())}));
  levels.push_back(Level("Level 15: GruntXY Revenge", Colour(0.5f, 0, 1),
                         {Pickup(RandomTick(0, 200), P::Energy10), Pickup(RandomTick(0, 200), P::GraviBomb),
                          Spawn(RowTimesRandomTick(0, 50, 20), K::GruntXY, 1, Free, Anywhere(), Stock()),
                          Spawn(At(0, 2), K::Snake, 1, Free, Anywhere(), Stock())}));
  levels.push_back(Level("Level 16: Spirality", Colour(0, 0, 1),
                         {Spawn(At(0, 36), K::Grunt, 1, Free, SpiralDegrees(0, 10, 90, -10), Stock())}));
  // One long spiral wound outwards from the centre, handed out kind by kind;
  // the outer turns come first and the inner ones last.
  levels.push_back(
      Level("Level 17: Ulmar", Colour(0.5f, 0.5f, 0.5f),
            {Spawn(At(500, 10), K::Grunt, 1, Free, SpiralDegrees(0, 10, 90, 10), Stock()),
             Spawn(At(500, 4), K::Boid, 1, Free,
                   Points({{-98.48, -17.36}, {-103.37, -37.62}, {-103.92, -60}, {-99.59, -83.56}}), Stock()),
             Spawn(At(450, 2), K::Pod, 1, Free, Points({{-89.99, -107.25}, {-75, -129.9}}), Stock()),
             Spawn(Ticks({400, 350, 350, 350, 350, 350, 350}), K::GruntXY, 1, Free, SpiralDegrees(160, 10, -110, 10),
                   Stock()),
             Spawn(At(300, 8), K::Boid, 1, Free,
                   Points({{176.19, -147.84},
                           {176.19, -147.84},
                           {176.19, -147.84},
                           {176.19, -147.84},
                           {207.85, -120},
                           {207.85, -120},
                           {207.85, -120},
                           {207.85, -120}}),
                   Stock()),
             Spawn(At(250), K::GruntXY, 1, Free, Place(234.92, -85.51), Stock()),
             Spawn(At(250, 4), K::Boid, 1, Free, Place(256.05, -45.15), Stock()),
             Spawn(Ticks({200, 200, 150, 150}), K::Pod, 1, Free,
                   Points({{270, 0}, {275.75, 48.62}, {272.51, 99.19}, {259.81, 150}}), Stock()),
             Spawn(At(100, 4), K::GruntXY, 1, Free, Place(237.47, 199.26), Stock()),
             Spawn(At(50), K::Grunt, 1, Free, Place(205.69, 245.13), Stock()),
             Spawn(Ticks({50, 50, 50, 50, 0, 0, 0, 0}), K::Boid, 1, Free,
                   Points({{165, 285.79},
                           {165, 285.79},
                           {165, 285.79},
                           {165, 285.79},
                           {116.29, 319.5},
                           {116.29, 319.5},
                           {116.29, 319.5},
                           {116.29, 319.5}}),
                   Stock()),
             Spawn(At(0), K::GruntXY, 1, Free, Place(60.78, 344.68), Stock())}));
  levels.push_back(Level("Level 18: Spiral Singularity", Colour(1, 0, 1),
                         {Spawn(At(0), K::Gravitar, 1, Fixed, Centre(), Anywhere()),
                          Spawn(Every(0, 125, 5), K::GruntXY, 2, Fixed, SpiralDegrees(0, 20, 90, 14), Stock()),
                          Spawn(Every(0, 125, 5), K::Grunt, 2, Fixed, SpiralDegrees(10, 20, -90, 14), Stock())}));

  std::vector<TSpawnGroup> nightmare = {
      Pickup(RandomTick(0, 200), P::Energy50),
      Pickup(RandomTick(0, 200, 2), P::GraviBomb),
      Spawn(At(0, 16), K::Boid, 1, Free,
            Points({{-400, 400},
                    {-400, 375},
                    {-375, 375},
                    {-375, 400},
                    {-400, -400},
                    {-400, -375},
                    {-375, -375},
                    {-375, -400},
                    {400, -400},
                    {400, -375},
                    {375, -375},
                    {375, -400},
                    {400, 400},
                    {400, 375},
                    {375, 375},
                    {375, 400}}),
            Stock()),
      Spawn(At(0, 4), K::GruntXY, 1, Fixed, Points({{-400, 0}, {-350, 0}, {400, 0}, {350, 0}}), Stock()),
      Spawn(
          At(350, 8), K::Grunt, 1, Free,
          Points({{400, -400}, {400, -375}, {375, -375}, {375, -400}, {400, 400}, {400, 375}, {375, 375}, {375, 400}}),
          Stock()),
      Spawn(At(350, 2), K::Pod, 1, Free, Points({{-400, 400}, {-400, -400}}), Stock()),
      Spawn(At(350), K::Gravitar, 1, Free, Centre(), Stock()),
      Spawn(At(700, 20), K::Grunt, 1, Free,
            Points({{-75, 400},  {-25, 400},   {25, 400},   {75, 400},    {-75, -400}, {-25, -400},  {25, -400},
                    {75, -400},  {-200, -200}, {200, -200}, {-200, -150}, {200, -150}, {-200, -100}, {200, -100},
                    {-200, -50}, {200, -50},   {-200, 0},   {200, 0},     {-200, 50},  {200, 50}}),
            Stock()),
      Spawn(Ticks({700, 700, 700, 0}), K::Boid, 1, Free, Points({{-400, 400}, {-400, 375}, {-375, 375}, {-375, 400}}),
            Stock()),
      Spawn(At(700), K::Pod, 1, Free, Place(400, 300), Stock())};
  // Six columns closing in from the right: GruntXYs above the middle, Grunts below.
  for (double x = 400; x >= 150; x -= 50) {
    nightmare.push_back(Spawn(At(1200, 2), K::GruntXY, 1, Free, Points({{x, 150}, {x, 50}}), Stock()));
    nightmare.push_back(Spawn(At(1200, 2), K::Grunt, 1, Free, Points({{x, -50}, {x, -150}}), Stock()));
  }
  nightmare.push_back(Spawn(At(1200, 11), K::Snake, 1, Free,
                            Points({{-300, 100},
                                    {-235.34, 88.99},
                                    {-185.87, 37.08},
                                    {-176.36, -40.17},
                                    {-217.71, -113.26},
                                    {-300, -150},
                                    {-394.05, -129.44},
                                    {-461.68, -52.53},
                                    {-471.19, 55.62},
                                    {-411.68, 153.71},
                                    {0, 0}}),
                            Stock()));
  nightmare.push_back(
      Spawn(At(1700, 20), K::GruntXY, 1, Free,
            Points({{-400, 150}, {-300, 150}, {300, 150},  {400, 150},  {-400, 100}, {-300, 100}, {300, 100},
                    {400, 100},  {-400, 50},  {-300, 50},  {300, 50},   {400, 50},   {-400, 0},   {-300, 0},
                    {300, 0},    {400, 0},    {-400, -50}, {-300, -50}, {300, -50},  {400, -50}}),
            Stock()));
  nightmare.push_back(Spawn(At(1700, 2), K::Pod, 1, Free, Points({{0, 200}, {0, -200}}), Stock()));
  nightmare.push_back(Spawn(At(2500), K::Snake, 1, Free, Centre(), Stock()));
  levels.push_back(Level("Level 19: Nightmare", Colour(0, 0, 1), std::move(nightmare)));

  levels.push_back(Level("Level 20: Monolith - It's Full Of Stars ", Colour(0.5f, 0.5f, 1),
                         {Spawn(At(0), K::Boss3, 1, Free, Centre(), Centre(), 0),
                          Spawn(Every(5, 80, 5), K::GruntXY, 2, Fixed, Anywhere(), Stock())}));
  return levels;
}

// Four arms growing out from the centre: at each tick one GruntXY per arm, 50 further out each time.
std::vector<TPoint> FourArms() {
  std::vector<TPoint> points;
  for (int k = 0; k < 8; ++k) {
    const double d = 100 + 50 * k;
    points.insert(points.end(), {{d, 0}, {0, d}, {0, -d}, {-d, 0}});
  }
  return points;
}

std::vector<TPoint> CornerPods(double d) { return {{-d, d}, {d, d}, {d, -d}, {-d, -d}}; }

std::vector<TLevelPlan> Levels21To30() {
  std::vector<TLevelPlan> levels;
  levels.push_back(
      Level("Level 21: Bubbles Of Chaos", Colour(0, 0, 1),
            {Pickup(At(0), P::Bullet2), Pickup(RandomTick(400, 400), P::GraviBomb),
             Spawn(At(0, 20), K::GruntXY, 1, Free, CircleAbout(-200, 200, 100, 18, 18), Stock()),
             Spawn(At(0, 20), K::Grunt, 1, Free, CircleAbout(200, -200, 100, 378, 18), Stock()),
             Spawn(Then(At(0, 20), Every(255, 350, 5)), K::Boid, 1, Free, Circle(100, 738, 18), Stock())}));
  levels.push_back(Level("Level 22: Sine Of Destruction", Colour(0, 0, 1),
                         {Pickup(At(0), P::Energy50), Pickup(RandomTick(200, 200), P::Velocity2),
                          Spawn(Every(1, 30, 1), K::GruntXY, 1, Free, SineAcross(-280, 20, 0, 200, 12, 12), Stock()),
                          Spawn(Every(1, 30, 1), K::Grunt, 1, Free, SineAcross(280, -20, 0, 200, 12, 12), Stock()),
                          Spawn(Every(50, 200, 50), K::Pod, 1, Fixed, Anywhere(), Anywhere())}));
  levels.push_back(Level("Level 23: Spiral Of Boid", Colour(0, 0, 1),
                         {Spawn(Every(2, 120, 2), K::Boid, 2, Fixed, Spiral(0, 6, 384, 24), Stock()),
                          Spawn(Every(0, 600, 200), K::Snake, 1, Free, Upper(), Upper())}));
  levels.push_back(Level(
      "Level 24: Black Hole Boid", Colour(0, 0, 1),
      {Pickup(At(0), P::Bullet1), Pickup(At(0), P::Velocity1), Spawn(At(0), K::Gravitar, 1, Fixed, Centre(), Upper()),
       Spawn(Every(5, 300, 5), K::Boid, 2, Fixed, Spiral(50, 6, 1824, 24), Stock()),
       Spawn(At(0, 2), K::Pod, 1, Fixed, Anywhere(), Anywhere())}));
  levels.push_back(Level("Level 25: Black Hole Disaster", Colour(0, 0, 1),
                         {Spawn(Every(40, 800, 40), K::GruntXY, 1, Fixed, Anywhere(), Anywhere()),
                          Spawn(At(0, 4), K::Gravitar, 1, Fixed, Upper(), Upper())}));
  levels.push_back(Level(
      "Level 26: Bubbloids", Colour(0, 0, 1),
      {Pickup(At(0), P::Bullet2), Pickup(RandomTick(200, 400), P::Velocity2), Pickup(RandomTick(200, 400), P::Energy50),
       Spawn(Every(5, 80, 5), K::Boid, 2, Fixed, CircleAbout(-400, 0, 50, 3262, 22), Stock()),
       Spawn(Every(55, 130, 5), K::Boid, 2, Fixed, CircleAbout(-100, 0, 100, 3614, 22), Stock()),
       Spawn(Every(105, 180, 5), K::Boid, 2, Fixed, CircleAbout(100, 0, 200, 3966, 22), Stock()),
       Spawn(Every(40, 800, 40), K::GruntXY, 1, Fixed, Anywhere(), Anywhere())}));
  levels.push_back(
      Level("Level 27: From All Corners Of The Ether..", Colour(0, 0, 1),
            {Pickup(RandomTick(200, 400), P::Energy50), Spawn(At(0), K::Gravitar, 1, Fixed, Centre(), Upper()),
             Spawn(At(0, 4), K::Pod, 1, Fixed, Points(CornerPods(450)), SameAsPosition()),
             Spawn(Every(55, 130, 5), K::GruntXY, 2, Fixed, Circle(200, 3958, 22), Stock())}));
  levels.push_back(Level("Level 28: Circle Of Pain", Colour(0, 0, 1),
                         {Pickup(RandomTick(200, 400), P::GraviBomb),
                          Spawn(Every(55, 130, 5), K::Grunt, 1, Fixed, CircleDegrees(100, -9.4, 22), Stock()),
                          Spawn(Every(55, 130, 5), K::GruntXY, 1, Fixed, CircleDegrees(200, -17.3, 22), Stock()),
                          Spawn(Every(505, 580, 5), K::Grunt, 1, Fixed, CircleDegrees(300, -36.3, 11), Stock()),
                          Spawn(Every(505, 580, 5), K::GruntXY, 1, Fixed, CircleDegrees(400, 139.7, 11), Stock()),
                          Spawn(Every(0, 600, 200), K::Snake, 1, Free, Upper(), Upper())}));
  levels.push_back(Level("Level 29: Radial Destruction", Colour(0, 0, 1),
                         {Pickup(RandomTick(200, 400), P::GraviBomb),
                          Spawn(Every(5, 40, 5), K::Grunt, 1, Fixed, Chain(50, 5749, 45), SameAsPosition()),
                          Spawn(Every(5, 40, 5), K::GruntXY, 1, Fixed, Chain(100, 6109, 45), SameAsPosition()),
                          Spawn(Every(355, 430, 5), K::Grunt, 1, Fixed, Chain(150, 6446, 22), SameAsPosition()),
                          Spawn(Every(355, 430, 5), K::GruntXY, 1, Fixed, Chain(150, 6798, 22), SameAsPosition()),
                          Spawn(Every(0, 600, 200), K::Snake, 1, Free, Anywhere(), Anywhere())}));
  levels.push_back(Level("Level 30: Gravitar Revenge", Colour(0, 0, 1),
                         {Pickup(RandomTick(200, 400), P::GraviBomb), Pickup(RandomTick(200, 400), P::Velocity2),
                          Spawn(At(0), K::BlackHole, 1, Free, Anywhere(), Centre(), 0),
                          Spawn(At(0), K::BlackHole, 1, Free, Anywhere(), Centre(), 120),
                          Spawn(At(0), K::BlackHole, 1, Free, Anywhere(), Centre(), 240),
                          Spawn(RowTimesRandomTick(0, 100, 20), K::GruntXY, 1, Free, Anywhere(), Stock())}));
  return levels;
}

std::vector<TLevelPlan> Levels31To40() {
  std::vector<TLevelPlan> levels;
  levels.push_back(
      Level("Level 31: ", Colour(0, 0, 1),
            {Spawn(EachRepeated(Every(5, 40, 5), 4), K::GruntXY, 1, Fixed, Points(FourArms()), SameAsPosition()),
             Spawn(At(0), K::Gravitar, 1, Fixed, Centre(), Upper()),
             Spawn(At(0, 4), K::Pod, 1, Fixed, Points(CornerPods(350)), SameAsPosition())}));
  levels.push_back(
      Level("Level 32: Helix Of Destruction ", Colour(0, 0, 1),
            {Spawn(Every(5, 80, 5), K::GruntXY, 1, Fixed, SineDown(350, -50, 0, -100, 319, -22), SameAsPosition()),
             Spawn(Every(5, 80, 5), K::Grunt, 1, Fixed, SineDown(350, -50, 0, 100, 237, -22), SameAsPosition()),
             Spawn(Every(0, 300, 100), K::Snake, 1, Free, Anywhere(), Anywhere())}));
  levels.push_back(Level("Level 33: Hissteria ", Colour(0.5f, 0.5f, 1),
                         {Spawn(Every(1020, 1200, 20), K::Grunt, 2, Free, Inner(), Stock()),
                          Spawn(Every(20, 400, 20), K::Boid, 2, Free, Inner(), Stock()),
                          Spawn(Every(700, 900, 200), K::Snake, 2, Free, Centre(), Anywhere())}));
  levels.push_back(Level("Level 34: Feel The Pain", Colour(0, 0, 1),
                         {Pickup(RandomTick(200, 400), P::GraviBomb), Pickup(RandomTick(200, 400), P::Energy50),
                          Spawn(Every(100, 2000, 100), K::Boid, 2, Free, Inner(), Stock()),
                          Spawn(Every(0, 3000, 1000), K::Gravitar, 1, Fixed, Centre(), Anywhere()),
                          Spawn(Every(50, 250, 50), K::GruntXY, 4, Fixed, Place(-400, 400), SameAsPosition()),
                          Spawn(Every(50, 250, 50), K::Grunt, 4, Fixed, Place(-400, -400), Place(-400, 400)),
                          Spawn(Every(50, 250, 50), K::GruntXY, 4, Fixed, Place(400, 400), Place(-400, 400)),
                          Spawn(Every(50, 250, 50), K::Grunt, 4, Fixed, Place(400, -400), Place(-400, 400)),
                          Spawn(Every(500, 3000, 500), K::Pod, 1, Fixed, Anywhere(), Anywhere()),
                          Spawn(Every(200, 1200, 200), K::Snake, 2, Free, Upper(), Upper())}));
  // Six arms of eight Grunts wheeling out from the centre, one arm after another.
  levels.push_back(Level(
      "Level 35: Pinwheel Spirality", Colour(0, 0, 1),
      {Pickup(RandomTick(200, 400), P::Velocity2), Pickup(RandomTick(200, 400), P::Energy50),
       Spawn(Repeated(Every(5, 40, 5), 6), K::Grunt, 2, Fixed,
             Points({{240, 26.5},       {280, 44.94},       {320, 49.73},       {360, 39.39},       {400, 17.08},
                     {440, -10.42},     {480, -34.75},      {520, -48.52},      {97.02, -70.78},    {101.04, -65.05},
                     {116.9, -76.39},   {145.84, -106.62},  {185.16, -151.82},  {228.97, -203.52},  {270.04, -251.25},
                     {301.96, -285.78}, {-143, 110.57},     {-178.98, 132.5},   {-203.13, 151.01},  {-214.19, 165.76},
                     {-214.89, 177.52}, {-211.08, 187.99},  {-210.02, 199.24},  {-218.11, 213.13},  {-239.99, -26.6},
                     {-279.98, -45.06}, {-319.98, -49.86},  {-359.98, -39.54},  {-399.99, -17.25},  {-440, 10.24},
                     {-480.01, 34.56},  {-520.02, 48.31},   {-96.93, -97.21},   {-100.93, -109.89}, {-116.77, -126},
                     {-145.71, -145.9}, {-185.01, -168.81}, {-228.82, -193.02}, {-269.88, -216.44}, {-301.79, -237.2},
                     {143.08, 137.13},  {179.07, 177.52},   {203.23, 200.83},   {214.31, 205.25},   {215.03, 194.7},
                     {211.24, 177.65},  {210.2, 164.57},    {218.3, 164.69}}),
             SameAsPosition()),
       Spawn(At(0), K::Gravitar, 1, Fixed, Centre(), Upper()),
       Spawn(Every(320, 700, 20), K::Boid, 2, Free, Inner(), Stock())}));
  levels.push_back(
      Level("Level 36: Arcs Of Fear", Colour(0, 0, 1),
            {Pickup(RandomTick(200, 400), P::Velocity2), Pickup(RandomTick(200, 400), P::Energy50),
             Spawn(Every(2, 40, 2), K::GruntXY, 2, Fixed, SineAcross(-360, 40, -200, 400, 9, 9), SameAsPosition()),
             Spawn(Every(2, 40, 2), K::Grunt, 2, Fixed, SineAcross(360, -40, 200, -400, 9, 9), SameAsPosition()),
             Spawn(At(0, 5), K::Pod, 1, Fixed, Points({{-350, 350}, {350, 350}, {350, -350}, {-350, -350}, {0, 0}}),
                   SameAsPosition())}));
  levels.push_back(
      Level("Level 37: Curves Of Anger", Colour(0, 0, 1),
            {Pickup(RandomTick(200, 400), P::Velocity2), Pickup(RandomTick(200, 400), P::Energy50),
             Spawn(Every(2, 20, 2), K::GruntXY, 2, Fixed, SineAcross(-320, 80, -400, 200, 18, 18), SameAsPosition()),
             Spawn(Every(2, 20, 2), K::Grunt, 2, Fixed, SineAcross(320, -80, 400, -200, 18, 18), SameAsPosition()),
             Spawn(At(0), K::Gravitar, 1, Fixed, Centre(), Upper()),
             Spawn(Every(0, 150, 50), K::Snake, 1, Free, Anywhere(), Anywhere())}));
  levels.push_back(Level("Level 38: Escape The Void..", Colour(0, 0, 1),
                         {Pickup(RandomTick(200, 400), P::Velocity2), Pickup(RandomTick(200, 400, 2), P::GraviBomb),
                          Spawn(Every(2, 40, 2), K::Boid, 1, Fixed, Spiral(5, 5, 198, 18), SameAsPosition()),
                          Spawn(Every(42, 80, 2), K::Boid, 1, Fixed, Spiral(105, 5, 558, 18), SameAsPosition()),
                          Spawn(Every(82, 120, 2), K::Boid, 1, Fixed, Spiral(205, 5, 918, 18), SameAsPosition()),
                          Spawn(Every(402, 440, 2), K::Boid, 1, Fixed, Spiral(5, 5, 1278, 18), SameAsPosition()),
                          Spawn(Every(442, 480, 2), K::Boid, 1, Fixed, Spiral(105, 5, 1638, 18), SameAsPosition()),
                          Spawn(Every(482, 520, 2), K::Boid, 1, Fixed, Spiral(205, 5, 1998, 18), SameAsPosition()),
                          Spawn(At(0, 4), K::Pod, 1, Fixed, Points(CornerPods(350)), SameAsPosition()),
                          Spawn(Every(0, 400, 200), K::Snake, 1, Free, Anywhere(), Anywhere())}));
  levels.push_back(Level(
      "Level 39: At The Edge Of Infinity Beyond Time And Space..", Colour(0, 0, 1),
      {Pickup(RandomTick(200, 400), P::Velocity2), Pickup(RandomTick(200, 400, 4), P::GraviBomb),
       Pickup(RandomTick(200, 400, 2), P::Energy50), Pickup(RandomTick(200, 400), P::Bullet2),
       Spawn(Every(2, 40, 2), K::GruntXY, 2, Fixed, Circle(200, 2358, 18), SameAsPosition()),
       Spawn(Every(402, 440, 2), K::Grunt, 2, Fixed, Circle(200, 2718, 18), SameAsPosition()),
       Spawn(Then(Every(2, 80, 2), Every(402, 480, 2)), K::Boid, 1, Fixed, Circle(250, 3069, 9), SameAsPosition()),
       Spawn(At(400), K::Gravitar, 1, Fixed, Centre(), Upper()),
       Spawn(At(0, 2), K::Pod, 1, Fixed, Points({{-350, 350}, {350, 350}}), SameAsPosition())}));
  levels.push_back(
      LevelLedByPickup("Level 40: Cosmic Cataclysmic The End Of All?", Colour(0.6f, 0.6f, 0.6f),
                       {Pickup(RandomTick(0, 200), P::Energy10), Spawn(At(25), K::Boss4, 1, Fixed, Centre(), Stock()),
                        Spawn(RowTimesRandomTick(500, 50, 20), K::Grunt, 1, Free, Anywhere(), Stock()),
                        Spawn(Every(0, 18, 2), K::Boid, 1, Free, Anywhere(), Stock())}));
  return levels;
}

}  // namespace

void AppendLevelCatalogue(std::vector<TSpawnRecord>& spawns) {
  // The plans hold no random values yet: every draw happens as AppendLevel
  // writes the rows, level by level and row by row.
  int level = 1;
  for (auto build : {Levels1To10, Levels11To20, Levels21To30, Levels31To40})
    for (const TLevelPlan& plan : build()) AppendLevel(level++, plan, spawns);
}
