#include "entities/blobPlayer.h"

#include "gfx/Renderer.h"

TBlobPlayer::TBlobPlayer() { TBlobPlayer::Create(); }

void TBlobPlayer::Create() {
  TBlob::Create();
  BurstCooldown = 0;
  FireCountdown = 0;
  FireDelay = 4;
  Damage = 0;
  BulletLevel = 1;
  GraviBombs = 1;
  Invulnerable = 0;
  DamageHeld = false;
  Wrecked = false;
}

void TBlobPlayer::DrawShipAt(const TVector3& at, float heading, int aim) {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(at.X, at.Y, 0);

  // Body: the nose points along the heading.
  gl.PushMatrix();
  gl.Rotate(heading - 90, 0, 0, 1);
  gl.Scale(1.1f, 1.1f, 1.1f);
  gl.LineWidth(1);
  gl.Color(1, 1, 1, 1);
  gl.Begin(TPrimitive::LineLoop);
  gl.Vertex(2, 10, 0);
  gl.Vertex(-2, 10, 0);
  gl.Vertex(-10, -5, 0);
  gl.Vertex(10, -5, 0);
  gl.End();
  gl.Begin(TPrimitive::LineLoop);
  gl.Vertex(-10, -5, 0);
  gl.Vertex(-6, -10, 0);
  gl.Vertex(6, -10, 0);
  gl.Vertex(10, -5, 0);
  gl.End();
  gl.PopMatrix();

  // Gun: a barrel along the aim, independent of where the ship flies.
  gl.PushMatrix();
  gl.Rotate(float(aim - 90), 0, 0, 1);
  gl.Color(0.75f, 0.75f, 0, 1);
  gl.Begin(TPrimitive::LineLoop);
  gl.Vertex(-1.5f, 12, 0);
  gl.Vertex(-1.5f, 0, 0);
  gl.Vertex(1.5f, 0, 0);
  gl.Vertex(1.5f, 12, 0);
  gl.End();
  gl.PopMatrix();

  gl.PopMatrix();
}
