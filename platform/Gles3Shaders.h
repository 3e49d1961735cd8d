#pragma once
// What the OpenGL ES 3.0 half of the batched renderer runs on the GPU, kept
// apart from any GL header so it can be checked without a context: the
// shaders, which program draws a run, and the camera as a matrix (ES has no
// glFrustum).
//
// One program per texturing and alpha-test state: a texturing flag carried by
// every vertex and tested in one shader cost far more than switching programs
// at the few run boundaries where texturing changes, and a shader that may
// discard costs the driver its early depth test, so runs without the alpha
// test get one that never does.
#include <array>
#include <string>

#include "gfx/DrawList.h"

constexpr int kGles3ProgramCount = 4;

// The program that draws a run in that state: 0 plain, 1 textured, 2 alpha
// tested, 3 textured and alpha tested.
int Gles3ProgramFor(const TBatchState& state);
bool Gles3ProgramIsTextured(int program);
bool Gles3ProgramTestsAlpha(int program);

// GLSL ES 3.00 sources. Vertices arrive in eye space at attribute 0
// (position), 1 (colour) and 2 (texture coordinate).
std::string Gles3VertexShaderSource();
std::string Gles3FragmentShaderSource(int program);

// The matrix glFrustum would multiply the projection by, column by column.
// False, with the matrix untouched, for a frustum GL refuses (no width,
// height or depth, or a near or far plane not in front of the eye).
bool FrustumMatrix(double left, double right, double bottom, double top, double zNear, double zFar,
                   std::array<float, 16>& m);
