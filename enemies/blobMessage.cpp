#include "enemies/blobMessage.h"

#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"

TBlobMessage::TBlobMessage() {
  // Room for the longest title, so reusing a message never allocates.
  Text.reserve(128);
  TBlobMessage::Create();
}

void TBlobMessage::Create() {
  TBlob::Create();
  HalfWidth = 0;
  HoldFrames = 0;
  StartPosition = TVector3{};
  MessageVelocity = TVector3{};
  Kind = BlobKind::Message;
  SetText({});
  TextColour = MakeColor(0.5f, 0, 1);
  Points = 50;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 25;
  SetActive(true);
  Sounds = nullptr;
  Player = nullptr;
  Particles = nullptr;
  Printer = nullptr;
  GlowModel = nullptr;
  ShownAt = TVector3{};
}

void TBlobMessage::SetPath(const TVector3& position, int, bool, const TVector3& extra) {
  StartPosition = position;
  MessageVelocity = extra;
}

void TBlobMessage::SetText(std::string_view text) {
  Text.assign(text);
  HalfWidth = 5 * int(Text.size());
}

void TBlobMessage::Update() {
  Shown = BlobShown::Nothing;
  if (State == BlobState::Spawning) {
    // One frame to take up the start position; nothing is drawn.
    HoldFrames = RestFrames;
    Speed = 1.0f;
    Position = StartPosition;
    State = BlobState::Alive;
    return;
  }
  if (State != BlobState::Alive) return;

  // Drawn where it stands before this frame's rise.
  Shown = BlobShown::Alive;
  ShownAt = Position;

  Position.Y += MessageVelocity.Y;
  MessageVelocity.Y += 0.4f;  // always accelerating upwards
  if (Position.Y > 0) {
    if (HoldFrames >= 1) {
      // Rests where it crossed the middle.
      MessageVelocity.Y = 0;
      --HoldFrames;
    } else if (Position.Y > ArenaHalf) {
      State = BlobState::Spawning;
      SetActive(false);
    }
  }
}

void TBlobMessage::Draw() const {
  if (Shown == BlobShown::Nothing) return;
  if (Printer) Printer->PrintAt(2, TextColour, ShownAt.X - float(HalfWidth), ShownAt.Y, MakeVector(1, 1, 1), Text);
  DrawBand();
}

void TBlobMessage::DrawBand() const {
  TRenderer& gl = GL();
  gl.Enable(TCapability::Lighting);
  gl.Disable(TCapability::Light0);
  gl.PushMatrix();
  // Always centred on the arena's middle, across its whole width.
  gl.Translate(0, ShownAt.Y, ShownAt.Z);
  gl.Scale(1000, 30, 1);
  if (GlowModel) GlowModel->DrawColoured(TextColour, TextColour);
  gl.PopMatrix();
  gl.Disable(TCapability::Lighting);
  gl.Enable(TCapability::Blend);
  gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);
}
