#pragma once
// Vector builders, whole-degree heading helpers, overlap tests and the
// ping-pong pulse that every entity, effect and the game object share.
#include "gfx/PdxLib3DTypes.h"

constexpr float ArenaHalf = 500.0f;

TVector3 MakeVector(float x, float y, float z);
TVector3 MakeColor(float r, float g, float b);
TColor4 MakeColor4(float r, float g, float b, float a);
void ClearVector(TVector3& v);

// Unit directions by whole degree, 0..360 (entry 360 equals entry 0).
extern const TVector3* DirTable;
constexpr int DirTableSize = 361;

void PolarToXY(float& x, float& y, float angle, float radius);
int WrapAngle(int a);            // one correction only
void NormalizeAngle(int& a);     // into 0..360, 360 kept
void NormalizeAngleF(float& a);  // into [0, 360)
int AngleToPoint(int x1, int y1, int x2, int y2);
int AngleToPointF(float x1, float y1, float x2, float y2);
int AngleDiff(int a, int b);

bool CirclesOverlap(float x1, float y1, float r1, float x2, float y2, float r2);
bool SquaresOverlap(float x1, float y1, float s1, float x2, float y2, float s2);
bool ClampToArena(TVector3& pos);
// A point beyond a wall of r is set onto it, that part of its velocity
// reversed, and it steps once by the new velocity (each axis on its own).
void BounceInRect(TVector3& pos, TVector3& velocity, const TIntRect& r);
void PingPong(float& value, float& step, float lo, float hi, float factor);

// Round half to even, the rounding the game uses everywhere it rounds.
int RoundInt(double v);
