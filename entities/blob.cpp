#include "entities/blob.h"

#include <cmath>

#include "gfx/PdxLib3D.h"

TBlob::TBlob() { TBlob::Create(); }

void TBlob::Create() {
  GridMass = 0;
  Points = 0;
  Score = 0;
  Counter = 0;
  Style = 3;
  TailLength = 0;
  Kind = 0;
  Flag = 0;
  Step = 0;
  Colour = MakeColor(1, 1, 1);
  Direction = 0;
  State = 0;
  LifeMin = LifeMax = 0;
  Size = 0;
  Life = 0;
  Angle = 0;
  AtTarget = true;
  PulseScale = 1.0f;
  PulseMin = PulseMax = 0;
  PulseStep = 0;
  Target = TVector3{};
  Radius = 0;
  Active = false;
  Position = TVector3{};
  Heading = 0;
  Velocity = TVector3{};
  Speed = 0;
  Alpha = 0;
  AimAngle = 0;
  HeadingDeg = 0;
  Shown = BlobShown::Nothing;
}

bool TBlob::HitTest(TBlob*, float, float) { return false; }

int TBlob::CollideWithList(const TBlobList& list, TBlob* shooter, const TBlobEvent& onHit) {
  int count = 0;
  for (int i = 0; i < list.Count(); ++i) {
    TBlob* e = list[i];
    if (!e->Active || e->State == BlobState::Dying || e->Kind == BlobKind::Message) continue;
    bool contact;
    switch (e->Kind) {
      case BlobKind::Boss2:
        // Boss 2 is tested on whole-unit positions and radii.
        contact =
            CirclesOverlap(float(RoundInt(Position.X)), float(RoundInt(Position.Y)), float(RoundInt(Radius)),
                           float(RoundInt(e->Position.X)), float(RoundInt(e->Position.Y)), float(RoundInt(e->Radius)));
        break;
      case BlobKind::Boss3: contact = e->HitTest(shooter, Position.X, Position.Y); break;
      case BlobKind::Boss4:
        contact = e->HitTest(shooter, Position.X, Position.Y) ||
                  CirclesOverlap(Position.X, Position.Y, Radius, e->Position.X, e->Position.Y, e->Radius);
        break;
      default: contact = SquaresOverlap(Position.X, Position.Y, Radius, e->Position.X, e->Position.Y, e->Radius);
    }
    if (!contact) continue;
    e->Hit();
    ++count;
    onHit.Fire(this);
  }
  return count;
}

int TBlob::CollideWith(TBlob* other, const TBlobEvent& onHit) {
  if (other->Kind == BlobKind::Message) return 0;
  if (!CirclesOverlap(Position.X, Position.Y, Radius, other->Position.X, other->Position.Y, other->Radius)) return 0;
  other->Hit();
  onHit.Fire(this);
  return 1;
}

bool TBlob::Overlaps(const TBlob* other) const {
  if (other->Kind == BlobKind::Message) return false;
  return CirclesOverlap(Position.X, Position.Y, Radius, other->Position.X, other->Position.Y, other->Radius);
}

void TBlob::BounceInRect(const TIntRect& r) { ::BounceInRect(Position, Velocity, r); }
