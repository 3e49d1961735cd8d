// The three ways to fly the ship (keyboard, mouse, joystick), and the tick's
// key, button and cursor events turned into game state.
#include <cmath>
#include <cstdio>

#include "app/QuadrovoltMain.h"
#include "app/World.h"
#include "entities/blobPlayer.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"

void TQuadrovoltMain::TakeInput(const TInputEvent& e) {
  using E = TInputEvent::TKind;
  if (WatchSwallows(e)) return;
  // R on the title plays back a recorded game (a held R's repeats do not).
  const bool freshR = e.Kind == E::KeyDown && e.Key == VK::R && !Keys[VK::R];
  ApplyInput(e);
  if (freshR && State == GameState::Title) {
    std::string why;
    if (!WatchSavedReplay(why)) std::fprintf(stderr, "no replay to watch: %s\n", why.c_str());
  }
}

void TQuadrovoltMain::ApplyInput(const TInputEvent& e) {
  using E = TInputEvent::TKind;
  switch (e.Kind) {
    case E::KeyDown:
    case E::OtherKeyDown: {
      const bool tracked = e.Kind == E::KeyDown;
      // A held key's repeat changes nothing unless P is held (then it flips
      // pause); an untracked key only ever flips pause.
      if (Keys[VK::P] || (tracked && (!Keys[e.Key] || e.Key == VK::Escape))) Session.Recorder().Event(e);
      if (tracked) {
        Keys[e.Key] = true;
        if (Keys[VK::Escape] && State == GameState::Title) State = GameState::Quit;
      }
      // Every key-down while P is held flips pause, auto-repeats included.
      if (Keys[VK::P]) Paused = !Paused;
      break;
    }
    case E::KeyUp:
      if (Keys[e.Key]) Session.Recorder().Event(e);
      Keys[e.Key] = false;
      break;
    case E::Cursor:
      Session.Recorder().Event(e);
      CursorX = e.X;
      CursorY = e.Y;
      break;
    case E::LeftDown:
    case E::LeftUp:
      if (MouseLeft != (e.Kind == E::LeftDown)) Session.Recorder().Event(e);
      MouseLeft = e.Kind == E::LeftDown;
      break;
    case E::RightDown:
      // Always recorded: it also puts the ship's target under the cursor.
      Session.Recorder().Event(e);
      Arena->Player().Target = TVector3{float(CursorX), float(CursorY), 0};
      MouseRight = true;
      break;
    case E::RightUp:
      if (MouseRight) Session.Recorder().Event(e);
      MouseRight = false;
      break;
  }
}

void TQuadrovoltMain::ReadKeyboard() {
  TBlobPlayer& p = Arena->Player();
  float dx = 0, dy = 0;
  if (Keys[VK::Left]) p.Position.X -= p.Speed, dx = -4;
  if (Keys[VK::Right]) p.Position.X += p.Speed, dx += 4;
  if (Keys[VK::Up]) p.Position.Y += p.Speed, dy = -4;
  if (Keys[VK::Down]) p.Position.Y -= p.Speed, dy += 4;
  p.HeadingDeg = AngleToPointF(p.Position.X, p.Position.Y, p.Position.X + dx, p.Position.Y - dy);
  p.Heading = float(p.HeadingDeg);

  KeyFire = false;
  int fx = 0, fy = 0;
  if (Keys[VK::Z]) fx = -1, KeyFire = true;
  if (Keys[VK::X]) fy = 1, KeyFire = true;
  if (Keys[VK::C]) fx = 1, KeyFire = true;
  if (Keys[VK::S]) fy = -1, KeyFire = true;
  int x = RoundInt(p.Position.X), y = RoundInt(p.Position.Y);
  p.AimAngle = AngleToPoint(x, y, x + 10 * fx, y - 10 * fy);
}

void TQuadrovoltMain::ReadJoystick() {
  if (!Session.Joystick().Read(JoyInfo)) return;
  TBlobPlayer& p = Arena->Player();
  // No dead zone of the game's own (the platform reports a pad's rest as
  // exact centre): an off-centre reading drifts the ship.
  float ox = float(int(JoyInfo.XPos) - 32767), oy = float(int(JoyInfo.YPos) - 32767);
  p.HeadingDeg = AngleToPointF(p.Position.X, p.Position.Y, p.Position.X + ox, p.Position.Y - oy);
  p.Heading = float(p.HeadingDeg);
  p.Position.X += ox / 32767 * p.Speed;
  p.Position.Y -= oy / 32767 * p.Speed;

  const int previousAim = p.AimAngle;
  JoyFire = false;
  int fx = 0, fy = 0;
  if (JoyInfo.Buttons & 1) fx = -1, JoyFire = true;
  if (JoyInfo.Buttons & 8) fx = 1, JoyFire = true;
  if (JoyInfo.Buttons & 2) fy = -1, JoyFire = true;
  if (JoyInfo.Buttons & 4) fy = 1, JoyFire = true;
  int x = RoundInt(p.Position.X), y = RoundInt(p.Position.Y);
  p.AimAngle = AngleToPoint(x, y, x + 10 * fx, y - 10 * fy);

  // A pad's right stick off rest aims the gun its way and fires; the reading
  // comes calibrated, so anything but centre is a deliberate push. Its y grows
  // downwards like the left stick's: pushed up, the gun points up the arena.
  const int rx = int(JoyInfo.RightX) - 32767, ry = int(JoyInfo.RightY) - 32767;
  if (rx != 0 || ry != 0) {
    p.AimAngle = AngleToPoint(0, 0, rx, -ry);
    JoyFire = true;
  } else if (JoyInfo.RightTrigger > 0) {
    // The right trigger fires where the gun points: with no button aiming it
    // keeps the last aim rather than swinging back to face right.
    if (!JoyFire) p.AimAngle = previousAim;
    JoyFire = true;
  }
}

void TQuadrovoltMain::MoveByMouse() {
  TBlobPlayer& p = Arena->Player();
  if (std::fabs(p.Target.X - p.Position.X) <= 2 && std::fabs(p.Target.Y - p.Position.Y) <= 2) {
    p.Position = p.Target;
    p.AtTarget = true;
  } else {
    p.HeadingDeg = AngleToPointF(p.Position.X, p.Position.Y, p.Target.X, p.Target.Y);
    p.Heading = float(p.HeadingDeg);
    p.AtTarget = false;
    const TVector3& d = DirTable[p.HeadingDeg];
    p.Position.X += p.Speed * d.X;
    p.Position.Y += p.Speed * d.Y;
  }

  Shown.TargetCross = true;
  Shown.Target = p.Target;
}

void TQuadrovoltMain::DrawTargetCross() const {
  // A white cross marks where the ship is heading.
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Shown.Target.X, Shown.Target.Y, 0);
  gl.Color(1, 1, 1, 1);
  gl.LineWidth(1);
  gl.Begin(TPrimitive::Lines);
  gl.Vertex(0, 5, 0);
  gl.Vertex(0, -5, 0);
  gl.Vertex(-5, 0, 0);
  gl.Vertex(5, 0, 0);
  gl.End();
  gl.PopMatrix();
}
