#include "gfx/DrawList.h"

bool SameDrawState(const TBatchState& a, const TBatchState& b) {
  if (a.Kind != b.Kind || a.Texture != b.Texture || a.Blend != b.Blend || a.AlphaTest != b.AlphaTest ||
      a.DepthTest != b.DepthTest)
    return false;
  if (a.Blend && a.BlendMode != b.BlendMode) return false;
  if (a.Kind == TBatchKind::Triangles) return a.CullFace == b.CullFace;
  return a.Size == b.Size;
}

TDrawList::TDrawList(int maxVertices, int maxBatches)
    : MaxVertices(std::size_t(maxVertices)), MaxBatches(std::size_t(maxBatches)) {
  VertexArray.reserve(MaxVertices);
  Batches.reserve(MaxBatches);
}

bool TDrawList::Add(const TBatchState& state, const TBatchVertex* vertices, int count) {
  if (VertexArray.size() + std::size_t(count) > MaxVertices) return false;
  const bool joins = !Batches.empty() && SameDrawState(Batches.back().State, state);
  if (!joins) {
    if (Batches.size() >= MaxBatches) return false;
    Batches.push_back(TDrawBatch{state, int(VertexArray.size()), 0});
  }
  VertexArray.insert(VertexArray.end(), vertices, vertices + count);
  Batches.back().Count += count;
  return true;
}

void TDrawList::Clear() {
  VertexArray.clear();
  Batches.clear();
}
