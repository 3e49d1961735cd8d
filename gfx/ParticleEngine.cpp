#include "gfx/ParticleEngine.h"

#include "gfx/MS3DObj.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"

namespace {
// Each frame a particle loses this much opacity and is dropped below the
// floor: from full opacity that is at most 40 drawn frames.
constexpr float FadePerFrame = 0.02f;
constexpr float AlphaFloor = 0.2f;
// Speed lost per frame is a uniform amount below this; nothing stops a slow
// particle from drifting backwards.
constexpr float DragDivisor = 6.0f;

// A streak pointing backwards, away from the direction of travel.
void DrawTail(const TParticle& p, float width) {
  GL().LineWidth(width);
  GL().Begin(TPrimitive::Lines);
  GL().Vertex(0, 0, 0);
  GL().Vertex(-p.Velocity.X * float(p.TailLength), -p.Velocity.Y * float(p.TailLength), 0);
  GL().End();
}

void DrawDot(float size) {
  GL().PointSize(size);
  GL().Begin(TPrimitive::Points);
  GL().Vertex(0, 0, 0);
  GL().End();
}

// The glow pass: the same shape again, wider, at half the opacity.
void GlowColour(const TParticle& p) { GL().Color(p.Colour.X, p.Colour.Y, p.Colour.Z, p.Alpha / 2); }

// One particle at its place, by its style.
void DrawParticle(const TParticle& p, TMS3DObj* model) {
  GL().PushMatrix();
  GL().Translate(p.Position.X, p.Position.Y, p.Position.Z);
  GL().Color(p.Colour.X, p.Colour.Y, p.Colour.Z, p.Alpha);
  switch (p.Style) {
    // Sparks: a thin core streak and a glow twice as wide. Style 0's glow
    // follows the tail too, so every streak style glows the same way.
    case 0:
    case 1:
    case 2: {
      const float core = p.Style == 0 ? 1.0f : (p.Style == 1 ? 2.0f : 4.0f);
      DrawTail(p, core);
      GlowColour(p);
      DrawTail(p, core * 2);
      break;
    }
    case 3: DrawDot(1); break;
    // Dots with a glow.
    case 4:
      DrawDot(1);
      GlowColour(p);
      DrawDot(3);
      break;
    case 5:
      DrawDot(2);
      GlowColour(p);
      DrawDot(4);
      break;
    case 6:
      DrawDot(4);
      GlowColour(p);
      DrawDot(8);
      break;
    // Sprites: the model flattened onto the arena, lit only by its ambient
    // colour (light 0 off), so it shows in the particle's colour.
    case 7:
    case 8:
    case 9:
    case 10: {
      const float scale = 2.0f * float(p.Style - 6);
      GL().Scale(scale, scale, 0);
      GL().Enable(TCapability::Lighting);
      GL().Disable(TCapability::Light0);
      if (model) model->DrawColoured(p.Colour, p.Colour);
      GL().BlendFunc(TBlendMode::AlphaOneMinusAlpha);
      GL().Enable(TCapability::Blend);
      GL().Disable(TCapability::Lighting);
      break;
    }
    default:  // unknown styles live and fade unseen
      break;
  }
  GL().PopMatrix();
}
}  // namespace

TParticleEngine::TParticleEngine(const TIntRect& bounds) : Bounds(bounds), Pool(new TParticle[PoolSize]) {}

void TParticle::BounceInRect(const TIntRect& r) { ::BounceInRect(Position, Velocity, r); }

void TParticleEngine::AddParticle(const TVector3& pos, bool useDir, const TVector3& dir, std::uint8_t style,
                                  const TVector3& colour, bool randomSpeed, int speedMin, int speed, int lifeMin,
                                  int lifeMax, int tailBase) {
  while (FirstFree < PoolSize && Pool[FirstFree].Active) ++FirstFree;
  if (FirstFree == PoolSize) return;  // every particle is busy: the spark is simply not made
  TParticle* p = &Pool[FirstFree++];

  p->Position = pos;
  p->Velocity = useDir ? dir : DirTable[Random(360)];
  p->SetActive(true);
  p->Life = lifeMin + Random(lifeMax - lifeMin);
  p->LifeMin = lifeMin;
  p->LifeMax = lifeMax;
  p->Speed = randomSpeed ? float(speedMin + Random(speed - speedMin)) : float(speed);
  p->Alpha = 1.0f;
  p->Style = style;
  p->TailLength = tailBase + Random(8);
  p->Colour = colour;
}

void TParticleEngine::UpdateAndDraw() {
  Update();
  Draw();
}

void TParticleEngine::Draw() const {
  for (int i = 0; i < PoolSize; ++i)
    if (Pool[i].Active) DrawParticle(Pool[i], Model);
}

void TParticleEngine::Update() {
  for (int i = 0; i < PoolSize; ++i) {
    TParticle& p = Pool[i];
    if (!p.Active) continue;

    if (--p.Life < 0) {
      p.SetActive(false);
      if (i < FirstFree) FirstFree = i;
      continue;
    }
    p.Position.X += p.Speed * p.Velocity.X;
    p.Position.Y += p.Speed * p.Velocity.Y;
    p.Position.Z += p.Speed * p.Velocity.Z;
    p.Speed -= Random() / DragDivisor;
    p.BounceInRect(Bounds);

    p.Alpha -= FadePerFrame;
    if (p.Alpha < AlphaFloor) {
      p.SetActive(false);
      if (i < FirstFree) FirstFree = i;
    }
  }
}

void TParticleEngine::Clear() {
  for (int i = 0; i < PoolSize; ++i) Pool[i].SetActive(false);
  FirstFree = 0;
}

int TParticleEngine::ActiveCount() const {
  int n = 0;
  for (int i = 0; i < PoolSize; ++i)
    if (Pool[i].Active) ++n;
  return n;
}
