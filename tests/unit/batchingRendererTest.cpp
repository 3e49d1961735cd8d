// The batching backend's CPU half: where vertices land, how loops, strips and
// quads become independent lines and triangles, which primitives share a run,
// and that nothing is lost or reordered when the queue fills up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gfx/BatchingRenderer.h"

namespace {
// Keeps copies of what reached the driver, and the order of every call.
struct TSinkLog {
  std::vector<TBatchVertex> Vertices;
  std::vector<TDrawBatch> Runs;  // First counts into Vertices above
  std::string Calls;
};

class TLoggingSink : public TBatchSink {
 public:
  explicit TLoggingSink(TSinkLog& log) : Log(log) {}
  void Viewport(int, int, int, int) override { Log.Calls += "viewport "; }
  void Frustum(double, double, double, double, double, double) override { Log.Calls += "frustum "; }
  void ClearFrame() override { Log.Calls += "clear "; }
  void BeginFrameState() override { Log.Calls += "begin "; }
  unsigned CreateTexture(int, int, const std::uint8_t*) override {
    Log.Calls += "texture ";
    return 7;
  }
  void Draw(const TDrawList& list) override {
    Log.Calls += "draw ";
    const int base = int(Log.Vertices.size());
    Log.Vertices.insert(Log.Vertices.end(), list.Vertices().begin(), list.Vertices().end());
    for (TDrawBatch run : list.Runs()) {
      run.First += base;
      Log.Runs.push_back(run);
    }
  }

 private:
  TSinkLog& Log;
};

struct BatchingRenderer : ::testing::Test {
  TSinkLog Log;
  std::unique_ptr<TBatchingRenderer> R = Make(1 << 12, 64);

  std::unique_ptr<TBatchingRenderer> Make(int maxVertices, int maxBatches) {
    return std::make_unique<TBatchingRenderer>(std::make_unique<TLoggingSink>(Log), maxVertices, maxBatches);
  }
  // One primitive through (i, 0, 0) for i = 0..n-1.
  void Shape(TPrimitive prim, int n) {
    R->Begin(prim);
    for (int i = 0; i < n; ++i) R->Vertex(float(i), 0, 0);
    R->End();
  }
  // A camera like the game's but lopsided, so that a mistake in either axis shows.
  static constexpr double L = -3, Right = 5, B = -2, T = 4, N = 10;
  static constexpr int Width = 800, Height = 600;
  void SetCamera() {
    R->Viewport(0, 0, Width, Height);
    R->Frustum(L, Right, B, T, N, 1000);
  }
  // Projects an eye-space vertex to window x and y like GL does.
  static std::pair<double, double> Window(const TBatchVertex& v) {
    const double x = (2 * N / (Right - L) * v.X + (Right + L) / (Right - L) * v.Z) / -v.Z;
    const double y = (2 * N / (T - B) * v.Y + (T + B) / (T - B) * v.Z) / -v.Z;
    return {(x + 1) * Width / 2, (y + 1) * Height / 2};
  }
  // Twice the signed window area of the triangles from vertex first on:
  // positive when they all face the eye.
  static double WindowArea(const TBatchVertex* v, int triangles) {
    double area = 0;
    for (int k = 0; k < 3 * triangles; ++k) {
      const auto [x, y] = Window(v[k]);
      const auto [nx, ny] = Window(v[k % 3 == 2 ? k - 2 : k + 1]);
      area += x * ny - nx * y;
    }
    return area;
  }
  // The x of every vertex drawn, in order.
  std::vector<float> Xs() const {
    std::vector<float> xs;
    for (const TBatchVertex& v : Log.Vertices) xs.push_back(v.X);
    return xs;
  }
};
}  // namespace

