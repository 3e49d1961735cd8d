#pragma once
// The batching backend's GL half for OpenGL ES 3.0, which is what WebGL 2 is:
// the same runs of eye-space vertices as the OpenGL 1.5 half draws, from one
// vertex buffer, with a small shader doing what fixed-function GL did there
// (the camera, the texture modulating the colour, the alpha test as a
// discard) and one draw call a run. Written against <GLES3/gl3.h> alone and
// free of SDL, so the web page builds the same file; on the desktop it runs
// in an ES 3.0 context.
//
// WebGL draws lines one pixel wide only. The CPU half already sends every
// point and every wider line as triangles once it knows the window's pixel
// size; what still arrives as points gets its size in the shader, and lines
// keep glLineWidth, which a desktop ES driver may honour.
#include <array>
#include <optional>

#include "platform/GLCommonSink.h"
#include "platform/Gles3Shaders.h"

// The state an ES 3.0 context starts the game with (the ES twin of
// SetContextDefaults): the clear values and the depth test that lets a shape
// at the same depth still pass.
void SetGles3ContextDefaults();

class TGles3BatchSink : public TGLCommonSink {
 public:
  TGles3BatchSink() = default;
  TGles3BatchSink(const TGles3BatchSink&) = delete;
  TGles3BatchSink& operator=(const TGles3BatchSink&) = delete;
  ~TGles3BatchSink() override;

  void Frustum(double left, double right, double bottom, double top, double zNear, double zFar) override;
  void BeginFrameState() override;
  void Draw(const TDrawList& list) override;

 private:
  struct TProgram {
    unsigned Name = 0;
    int Projection = -1, PointSize = -1;  // uniform locations
    unsigned ProjectionSeen = 0;          // the camera it was last given
    std::optional<float> PointSizeSet;
  };

  // Compiles and links the programs and makes the buffer, once, in the
  // current context; false (said once on stderr) when the driver refuses.
  bool Ready();
  void Apply(const TBatchState& s);
  void Forget();

  bool Tried = false, Usable = false;
  std::array<TProgram, kGles3ProgramCount> Programs;
  unsigned VertexArray = 0;
  std::array<float, 16> Projection{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // GL starts at identity
  unsigned ProjectionVersion = 1;                                                    // counts every new camera

  std::optional<int> Current;  // the program in use; empty means "not known"
};
