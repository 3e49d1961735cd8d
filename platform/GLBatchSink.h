#pragma once
// The batching backend's GL half: draws a frame's runs of eye-space vertices
// from one vertex buffer object (OpenGL 1.5, so every Mesa driver and old
// GPU has it), with the model-view matrix left at identity and lighting off,
// since the CPU half already did both. It remembers the state it set so a run
// that shares most of its state with the one before costs only the changes.
#include <optional>

#include "platform/GLCommonSink.h"

class TGLBatchSink : public TGLCommonSink {
 public:
  void Frustum(double left, double right, double bottom, double top, double zNear, double zFar) override;
  void BeginFrameState() override;
  void Draw(const TDrawList& list) override;

 private:
  void Apply(const TBatchState& s);
  void Forget();

  // The fixed-function state only this backend has; empty means "not known".
  std::optional<bool> Texturing, AlphaTest;
  std::optional<float> PointSize;
};