TEST_F(BatchingRenderer, TurnsEveryPrimitiveIntoIndependentLinesPointsOrTriangles) {
  const struct {
    TPrimitive Prim;
    int Vertices;
    TBatchKind Kind;
    std::vector<float> Drawn;
  } cases[] = {
      {TPrimitive::Lines, 5, TBatchKind::Lines, {0, 1, 2, 3}},  // the odd last vertex draws nothing
      {TPrimitive::LineStrip, 4, TBatchKind::Lines, {0, 1, 1, 2, 2, 3}},
      {TPrimitive::LineStrip, 1, TBatchKind::Lines, {}},
      {TPrimitive::LineLoop, 4, TBatchKind::Lines, {0, 1, 1, 2, 2, 3, 3, 0}},
      {TPrimitive::LineLoop, 2, TBatchKind::Lines, {0, 1, 1, 0}},  // GL closes even a two-point loop
      {TPrimitive::LineLoop, 1, TBatchKind::Lines, {}},
      {TPrimitive::Points, 3, TBatchKind::Points, {0, 1, 2}},
      {TPrimitive::Triangles, 7, TBatchKind::Triangles, {0, 1, 2, 3, 4, 5}},
      {TPrimitive::Quads, 9, TBatchKind::Triangles, {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("primitive " + std::to_string(int(c.Prim)) + " with " + std::to_string(c.Vertices) + " vertices");
    Log = TSinkLog{};
    Shape(c.Prim, c.Vertices);
    R->Flush();
    EXPECT_EQ(Xs(), c.Drawn);
    if (c.Drawn.empty()) {
      EXPECT_TRUE(Log.Runs.empty()) << "an empty run was queued";
    } else {
      ASSERT_EQ(Log.Runs.size(), 1u);
      EXPECT_EQ(Log.Runs[0].State.Kind, c.Kind);
    }
  }
}

TEST_F(BatchingRenderer, PlacesVerticesWithTheModelViewMatrixLikeGL) {
  R->Translate(0, 0, -540);
  R->PushMatrix();
  R->Translate(100, 50, 0);
  R->Rotate(90, 0, 0, 1);
  R->Scale(2, 3, 1);
  R->Begin(TPrimitive::Points);
  R->Vertex(1, 1, 0);  // scaled to (2, 3), turned to (-3, 2), moved to (97, 52)
  R->End();
  R->PopMatrix();
  R->PopMatrix();  // one pop too many is ignored, as GL ignores it
  R->Begin(TPrimitive::Points);
  R->Vertex(5, 6, 7);
  R->End();
  R->Flush();
  ASSERT_EQ(Log.Vertices.size(), 2u);
  EXPECT_NEAR(Log.Vertices[0].X, 97, 1e-4);
  EXPECT_NEAR(Log.Vertices[0].Y, 52, 1e-4);
  EXPECT_NEAR(Log.Vertices[0].Z, -540, 1e-4);
  EXPECT_FLOAT_EQ(Log.Vertices[1].X, 5);
  EXPECT_FLOAT_EQ(Log.Vertices[1].Z, -533);
  EXPECT_EQ(R->Matrices().Depth(), 0);
}

TEST_F(BatchingRenderer, PrimitivesShareARunUntilStateThatMattersToThemChanges) {
  R->BeginFrameState();
  R->LineWidth(2);
  Shape(TPrimitive::Lines, 2);
  R->Color(1, 0, 0, 0.5f);  // a colour travels with each vertex
  R->PointSize(8);          // nothing to a line
  R->Disable(TCapability::CullFace);
  R->Enable(TCapability::Texture2D);  // switched on and off again with nothing drawn between
  R->Disable(TCapability::Texture2D);
  Shape(TPrimitive::LineLoop, 3);
  R->LineWidth(4);  // a new run
  Shape(TPrimitive::Lines, 2);
  Shape(TPrimitive::Points, 1);  // a new kind
  R->LineWidth(1);               // nothing to a point
  Shape(TPrimitive::Points, 1);
  R->Disable(TCapability::Blend);
  R->BlendFunc(TBlendMode::AlphaOne);  // nothing with blending off
  Shape(TPrimitive::Points, 1);
  R->Enable(TCapability::Blend);  // now the additive function counts
  Shape(TPrimitive::Points, 1);
  R->LineWidth(4);
  Shape(TPrimitive::Lines, 2);  // same state as three runs back, but later: order is kept
  R->Flush();

  ASSERT_EQ(Log.Runs.size(), 6u);
  const int counts[] = {2 + 6, 2, 2, 1, 1, 2};
  const TBatchKind kinds[] = {TBatchKind::Lines,  TBatchKind::Lines,  TBatchKind::Points,
                              TBatchKind::Points, TBatchKind::Points, TBatchKind::Lines};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(Log.Runs[i].Count, counts[i]) << "run " << i;
    EXPECT_EQ(Log.Runs[i].State.Kind, kinds[i]) << "run " << i;
  }
  EXPECT_EQ(Log.Runs[0].State.Size, 2);
  EXPECT_EQ(Log.Runs[1].State.Size, 4);
  EXPECT_EQ(Log.Runs[2].State.Size, 8);
  EXPECT_FALSE(Log.Runs[3].State.Blend);
  EXPECT_TRUE(Log.Runs[4].State.Blend);
  EXPECT_EQ(Log.Runs[4].State.BlendMode, TBlendMode::AlphaOne);
  EXPECT_FLOAT_EQ(Log.Vertices[0].R, 1);  // white before the colour changed
  EXPECT_FLOAT_EQ(Log.Vertices[0].B, 1);
  EXPECT_FLOAT_EQ(Log.Vertices[2].B, 0);  // red, half transparent after
  EXPECT_FLOAT_EQ(Log.Vertices[2].A, 0.5f);

  // Culling, textures and the depth test split triangles into runs.
  Log = TSinkLog{};
  Shape(TPrimitive::Triangles, 3);
  R->LineWidth(7);  // nothing to a triangle
  Shape(TPrimitive::Triangles, 3);
  R->Enable(TCapability::CullFace);
  Shape(TPrimitive::Triangles, 3);
  R->BindTexture(5);
  R->Enable(TCapability::Texture2D);
  R->TexCoord(0.25f, 0.75f);
  Shape(TPrimitive::Triangles, 3);
  R->Disable(TCapability::DepthTest);
  Shape(TPrimitive::Triangles, 3);
  R->Flush();
  ASSERT_EQ(Log.Runs.size(), 4u);
  EXPECT_EQ(Log.Runs[0].Count, 6);
  EXPECT_TRUE(Log.Runs[1].State.CullFace);
  EXPECT_EQ(Log.Runs[2].State.Texture, 5u);
  EXPECT_FLOAT_EQ(Log.Vertices[9].U, 0.25f);
  EXPECT_FLOAT_EQ(Log.Vertices[9].V, 0.75f);
  EXPECT_FALSE(Log.Runs[3].State.DepthTest);
  EXPECT_TRUE(Log.Runs[2].State.DepthTest);
}

TEST_F(BatchingRenderer, LightsModelsWithTheirAmbientColourOnly) {
  TMaterialColours m{};
  for (int i = 0; i < 4; ++i) m.Ambient[i] = 0.5f, m.Diffuse[i] = 0.9f;
  m.Diffuse[3] = 0.6f;
  m.Emissive[0] = 0.95f;  // red saturates
  R->Material(m);
  R->Enable(TCapability::Lighting);
  R->Color(0, 1, 0, 1);  // the current colour means nothing while lit
  Shape(TPrimitive::Triangles, 3);
  R->Disable(TCapability::Lighting);
  Shape(TPrimitive::Triangles, 3);
  R->Flush();
  ASSERT_EQ(Log.Vertices.size(), 6u);
  const TBatchVertex& lit = Log.Vertices[0];
  EXPECT_FLOAT_EQ(lit.R, 1);  // 0.95 + 0.2 * 0.5, clamped
  EXPECT_FLOAT_EQ(lit.G, 0.1f);
  EXPECT_FLOAT_EQ(lit.B, 0.1f);
  EXPECT_FLOAT_EQ(lit.A, 0.6f);  // the diffuse alpha
  EXPECT_FLOAT_EQ(Log.Vertices[3].G, 1);
  EXPECT_FLOAT_EQ(Log.Vertices[3].R, 0);
}

TEST_F(BatchingRenderer, DrawsTheQueueBeforeAnythingThatGoesStraightToTheDriver) {
  Shape(TPrimitive::Lines, 2);
  R->ClearFrame();
  Shape(TPrimitive::Lines, 2);
  R->Frustum(-1, 1, -1, 1, 1, 1000);
  R->Viewport(0, 0, 10, 10);  // nothing queued: nothing to draw
  Shape(TPrimitive::Points, 1);
  EXPECT_EQ(R->CreateTexture(1, 1, nullptr), 7u);
  Shape(TPrimitive::Points, 1);
  R->BeginFrameState();
  R->Flush();
  R->Flush();
  EXPECT_EQ(Log.Calls, "draw clear draw frustum viewport draw texture draw begin ");
}

TEST_F(BatchingRenderer, AFullQueueIsDrawnAndRefilledWithoutLosingOrSplittingAPrimitive) {
  R = Make(10, 3);  // room for five lines, or three runs
  R->LineWidth(1);
  Shape(TPrimitive::LineStrip, 9);  // 8 segments: 16 vertices
  R->LineWidth(2);
  Shape(TPrimitive::Lines, 2);
  R->LineWidth(3);
  Shape(TPrimitive::Lines, 2);
  R->LineWidth(4);
  Shape(TPrimitive::Lines, 2);  // a fourth run
  R->Flush();
  EXPECT_EQ(Log.Calls, "draw draw draw ");
  const std::vector<float> expected = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 0, 1, 0, 1, 0, 1};
  EXPECT_EQ(Xs(), expected);
  for (const TDrawBatch& run : Log.Runs) EXPECT_EQ(run.Count % 2, 0) << "a line was cut in two";
  float widths = 0;
  for (const TDrawBatch& run : Log.Runs) widths += run.State.Size * float(run.Count);
  EXPECT_FLOAT_EQ(widths, 16 * 1 + 2 * 2 + 2 * 3 + 2 * 4);
}

