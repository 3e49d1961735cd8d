// Which drawing backend QUADROVOLT_RENDERER names, and what the OpenGL ES 3.0
// backend decides on the CPU: the program a run is drawn with and the camera
// it hands the shader.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Gles3Shaders.h"
#include "platform/RendererChoice.h"

TEST(RendererChoice, NamesAreReadExactlyAndUnknownOnesLeaveTheChoice) {
  const struct {
    const char* Name;
    bool Known;
    TRendererKind Kind;
  } cases[] = {{"batched", true, TRendererKind::Batched}, {"immediate", true, TRendererKind::Immediate},
               {"gles3", true, TRendererKind::Gles3},     {"GLES3", false, TRendererKind::Immediate},
               {"gles", false, TRendererKind::Immediate}, {"gles3 ", false, TRendererKind::Immediate},
               {"", false, TRendererKind::Immediate},     {"batched,gles3", false, TRendererKind::Immediate}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRendererKind kind = TRendererKind::Immediate;
    EXPECT_EQ(ParseRendererKind(c.Name, kind), c.Known);
    EXPECT_EQ(kind, c.Kind);
    if (c.Known) {
      EXPECT_STREQ(RendererKindName(kind), c.Name);
    }
  }
  // Only the ES backend needs an ES context; the others a desktop one.
  EXPECT_TRUE(NeedsEsContext(TRendererKind::Gles3));
  EXPECT_FALSE(NeedsEsContext(TRendererKind::Batched));
  EXPECT_FALSE(NeedsEsContext(TRendererKind::Immediate));
}

TEST(RendererChoice, TheEnvironmentPicksTheBackendAndBatchedStaysTheDefault) {
  const char* before = std::getenv("QUADROVOLT_RENDERER");
  const std::string kept = before ? before : "";
  const struct {
    const char* Value;  // nullptr: unset
    TRendererKind Kind;
  } cases[] = {{nullptr, TRendererKind::Batched},
               {"", TRendererKind::Batched},
               {"gles3", TRendererKind::Gles3},
               {"immediate", TRendererKind::Immediate},
               {"webgl", TRendererKind::Batched}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value ? c.Value : "unset");
    if (c.Value)
      setenv("QUADROVOLT_RENDERER", c.Value, 1);
    else
      unsetenv("QUADROVOLT_RENDERER");
    EXPECT_EQ(RendererKindFromEnvironment(), c.Kind);
  }
  if (before)
    setenv("QUADROVOLT_RENDERER", kept.c_str(), 1);
  else
    unsetenv("QUADROVOLT_RENDERER");
}

TEST(Gles3Programs, EachTexturingAndAlphaTestStateHasItsOwnProgramAndNothingElseChangesIt) {
  bool used[kGles3ProgramCount] = {};
  for (unsigned texture : {0u, 5u})
    for (bool alphaTest : {false, true}) {
      TBatchState s;
      s.Texture = texture, s.AlphaTest = alphaTest;
      const int program = Gles3ProgramFor(s);
      ASSERT_GE(program, 0);
      ASSERT_LT(program, kGles3ProgramCount);
      EXPECT_FALSE(used[program]) << "two states share program " << program;
      used[program] = true;
      EXPECT_EQ(Gles3ProgramIsTextured(program), texture != 0);
      EXPECT_EQ(Gles3ProgramTestsAlpha(program), alphaTest);
      // The shader samples the texture and discards exactly as its state asks.
      const std::string source = Gles3FragmentShaderSource(program);
      EXPECT_EQ(source.find("texture(") != std::string::npos, texture != 0) << source;
      EXPECT_EQ(source.find("discard") != std::string::npos, alphaTest) << source;
      // Another texture, blending, depth, culling, kind or size: the same program.
      TBatchState other = s;
      other.Texture = texture ? 9 : 0, other.Blend = true, other.BlendMode = TBlendMode::AlphaOne;
      other.DepthTest = true, other.CullFace = true, other.Kind = TBatchKind::Points, other.Size = 7;
      EXPECT_EQ(Gles3ProgramFor(other), program);
    }
  EXPECT_EQ(Gles3VertexShaderSource().rfind("#version 300 es\n", 0), 0u);
}

TEST(Gles3Programs, TheCameraMatrixMapsTheFrustumOntoTheClipCube) {
  // The game's camera: an off-centre frustum, so the centre terms count too.
  const double l = -1.5, r = 0.5, b = -0.75, t = 1.25, n = 2, f = 50;
  std::array<float, 16> m{};
  ASSERT_TRUE(FrustumMatrix(l, r, b, t, n, f, m));
  const auto toClipCube = [&](double x, double y, double z, double out[3]) {
    double clip[4];
    for (int row = 0; row < 4; ++row) clip[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    for (int i = 0; i < 3; ++i) out[i] = clip[i] / clip[3];
  };
  const struct {
    double X, Y, Z, Clip[3];
  } corners[] = {{l, b, -n, {-1, -1, -1}},
                 {r, t, -n, {1, 1, -1}},
                 {l * f / n, t * f / n, -f, {-1, 1, 1}},
                 {r * f / n, b * f / n, -f, {1, -1, 1}}};
  for (const auto& c : corners) {
    double clip[3];
    toClipCube(c.X, c.Y, c.Z, clip);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(clip[i], c.Clip[i], 1e-5) << "corner " << c.X << "," << c.Y << "," << c.Z;
  }
  // What glFrustum refuses leaves the camera as it was.
  const std::array<float, 16> kept = m;
  EXPECT_FALSE(FrustumMatrix(l, l, b, t, n, f, m));
  EXPECT_FALSE(FrustumMatrix(l, r, b, b, n, f, m));
  EXPECT_FALSE(FrustumMatrix(l, r, b, t, 0, f, m));
  EXPECT_FALSE(FrustumMatrix(l, r, b, t, n, -1, m));
  EXPECT_FALSE(FrustumMatrix(l, r, b, t, n, n, m));
  EXPECT_EQ(m, kept);
}
