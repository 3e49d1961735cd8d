#pragma once
// TBlobMessage: a line of text the level script sends up the arena (level
// titles and announcements). It rises on a glowing band, rests 100 frames
// just above the middle, then speeds out through the top and switches off.
// Nothing touches it: kind 9 is left out of every collision, bomb and well.
#include <string>
#include <string_view>

#include "entities/blob.h"
#include "gfx/PdxLib3DTypes.h"

class TBlobPlayer;
class TFormSounds;
class TGLPrinter;
class TMS3DObj;
class TParticleEngine;

class TBlobMessage : public TBlob {
 public:
  static constexpr int RestFrames = 100;

  TBlobMessage();
  void Create() override;

  void Update() override;
  // The text on its band where the last update left it.
  void Draw() const override;
  void Hit() override {}
  void Absorb() override {}

  // The spawn arguments: where it starts and (in Extra's Y) how fast it
  // starts to rise. Lives and FixedSpawn mean nothing to a message.
  void SetPath(const TVector3& position, int lives, bool fixedSpawn, const TVector3& extra);
  void SetText(std::string_view text);

  int HalfWidth;   // the text starts this far left of Position.X
  int HoldFrames;  // rest left at the middle
  TVector3 StartPosition;
  TVector3 MessageVelocity;  // only Y is used
  std::string Text;
  TVector3 TextColour;  // also the band's colour

  // Wired by the level manager; only Printer and GlowModel are used.
  TFormSounds* Sounds = nullptr;
  TBlobPlayer* Player = nullptr;
  TParticleEngine* Particles = nullptr;
  TGLPrinter* Printer = nullptr;
  TMS3DObj* GlowModel = nullptr;

 private:
  void DrawBand() const;
  TVector3 ShownAt;
};
