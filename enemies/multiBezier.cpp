#include "enemies/multiBezier.h"

#include <cmath>

#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"

namespace {
// The tentacles' own degree-to-radian factor (pi to three places).
constexpr double DegToRad = 3.142 / 180.0;

TMultiBezier::TPoint2 Mid(const TMultiBezier::TPoint2& a, const TMultiBezier::TPoint2& b) {
  return {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
}
}  // namespace

TMultiBezier::TMultiBezier() { Reset(); }

void TMultiBezier::Reset() {
  Selected = Random(11);
  Reaching = false;
  ReachStep = 0;
  for (int i = 0; i < TentacleCount; ++i) {
    TTentacle& t = Tentacles[i];
    t.BaseAngle = 30.0f * i;
    t.Wobble = 0;
    for (int k = 0; k < ControlCount; ++k) t.ControlPoints[k] = {float(k), 0};
    t.Sub.fill(TPoint2{});
    t.Hits = 0;
  }
}

int TMultiBezier::LiveCount() const {
  int n = 0;
  for (const TTentacle& t : Tentacles)
    if (!t.Destroyed()) ++n;
  return n;
}

void TMultiBezier::Update() {
  for (TTentacle& t : Tentacles) {
    Animate(t);
    // The reach runs once per tentacle, so ReachStep moves by twelve a frame;
    // the selected tip is pulled from where its own wave put it this frame.
    ReachOrRetract();
    Split(t);
    t.BaseAngle += 0.1f;
  }
}

void TMultiBezier::Animate(TTentacle& t) {
  double a = t.BaseAngle;
  for (int k = 0; k < ControlCount; ++k) {
    t.Wobble += 0.5f;
    if (t.Wobble >= 360) t.Wobble -= 360;
    // Each joint bends up to ten degrees further than the one before.
    a += 10 * std::cos((64 * k + t.Wobble) * DegToRad);
    const double r = 100 + 60 * k;
    const double s = std::sin(a * DegToRad), c = std::cos(a * DegToRad);
    t.ControlPoints[k] = {float(r * (s + c)), float(r * (c - s))};
  }
}

void TMultiBezier::ReachOrRetract() {
  if (Reaching) {
    ++ReachStep;
    PullSelectedTip();
    if (ReachStep >= ReachLength) Reaching = false;
  } else if (ReachStep < 1) {
    ReachStep = 0;
    ChooseSelected();
  } else {
    --ReachStep;
    PullSelectedTip();
  }
}

void TMultiBezier::ChooseSelected() {
  Selected = Random(11);
  int count = 0;
  for (int i = 0; i < TentacleCount; ++i)
    if (!Tentacles[i].Destroyed()) Choices[count++] = i;
  // With every tentacle gone the plain draw stands, and nothing shows it.
  if (count > 0) Selected = Choices[Random(count)];
}

void TMultiBezier::PullSelectedTip() {
  if (Selected < 0 || Selected >= TentacleCount) return;
  const TPoint2& tip = Tentacles[Selected].ControlPoints[ControlCount - 1];
  // ReachStep / 512 of the way from where the wave puts the tip to the target.
  const float left = float(ReachLength - ReachStep);
  const int x = RoundInt(TargetX - (TargetX - tip.X) / ReachLength * left);
  const int y = RoundInt(TargetY - (TargetY - tip.Y) / ReachLength * left);
  MoveTip(x, y);
}

void TMultiBezier::MoveTip(int x, int y) {
  if (Selected < 0 || Selected >= TentacleCount) return;
  auto& p = Tentacles[Selected].ControlPoints;
  const float dx = p[3].X - x, dy = p[3].Y - y;
  p[3] = {float(x), float(y)};
  p[2].X -= dx / 2;
  p[2].Y -= dy / 2;
  p[1].X -= dx / 2;
  p[1].Y -= dy / 2;
}

void TMultiBezier::Split(TTentacle& t) {
  // De Casteljau at t = 0.5: both halves share the middle point Sub[3].
  const auto& p = t.ControlPoints;
  auto& s = t.Sub;
  const TPoint2 m = Mid(p[1], p[2]);
  s[0] = p[0];
  s[1] = Mid(p[0], p[1]);
  s[5] = Mid(p[2], p[3]);
  s[2] = Mid(s[1], m);
  s[4] = Mid(m, s[5]);
  s[3] = Mid(s[2], s[4]);
  s[6] = p[3];
}