TEST_F(BatchingRenderer, IgnoresVerticesOutsideBeginAndEnd) {
  R->Vertex(1, 2, 3);
  R->End();
  R->Begin(TPrimitive::Lines);
  R->Begin(TPrimitive::Points);  // a Begin inside a Begin is refused
  R->Vertex(1, 0, 0);
  R->Vertex(2, 0, 0);
  R->End();
  R->Vertex(3, 0, 0);
  R->Flush();
  ASSERT_EQ(Log.Runs.size(), 1u);
  EXPECT_EQ(Log.Runs[0].State.Kind, TBatchKind::Lines);
  EXPECT_EQ(Xs(), (std::vector<float>{1, 2}));
}

TEST_F(BatchingRenderer, QueuesPointsAsSquaresOfTheirSizeInWindowPixelsOnceTheCameraIsKnown) {
  R->Viewport(0, 0, Width, 0);  // no pixels yet: points stay GL points
  R->Frustum(L, Right, B, T, N, 1000);
  Shape(TPrimitive::Points, 1);
  R->Flush();
  ASSERT_EQ(Log.Runs.size(), 1u);
  EXPECT_EQ(Log.Runs[0].State.Kind, TBatchKind::Points);

  SetCamera();
  const struct {
    float Size, X, Y, Z;
  } points[] = {{3, 40, -20, -500}, {1, 0, 0, -20}, {3, -7, 9, -900}, {1, 1, 1, -11}};
  Log = TSinkLog{};
  R->BindTexture(5);
  R->Enable(TCapability::Texture2D);
  R->TexCoord(0.25f, 0.75f);
  R->Color(0, 1, 0, 0.5f);
  for (const auto& p : points) {
    R->PointSize(p.Size);  // sizes alternate like the glows do, yet all share one run
    R->PointSize(-1);      // refused, as GL refuses it
    R->Begin(TPrimitive::Points);
    R->Vertex(p.X, p.Y, p.Z);
    R->End();
  }
  R->Flush();
  ASSERT_EQ(Log.Runs.size(), 1u);
  EXPECT_EQ(Log.Runs[0].State.Kind, TBatchKind::Triangles);
  EXPECT_EQ(Log.Runs[0].State.Texture, 5u);
  ASSERT_EQ(Log.Vertices.size(), 6 * std::size(points));
  for (std::size_t i = 0; i < std::size(points); ++i) {
    SCOPED_TRACE("point " + std::to_string(i));
    const TBatchVertex* square = &Log.Vertices[6 * i];
    const auto [cx, cy] = Window(TBatchVertex{points[i].X, points[i].Y, points[i].Z, 0, 0, 0, 0, 0, 0});
    for (int k = 0; k < 6; ++k) {
      const auto [x, y] = Window(square[k]);
      EXPECT_NEAR(std::abs(x - cx), points[i].Size / 2, 1e-3);
      EXPECT_NEAR(std::abs(y - cy), points[i].Size / 2, 1e-3);
      EXPECT_FLOAT_EQ(square[k].Z, points[i].Z);
      EXPECT_FLOAT_EQ(square[k].G, 1);
      EXPECT_FLOAT_EQ(square[k].A, 0.5f);
      EXPECT_FLOAT_EQ(square[k].U, 0.25f);
    }
    EXPECT_NEAR(WindowArea(square, 2), 2 * points[i].Size * points[i].Size, 1e-2);
  }
}

