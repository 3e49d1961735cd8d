#pragma once
// A frame's drawing as the batching backend hands it to the driver: one array
// of vertices already in eye space, and the runs of it that share their GL
// state, in drawing order. Both arrays are reserved once; a full list says so
// and the backend draws it out and starts again.
#include <cstdint>
#include <vector>

#include "gfx/Renderer.h"

// Loops, strips and quads arrive here as independent lines and triangles.
enum class TBatchKind : std::uint8_t { Lines, Points, Triangles };

struct TBatchVertex {
  float X, Y, Z;
  float R, G, B, A;
  float U, V;
};

// The GL state a run is drawn with. Size is the line width for lines and the
// point size for points.
struct TBatchState {
  TBatchKind Kind = TBatchKind::Lines;
  float Size = 1;
  unsigned Texture = 0;  // 0: texturing off
  bool Blend = false;
  TBlendMode BlendMode = TBlendMode::AlphaOneMinusAlpha;
  bool AlphaTest = false;
  bool CullFace = false;
  bool DepthTest = false;
};

// True when b can join a run drawn with a: they differ in nothing that would
// change a pixel of b (a line width means nothing to a triangle, a blend
// function nothing with blending off, culling nothing to lines and points).
bool SameDrawState(const TBatchState& a, const TBatchState& b);

struct TDrawBatch {
  TBatchState State;
  int First = 0;  // index of its first vertex
  int Count = 0;
};

class TDrawList {
 public:
  TDrawList(int maxVertices, int maxBatches);

  // Appends one line (2 vertices), point (1) or triangle (3), joining the last
  // run when its state allows. False, with nothing appended, when full.
  bool Add(const TBatchState& state, const TBatchVertex* vertices, int count);
  void Clear();
  bool Empty() const { return Batches.empty(); }

  const std::vector<TBatchVertex>& Vertices() const { return VertexArray; }
  std::size_t VertexCapacity() const { return MaxVertices; }
  const std::vector<TDrawBatch>& Runs() const { return Batches; }

 private:
  std::size_t MaxVertices, MaxBatches;
  std::vector<TBatchVertex> VertexArray;
  std::vector<TDrawBatch> Batches;
};
