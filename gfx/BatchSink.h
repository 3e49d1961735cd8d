#pragma once
// Where the batching backend sends its work: the few calls that go straight
// to the driver, and the queued runs of vertices. The OpenGL one lives in
// platform/; tests use a recording one.
#include "gfx/DrawList.h"

class TBatchSink {
 public:
  virtual ~TBatchSink() = default;

  virtual void Viewport(int x, int y, int width, int height) = 0;
  virtual void Frustum(double left, double right, double bottom, double top, double zNear, double zFar) = 0;
  virtual void ClearFrame() = 0;
  // The state every frame starts from; after it nothing about the driver's
  // state may be assumed until the next runs set it.
  virtual void BeginFrameState() = 0;
  virtual unsigned CreateTexture(int width, int height, const std::uint8_t* rgb) = 0;
  // Draws the runs in order, each with its own state.
  virtual void Draw(const TDrawList& list) = 0;
};