TEST_F(BatchingRenderer, QueuesWideLinesAsTheParallelogramGLFillsAndLeavesOnePixelLinesToGL) {
  SetCamera();
  const auto at = [](float x, float y, float z) { return TBatchVertex{x, y, z, 0, 0, 0, 0, 0, 0}; };
  // Lines in eye space, each end at its own depth; Across says whether the
  // line runs more across the window than up it.
  const struct {
    float Width;
    TBatchVertex A, B;
    bool Across;
  } lines[] = {
      {2, at(-50, 10, -500), at(60, 40, -500), true},    // rightwards
      {4, at(60, 40, -400), at(-50, 10, -600), true},    // leftwards, and deeper at one end
      {2, at(5, -30, -300), at(15, 70, -300), false},    // upwards
      {3, at(15, 70, -300), at(5, -30, -900), false},    // downwards, 3 wide
      {2.4f, at(0, 0, -200), at(30, 30, -200), true},    // a diagonal is widened up and down; 2.4 draws 2 wide
      {5.6f, at(-20, 0, -700), at(-20, 0, -700), true},  // no length, no area
  };
  R->Color(1, 0.5f, 0, 0.25f);
  for (const auto& line : lines) {
    R->LineWidth(line.Width);  // widths alternate like the glows do, yet all share one run
    R->Begin(TPrimitive::Lines);
    R->Vertex(line.A.X, line.A.Y, line.A.Z);
    R->Vertex(line.B.X, line.B.Y, line.B.Z);
    R->End();
  }
  R->Flush();
  ASSERT_EQ(Log.Runs.size(), 1u);
  EXPECT_EQ(Log.Runs[0].State.Kind, TBatchKind::Triangles);
  ASSERT_EQ(Log.Vertices.size(), 6 * std::size(lines));
  for (std::size_t i = 0; i < std::size(lines); ++i) {
    SCOPED_TRACE("line " + std::to_string(i));
    const auto& line = lines[i];
    const double pixels = std::max(1.0, std::round(double(line.Width)));
    const TBatchVertex* quad = &Log.Vertices[6 * i];
    const auto [ax, ay] = Window(line.A);
    const auto [bx, by] = Window(line.B);
    int atEachEnd[2] = {0, 0};
    for (int k = 0; k < 6; ++k) {
      // Every corner lies half the width from one end: straight up or down
      // for a line across the window, straight sideways for a steep one.
      const auto [x, y] = Window(quad[k]);
      const double alongA = line.Across ? x - ax : y - ay, alongB = line.Across ? x - bx : y - by;
      const bool nearA = std::abs(alongA) < 1e-3;
      ASSERT_TRUE(nearA || std::abs(alongB) < 1e-3) << "corner " << k << " is off both ends";
      const double aside = line.Across ? y - (nearA ? ay : by) : x - (nearA ? ax : bx);
      EXPECT_NEAR(std::abs(aside), pixels / 2, 1e-3) << "corner " << k;
      EXPECT_FLOAT_EQ(quad[k].Z, nearA ? line.A.Z : line.B.Z) << "corner " << k;
      EXPECT_FLOAT_EQ(quad[k].R, 1);
      EXPECT_FLOAT_EQ(quad[k].A, 0.25f);
      ++atEachEnd[nearA ? 0 : 1];
    }
    if (ax != bx || ay != by) {
      EXPECT_EQ(atEachEnd[0], 3);  // two corners at each end, one of them twice
    }
    // A parallelogram as wide as the line and as long as its run across (or up) the window.
    const double run = line.Across ? std::abs(bx - ax) : std::abs(by - ay);
    EXPECT_NEAR(WindowArea(quad, 2), 2 * run * pixels, 1e-3 * (1 + run));
  }

  // A one-pixel line, and a line reaching behind the eye, stay GL lines.
  Log = TSinkLog{};
  R->LineWidth(1.4f);
  R->Begin(TPrimitive::LineStrip);
  for (int i = 0; i < 3; ++i) R->Vertex(float(10 * i), 0, -100);
  R->End();
  R->LineWidth(2);
  R->LineWidth(0);  // GL refuses a width that is not positive and keeps the last
  R->Begin(TPrimitive::Lines);
  R->Vertex(0, 0, -100);
  R->Vertex(0, 0, 50);
  R->End();
  R->Flush();
  ASSERT_EQ(Log.Runs.size(), 2u);
  EXPECT_EQ(Log.Runs[0].State.Kind, TBatchKind::Lines);
  EXPECT_EQ(Log.Runs[0].Count, 4);
  EXPECT_EQ(Log.Runs[1].State.Kind, TBatchKind::Lines);
  EXPECT_EQ(Log.Runs[1].State.Size, 2);
  EXPECT_EQ(Log.Runs[1].Count, 2);
}
