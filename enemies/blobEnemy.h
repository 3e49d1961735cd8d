#pragma once
// TBlobEnemy: the life every enemy lives. It grows in at its spawn point
// (state 0), is alive and can be hit (state 1), explodes with its points value
// floating up from the wreck (state 3), then spawns again from its remaining
// lives or goes inactive and waits in the enemy list to be reused.
//
// What tells one kind from another (shield, colours, sounds, outline, glow,
// explosion) is data that each kind's Create fills in; the few steps that
// really differ are small virtual hooks with the grunt's behaviour as default.
#include <array>
#include <cstdint>

#include "entities/blob.h"
#include "entities/blobEvent.h"
#include "gfx/PdxLib3DTypes.h"

class TBlobPlayer;
class TFormSounds;
class TGLPrinter;
class TMS3DObj;
class TParticleEngine;

// One of the sound bank's play procedures (&TFormSounds::PlayGruntHit).
using TSoundProc = void (TFormSounds::*)();

// The burst of particles on the first frame of an explosion.
struct TDeathBurst {
  int Rounds = 17;
  std::uint8_t Style = 1;
  bool RandomSpeed = false;
  int SpeedMin = 5;
  int Speed = 11;
  int LifeMin = 50;
  int LifeMax = 100;
  int TailBase = 8;
  // Each round emits one particle per colour; none listed means one particle
  // of the body colour.
  int ColourCount = 0;
  TVector3 Colours[2];
};

// Where and how the enemy was drawn when its last update took its picture:
// what happens later in the same step (a bullet's knock-back, a well's pull)
// shows only in the next picture.
struct TEnemyPicture {
  TVector3 At;
  float Scale = 1;     // the body's scale, or its height while it opens
  float Pulse = 1;     // the pulse the glow follows
  float Progress = 0;  // how far the explosion has gone, 0 to 1
  float Spread = 0;    // how far the wreck's edges have flown
};

class TBlobEnemy : public TBlob {
 public:
  static constexpr int MaxOutline = 32;

  // Puts every shared field back to its start; each kind calls it first and
  // then sets its own numbers.
  void Create() override;

  // Where and how often the enemy appears; called right after Create.
  void SetSpawn(const TVector3& position, int lives, bool fixedSpawn, const TVector3& extra);

  // Dispatches on State: 0 spawning, 1 alive, 3 dying; anything else is idle.
  void Update() override;
  // The picture the last update took, by the life state it was in.
  void Draw() const override;
  // A player bullet: flash, knock-back, one shield point less; the last one kills.
  void Hit() override;
  // The gravi-bomb ring: destroyed at once, points only if the kind awards them.
  void Blast() override;
  // Swallowed by a gravity well: destroyed without points.
  void Absorb() override;

  // Wired by the level manager; none of them is owned, each may be null.
  TBlobEvent OnDestroyed;
  TFormSounds* Sounds;
  TBlobPlayer* Player;
  TParticleEngine* Particles;
  TGLPrinter* Printer;
  TMS3DObj* GlowModel;

  int Shield;        // bullet hits left
  int HitFlash;      // frames of hit reaction left
  int DyingCounter;  // frames of the explosion left
  int DyingLength;   // length of the explosion in frames
  float Spread;      // how far the exploding edges have flown

  // The outline: vertex i to vertex i+1, the last edge closing back to 0.
  std::array<TVector3, MaxOutline> Vertices;
  std::array<TVector3, MaxOutline> EdgeNormals;
  int VertexCount;

  TVector3 SpawnPosition;  // first spawn, and every spawn when FixedSpawn
  int LivesLeft;           // spawns still to come, counting the current one
  int Lives;               // spawns in all
  bool FixedSpawn;
  TVector3 SpawnExtra;  // stored for the kinds that read it

  TVector3 BodyColour;

  // The kind's numbers, set by its Create.
  int SpawnShield;         // Shield at every spawn
  int SpawnScatter;        // a respawn lands at Random(1000) - SpawnScatter on X and Y
  float SpreadRate;        // Spread added per dying frame
  float OutlineWidth;      // line width of the alive outline
  float EdgeWidth;         // line width of the flying edges
  TVector3 EdgeColour;     // colour of the flying edges (alpha fades with the wreck)
  TVector3 PointsColour;   // colour of the floating points value
  TVector3 GlowScale;      // glow size on X and Y at pulse 1
  float FlashPulseFactor;  // how much faster the pulse runs while hit
  TSoundProc HitSound;     // a hit that leaves shield (also the last one without DestroyedSound)
  TSoundProc DestroyedSound;
  bool BlastAwardsPoints;
  TDeathBurst Burst;

  TEnemyPicture Picture;

 protected:
  virtual void UpdateSpawning();
  virtual void UpdateAlive();
  virtual void UpdateDying();

  // Hooks of the default frames, each with the grunt's behaviour.
  virtual void SpawningFrame();    // takes the opening picture; kinds add their own
  virtual void AdvanceBody() {}    // what the body does each alive frame (a pod's spin)
  virtual void EmitHitSparks();    // red and yellow sparks each flash frame
  virtual void AdvanceSpeed();     // faster the longer it lives, up to 5
  virtual void Chase(float step);  // towards the ship on both axes at once
  virtual void EmitDeathBurst();
  virtual void DrawSpawning() const;          // the outline opening from a line
  virtual void DrawAlive() const;             // the body in its pulse, and the glow
  virtual void DrawDying() const;             // the points value and the flying edges
  virtual void DrawBody() const;              // the outline, inside the alive transform
  virtual void DrawAliveGlow() const;         // glow behind the body, pulsing with it
  virtual void DrawDyingText(float t) const;  // the points value squashing and fading

  // Copies an outline and works out its edge normals.
  void SetOutline(const TVector3* vertices, int count);
  // SpawnPosition on the first spawn or when fixed; a random place on the
  // first frame of a respawn.
  void PlaceForSpawn();
  // Shield, flash, explosion and pulse back to their spawn values.
  void ResetForSpawn();
  // Size grows by 0.04 a frame; past full the enemy is alive.
  void GrowIn(float full = 1.0f);
  // One frame of the explosion clock; true when it has run out (the enemy is
  // then spawning again, or inactive with no lives left).
  bool CountDownDying();
  // 0.02 on the first dying frame of a 50-frame explosion, rising to 0.98.
  float DyingProgress() const;
  void DrawOutline() const;
  void DrawFlyingEdges(float t) const;
  // Every edge of the outline as its own segment, moved out along its normal
  // by Spread (0 draws the outline itself), in the current transform.
  void DrawEdgeSegments(float spread) const;
  // Soft glow: the glow model flattened and lit only by its ambient colour.
  void DrawGlow(const TVector3& at, float sx, float sy, float sz, const TVector3& ambient,
                const TVector3& diffuse) const;
  void PlaySound(TSoundProc sound) const;
  void Emit(const TVector3& pos, bool useDir, const TVector3& dir, std::uint8_t style, const TVector3& colour,
            bool randomSpeed, int speedMin, int speed, int lifeMin, int lifeMax, int tailBase) const;
  // Takes this frame's picture: the state it shows, where and how big.
  void TakePicture(std::uint8_t shown, float scale);
  // Fires OnDestroyed, awards the points if asked, and starts the explosion.
  void Die(bool awardPoints);
};
