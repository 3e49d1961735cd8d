#pragma once
// The model-view matrix stack kept on the CPU, column-major as GL keeps it.
// The recorder and the batching backend both transform vertices with it, so
// they put every vertex exactly where OpenGL would.
#include <array>

#include "gfx/PdxLib3DTypes.h"

class TMatrixStack {
 public:
  using TMatrix = std::array<float, 16>;
  // As deep as OpenGL's own model-view stack is at the least.
  static constexpr int kMaxDepth = 32;

  TMatrixStack() { Reset(); }

  void Reset();  // one identity matrix
  void LoadIdentity();
  // Like GL, a push on a full stack and a pop of the last matrix are ignored.
  void Push();
  void Pop();
  void Translate(float x, float y, float z);
  void Rotate(float degrees, float x, float y, float z);
  void Scale(float x, float y, float z);

  // Pushes above the bottom matrix.
  int Depth() const { return Top; }
  const TMatrix& Current() const { return Stack[std::size_t(Top)]; }
  // The point (x, y, z, 1) times the current matrix; the game's matrices are
  // all affine, so w stays 1.
  TVector3 Transform(float x, float y, float z) const {
    const TMatrix& m = Current();
    return TVector3{m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                    m[2] * x + m[6] * y + m[10] * z + m[14]};
  }

 private:
  void Multiply(const TMatrix& m);

  std::array<TMatrix, kMaxDepth> Stack;
  int Top = 0;
};
