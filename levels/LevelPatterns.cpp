#include "levels/LevelPatterns.h"

#include <cmath>
#include <utility>

#include "entities/blob.h"
#include "gfx/Random.h"

const char* const QuotaNote = "Use To Set Number of Aliens to destroy before next wave";

namespace {

constexpr double ScriptPi = 3.142;
constexpr double ExactPi = 3.14159265358979323846;

TVector3 At2D(double x, double y) {
  TVector3 v;
  v.X = float(x);
  v.Y = float(y);
  return v;
}

// Shapes laid out in true degrees are kept as two-decimal constants.
double TwoDecimals(double v) { return std::round(v * 100.0) / 100.0; }

TVector3 PolarDegrees(double radius, double degrees) {
  const double a = degrees * ExactPi / 180.0;
  return At2D(TwoDecimals(radius * std::cos(a)), TwoDecimals(radius * std::sin(a)));
}

}  // namespace

double TCoord::Draw() const {
  switch (Term) {
    case TTerm::Constant: return Base;
    case TTerm::A: return Random(1000) - 500;
    case TTerm::B: return Random(800) - 400;
    case TTerm::C: return Random(1000) - 375;
    case TTerm::PlusR: return Base + Random(50);
    case TTerm::MinusR: return Base - Random(50);
  }
  return Base;
}

double CounterRadians(int d) { return double(d) / 180.0 * ScriptPi; }

TPlacement Place(TCoord x, TCoord y) {
  return [x, y](int) {
    const double px = x.Draw();  // X is drawn before Y
    const double py = y.Draw();
    return At2D(px, py);
  };
}

TPlacement Points(std::vector<TPoint> points) {
  return [points = std::move(points)](int row) {
    const TPoint& p = points[std::size_t(row) % points.size()];
    return At2D(p.X, p.Y);
  };
}

TPlacement SpiralDegrees(double radius0, double radiusStep, double angle0, double angleStep) {
  return [=](int row) { return PolarDegrees(radius0 + row * radiusStep, angle0 + row * angleStep); };
}

TPlacement CircleDegrees(double radius, double angle0, double angleStep) {
  return SpiralDegrees(radius, 0, angle0, angleStep);
}

TPlacement Spiral(double radius0, double radiusStep, int d0, int dStep) {
  return [=](int row) {
    const double r = radius0 + row * radiusStep;
    const double a = CounterRadians(d0 + row * dStep);
    return At2D(r * std::cos(a), r * std::sin(a));
  };
}

TPlacement Circle(double radius, int d0, int dStep) { return CircleAbout(0, 0, radius, d0, dStep); }

TPlacement CircleAbout(double cx, double cy, double radius, int d0, int dStep) {
  return [=](int row) {
    const double a = CounterRadians(d0 + row * dStep);
    return At2D(cx + radius * std::cos(a), cy + radius * std::sin(a));
  };
}

TPlacement SineAcross(double x0, double xStep, double y, double amplitude, int d0, int dStep) {
  return [=](int row) { return At2D(x0 + row * xStep, y + amplitude * std::sin(CounterRadians(d0 + row * dStep))); };
}

TPlacement SineDown(double y0, double yStep, double x, double amplitude, int d0, int dStep) {
  return [=](int row) { return At2D(x + amplitude * std::sin(CounterRadians(d0 + row * dStep)), y0 + row * yStep); };
}

TPlacement Chain(double length, int d0, int dStep) {
  TVector3 last;
  return [=](int row) mutable {
    if (row == 0) last = Place(RandomA, RandomA)(0);
    const double a = CounterRadians(d0 + row * dStep);
    last = At2D(last.X + length * std::cos(a), last.Y + length * std::sin(a));
    return last;
  };
}

int TTickPlan::TickFor(int row) const {
  if (!IsDrawn()) return Fixed[std::size_t(row)];
  const int draw = Random(Range);
  return Base + (ScaledByRow ? row * draw : draw);
}

TTickPlan At(int tick, int rows) { return TTickPlan{std::vector<int>(std::size_t(rows), tick)}; }

TTickPlan Every(int first, int last, int step) {
  TTickPlan plan;
  for (int t = first; t <= last; t += step) plan.Fixed.push_back(t);
  return plan;
}

TTickPlan Ticks(std::vector<int> ticks) { return TTickPlan{std::move(ticks)}; }

TTickPlan Then(TTickPlan first, const TTickPlan& more) {
  first.Fixed.insert(first.Fixed.end(), more.Fixed.begin(), more.Fixed.end());
  return first;
}

TTickPlan Repeated(const TTickPlan& run, int times) {
  TTickPlan plan;
  for (int n = 0; n < times; ++n) plan.Fixed.insert(plan.Fixed.end(), run.Fixed.begin(), run.Fixed.end());
  return plan;
}

TTickPlan EachRepeated(const TTickPlan& run, int times) {
  TTickPlan plan;
  for (int t : run.Fixed) plan.Fixed.insert(plan.Fixed.end(), std::size_t(times), t);
  return plan;
}

TTickPlan RandomTick(int base, int range, int rows) {
  TTickPlan plan;
  plan.DrawnRows = rows;
  plan.Base = base;
  plan.Range = range;
  return plan;
}

TTickPlan RowTimesRandomTick(int base, int range, int rows) {
  TTickPlan plan = RandomTick(base, range, rows);
  plan.ScaledByRow = true;
  return plan;
}

namespace {

// Draw order within a row: its tick, then the position (X, Y), then the extra.
void AppendRow(int level, const TSpawnGroup& group, int row, std::vector<TSpawnRecord>& spawns) {
  const int tick = group.Ticks.TickFor(row);
  const TVector3 position = group.Position(row);
  const TVector3 extra = group.Extra ? group.Extra(row) : position;
  spawns.push_back(MakeSpawnRecord(level, ActionSpawn, TriggerOnTick, tick, group.Kind, position, group.Lives,
                                   group.FixedSpawn, extra, std::string(), false, group.Param));
}

bool FiresWith(const TSpawnGroup& a, const TSpawnGroup& b) {
  return !a.Ticks.IsDrawn() && !b.Ticks.IsDrawn() && a.Ticks.Fixed == b.Ticks.Fixed;
}

}  // namespace

void AppendLevel(int level, const TLevelPlan& plan, std::vector<TSpawnRecord>& spawns) {
  std::size_t next = 0;
  if (plan.PickupLeads && !plan.Groups.empty()) {
    const TSpawnGroup& lead = plan.Groups[0];
    for (int row = 0; row < lead.Ticks.Rows(); ++row) AppendRow(level, lead, row, spawns);
    next = 1;
  }

  // The quota written here is a placeholder: the level manager counts the
  // level's aliens once the whole script is built and writes the real one.
  spawns.push_back(MakeSpawnRecord(level, ActionSetQuota, TriggerOnTick, 0, 0, TVector3{}, 0, true, TVector3{},
                                   QuotaNote, false, 0));
  spawns.push_back(MakeSpawnRecord(level, ActionSpawn, TriggerOnTick, 0, BlobKind::Message, At2D(0, TitleY), TitleLives,
                                   false, plan.Colour, plan.Title, false, -1));

  while (next < plan.Groups.size()) {
    std::size_t end = next + 1;
    while (end < plan.Groups.size() && FiresWith(plan.Groups[next], plan.Groups[end])) ++end;
    const int rows = plan.Groups[next].Ticks.Rows();
    for (int row = 0; row < rows; ++row)
      for (std::size_t g = next; g < end; ++g) AppendRow(level, plan.Groups[g], row, spawns);
    next = end;
  }
}
