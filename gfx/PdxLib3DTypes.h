#pragma once
// The small records everything in the arena is made of.

struct TVector3 {
  float X = 0, Y = 0, Z = 0;
};

struct TColor4 {
  float R = 0, G = 0, B = 0, A = 0;
};

// Integer rectangle with Y growing upwards, so Top > Bottom.
struct TIntRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
