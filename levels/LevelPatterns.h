#pragma once
// The building blocks of the level script. A level is a title and a list of
// spawn groups; a group says when its rows fire (TTickPlan), what they spawn
// and where each row puts its entity (TPlacement). AppendLevel turns a level
// into spawn rows. Random terms are drawn from the shared generator while the
// rows are written, one draw per term in row order, so a level keeps the same
// random spawn points and ticks for the whole run.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gfx/PdxLib3DTypes.h"
#include "levels/SpawnRecord.h"

// One coordinate of a spawn point: a constant, or a random term.
struct TCoord {
  enum class TTerm : std::uint8_t {
    Constant,
    A,       // Random(1000) - 500: anywhere in the arena
    B,       // Random(800) - 400: away from the walls
    C,       // Random(1000) - 375: biased towards the top right
    PlusR,   // Base + Random(50): a corner patch
    MinusR,  // Base - Random(50)
  };
  TTerm Term = TTerm::Constant;
  double Base = 0;

  constexpr TCoord(double value) : Term(TTerm::Constant), Base(value) {}
  constexpr TCoord(TTerm term, double base) : Term(term), Base(base) {}
  double Draw() const;  // draws once from the shared generator unless constant
};

inline constexpr TCoord RandomA{TCoord::TTerm::A, 0};
inline constexpr TCoord RandomB{TCoord::TTerm::B, 0};
inline constexpr TCoord RandomC{TCoord::TTerm::C, 0};
constexpr TCoord PlusR(double base) { return TCoord{TCoord::TTerm::PlusR, base}; }
constexpr TCoord MinusR(double base) { return TCoord{TCoord::TTerm::MinusR, base}; }

struct TPoint {
  double X = 0, Y = 0;
};

// Where row i of a group spawns. Called once per row, in row order; random
// placements draw as they are called and chains remember the previous row.
using TPlacement = std::function<TVector3(int row)>;

// The angle of the level's running degree counter D, in radians. The script
// takes pi as 3.142, so whole turns of D drift slightly off the exact circle.
double CounterRadians(int d);

TPlacement Place(TCoord x, TCoord y);           // every row the same point (or fresh random terms)
TPlacement Points(std::vector<TPoint> points);  // the listed points in row order
// Spirals and circles laid out in true degrees, stored to two decimals.
TPlacement SpiralDegrees(double radius0, double radiusStep, double angle0, double angleStep);
TPlacement CircleDegrees(double radius, double angle0, double angleStep);
// Spirals and circles laid out on the degree counter D = d0 + i * dStep.
TPlacement Spiral(double radius0, double radiusStep, int d0, int dStep);
TPlacement Circle(double radius, int d0, int dStep);
TPlacement CircleAbout(double cx, double cy, double radius, int d0, int dStep);
// A wave across the arena: X = x0 + i * xStep, Y = y + amplitude * sin(D).
TPlacement SineAcross(double x0, double xStep, double y, double amplitude, int d0, int dStep);
// A wave down the arena: Y = y0 + i * yStep, X = x + amplitude * sin(D).
TPlacement SineDown(double y0, double yStep, double x, double amplitude, int d0, int dStep);
// From one random point (A, A) drawn at the first row, each row steps
// `length` further in the direction of D = d0 + i * dStep.
TPlacement Chain(double length, int d0, int dStep);
// An empty placement as a group's extra: each row passes its own position again.
inline TPlacement SameAsPosition() { return {}; }

// When the rows of a group fire. Fixed plans know every tick up front;
// drawn plans pick each row's tick from the shared generator as it is written.
struct TTickPlan {
  std::vector<int> Fixed;  // one tick per row; empty for a drawn plan
  int DrawnRows = 0;
  int Base = 0;
  int Range = 0;
  bool ScaledByRow = false;  // Base + i * Random(Range) instead of Base + Random(Range)

  bool IsDrawn() const { return Fixed.empty(); }
  int Rows() const { return IsDrawn() ? DrawnRows : int(Fixed.size()); }
  int TickFor(int row) const;
};

TTickPlan At(int tick, int rows = 1);                         // every row at one tick
TTickPlan Every(int first, int last, int step);               // first..last step s, one row per tick
TTickPlan Ticks(std::vector<int> ticks);                      // listed ticks in row order
TTickPlan Then(TTickPlan first, const TTickPlan& more);       // one fixed plan after another
TTickPlan Repeated(const TTickPlan& run, int times);          // the whole run again and again
TTickPlan EachRepeated(const TTickPlan& run, int times);      // every tick of the run `times` rows in a row
TTickPlan RandomTick(int base, int range, int rows = 1);      // Base + Random(range), a draw per row
TTickPlan RowTimesRandomTick(int base, int range, int rows);  // Base + i * Random(range)

struct TSpawnGroup {
  TTickPlan Ticks;
  std::uint8_t Kind = 0;
  int Lives = 1;
  bool FixedSpawn = false;
  TPlacement Position;
  TPlacement Extra;  // empty: same as position
  int Param = -1;
};

struct TLevelPlan {
  std::string Title;
  TVector3 Colour;
  std::vector<TSpawnGroup> Groups;
  bool PickupLeads = false;  // the first group is written before the quota and title rows
};

extern const char* const QuotaNote;
inline constexpr int TitleLives = 5;
inline constexpr float TitleY = -500.0f;

// Appends the level's rows: the set-quota row, the title message, then the
// groups in order. Adjacent groups that fire on identical ticks alternate row
// by row (one row of each in turn), as paired waves enter side by side.
void AppendLevel(int level, const TLevelPlan& plan, std::vector<TSpawnRecord>& spawns);
