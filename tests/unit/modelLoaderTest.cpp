// The model loader and drawing: the three built-in models as the game uses
// them, and model texts that are cut short, garbled or lying about their size.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "assets/Assets.h"
#include "gfx/MS3DObj.h"
#include "gfx/MessageBox.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"

namespace {
std::vector<std::string> Messages;
void Collect(const std::string& caption, const std::string& text) { Messages.push_back(caption + "|" + text); }

class ModelLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    Messages.clear();
    SetMessageSink(Collect);
  }
  void TearDown() override { SetMessageSink(nullptr); }
  TRecordingRenderer Rec;
  TScopedRenderer Installed{Rec};
};

// A small square model in the layout of the built-in tile, untextured.
const std::string kSquare =
    "// MilkShape 3D ASCII\n"
    "\n"
    "Frames: 119\n"
    "Frame: 1\n"
    "\n"
    "Meshes: 1\n"
    "\"Square\" 0 0\n"
    "4\n"
    "0 -1.000000 1.000000 0.000000 0.000000 0.000000 -1\n"
    "0 -1.000000 -1.000000 0.000000 0.000000 1.000000 -1\n"
    "0 1.000000 -1.000000 0.000000 1.000000 1.000000 -1\n"
    "0 1.000000 1.000000 0.000000 1.000000 0.000000 -1\n"
    "2\n"
    "0.000000 0.000000 1.000000\n"
    "0.000000 1.000000 0.000000\n"
    "2\n"
    "0 0 1 2 0 0 0 1\n"
    "0 0 2 3 1 1 1 1\n"
    "\n"
    "Materials: 1\n"
    "\"Plain\"\n"
    "0.200000 0.300000 0.400000 0.500000\n"
    "0.600000 0.700000 0.800000 0.900000\n"
    "0.000000 0.000000 0.000000 1.000000\n"
    "0.000000 0.000000 0.000000 1.000000\n"
    "0.000000\n"
    "1.000000\n"
    "\"\"\n"
    "\"\"\n"
    "\n"
    "Bones: 0\n"
    "GroupComments: 0\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

int TrianglesDrawn(const TRecordingRenderer& rec) {
  int n = 0;
  for (const auto* p : rec.Find(TPrimitive::Triangles)) n += int(p->Vertices.size()) / 3;
  return n;
}

TVector3 Sub(const TVector3& a, const TVector3& b) { return TVector3{a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
TVector3 Cross(const TVector3& a, const TVector3& b) {
  return TVector3{a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
float Dot(const TVector3& a, const TVector3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
TVector3 Pos(const TMS3DVertex& v) { return TVector3{v.X, v.Y, v.Z}; }
}  // namespace

// ---------------------------------------------------------------------------
// The built-in models

TEST_F(ModelLoader, GeoSphereIsAClosedOutwardFacingSphere) {
  TMS3DObj sphere;
  ASSERT_TRUE(sphere.LoadFromMemo("MemoGeoSphere"));
  EXPECT_EQ(sphere.ParseState, 6);
  EXPECT_EQ(sphere.FrameCount, 30);
  ASSERT_EQ(sphere.Meshes.size(), 1u);
  const T3DMesh& mesh = sphere.Meshes[0];
  EXPECT_EQ(mesh.Name, "GeoSphere05");
  ASSERT_EQ(mesh.WorkVertices.size(), 42u);
  ASSERT_EQ(mesh.WorkNormals.size(), 42u);
  ASSERT_EQ(mesh.Triangles.size(), 80u);

  const TVector3 centre{0.25f, 0, 0};
  for (const TMS3DVertex& v : mesh.WorkVertices) {
    const TVector3 out = Sub(Pos(v), centre);
    EXPECT_NEAR(std::sqrt(Dot(out, out)), 23, 1e-3);
    EXPECT_NEAR(std::sqrt(v.NX * v.NX + v.NY * v.NY + v.NZ * v.NZ), 1, 1e-4);  // copied from its normal
    EXPECT_GT(Dot(TVector3{v.NX, v.NY, v.NZ}, out), 22.9f);
  }
  std::set<std::pair<int, int>> edges;
  for (const TMS3DTriangle& t : mesh.Triangles) {
    const TVector3 a = Pos(mesh.WorkVertices[t.VertexIndex[0]]), b = Pos(mesh.WorkVertices[t.VertexIndex[1]]),
                   c = Pos(mesh.WorkVertices[t.VertexIndex[2]]);
    const TVector3 mid{(a.X + b.X + c.X) / 3, (a.Y + b.Y + c.Y) / 3, (a.Z + b.Z + c.Z) / 3};
    EXPECT_GT(Dot(Cross(Sub(b, a), Sub(c, a)), Sub(mid, centre)), 0) << "wound clockwise from outside";
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(t.NormalIndex[k], t.VertexIndex[k]);
      // Each directed edge once: with outward winding every edge is used once each way.
      EXPECT_TRUE(edges.insert({t.VertexIndex[k], t.VertexIndex[(k + 1) % 3]}).second);
    }
  }
  EXPECT_EQ(edges.size(), 240u);
  for (const auto& [from, to] : edges) EXPECT_TRUE(edges.count({to, from})) << "open edge " << from << "-" << to;

  ASSERT_EQ(sphere.Materials.size(), 1u);
  const TMaterial& m = sphere.Materials[0];
  EXPECT_EQ(m.Name, "\"Material01\"");
  EXPECT_FLOAT_EQ(m.Ambient[0], 0.2f);
  EXPECT_FLOAT_EQ(m.Diffuse[2], 0.8f);
  EXPECT_FALSE(m.HasTexture);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(ModelLoader, TilesCarryTheirGlowTextures) {
  TMS3DObj tile, frame;
  ASSERT_TRUE(tile.LoadFromMemo("MemoSphereTile16x16"));
  ASSERT_TRUE(frame.LoadFromMemo("MemoRectFrame16x16"));
  EXPECT_TRUE(Messages.empty()) << Messages.front();

  for (TMS3DObj* model : {&tile, &frame}) {
    EXPECT_EQ(model->FrameCount, 119);
    ASSERT_EQ(model->Meshes.size(), 1u);
    const T3DMesh& mesh = model->Meshes[0];
    EXPECT_EQ(mesh.Name, "Regroup02");
    ASSERT_EQ(mesh.WorkVertices.size(), 4u);
    EXPECT_EQ(mesh.WorkNormals.size(), 1u);
    EXPECT_EQ(mesh.Triangles.size(), 2u);
    float lo = 1e9f, hi = -1e9f;
    for (const TMS3DVertex& v : mesh.WorkVertices) {
      lo = std::min({lo, v.X, v.Y}), hi = std::max({hi, v.X, v.Y});
      EXPECT_EQ(v.NZ, 1);
    }
    EXPECT_FLOAT_EQ(lo, -1.001581f);
    EXPECT_FLOAT_EQ(hi, 0.876581f);
    const TMaterial& m = model->Materials[0];
    EXPECT_EQ(m.Name, "\"Normal\"");
    EXPECT_FLOAT_EQ(m.Ambient[0], 0.501961f);
    EXPECT_FLOAT_EQ(m.Ambient[1], 0);
    EXPECT_TRUE(m.HasTexture);
    EXPECT_NE(m.Texture, 0u);
  }
  EXPECT_EQ(tile.Meshes[0].Flags, 1);
  EXPECT_EQ(frame.Meshes[0].Flags, 0);

  const TMaterial& glow = tile.Materials[0];
  EXPECT_EQ(glow.ColourMap, "..\\quadrovolt\\Sphere16x16.bmp");
  ASSERT_EQ(glow.Width, 16);
  ASSERT_EQ(glow.Height, 16);
  ASSERT_EQ(glow.Pixels.size(), 16u * 16 * 3);
  EXPECT_GT(glow.Pixels[(8 * 16 + 8) * 3], 200);  // bright middle
  EXPECT_EQ(glow.Pixels[0], 0);                   // black corner

  const TMaterial& rect = frame.Materials[0];
  EXPECT_EQ(rect.ColourMap, ".\\Rect16x16.bmp");
  ASSERT_EQ(rect.Width, 32);
  ASSERT_EQ(rect.Height, 32);
  EXPECT_EQ(rect.Pixels[(1 * 32 + 16) * 3], 255);  // the frame near the top edge
  EXPECT_EQ(rect.Pixels[(16 * 32 + 16) * 3], 0);   // black inside
}

TEST_F(ModelLoader, UnknownModelNameLoadsNothing) {
  TMS3DObj model;
  EXPECT_FALSE(model.LoadFromMemo("MemoNoSuchModel"));
  EXPECT_TRUE(model.Meshes.empty());
  model.Draw(false);
  EXPECT_TRUE(Rec.Primitives.empty());
}

// ---------------------------------------------------------------------------
// Drawing

TEST_F(ModelLoader, TexturedTileDrawsAsAdditiveGlow) {
  TMS3DObj tile;
  ASSERT_TRUE(tile.LoadFromMemo("MemoSphereTile16x16"));
  tile.DrawColoured(TVector3{0, 1, 0}, TVector3{0, 0.5f, 0});
  ASSERT_EQ(Rec.Primitives.size(), 1u);
  EXPECT_EQ(Rec.Primitives[0].Texture, tile.Materials[0].Texture);
  EXPECT_EQ(TrianglesDrawn(Rec), 2);
  EXPECT_EQ(Rec.CurrentBlend(), TBlendMode::AlphaOne);
  EXPECT_TRUE(Rec.IsEnabled(TCapability::AlphaTest));
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Texture2D));  // switched off again
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Blend));
}

TEST_F(ModelLoader, DrawColouredRecolorsTheMaterialForLaterDraws) {
  TMS3DObj sphere;
  ASSERT_TRUE(sphere.LoadFromMemo("MemoGeoSphere"));
  sphere.DrawColoured(TVector3{1, 0, 0}, TVector3{0, 0, 1});
  ASSERT_EQ(Rec.Materials.size(), 1u);
  EXPECT_EQ(Rec.Materials[0].Ambient[0], 1);
  EXPECT_EQ(Rec.Materials[0].Ambient[1], 0);
  EXPECT_EQ(Rec.Materials[0].Ambient[3], 1);  // alpha untouched
  EXPECT_EQ(Rec.Materials[0].Diffuse[2], 1);
  EXPECT_EQ(TrianglesDrawn(Rec), 80);
  EXPECT_EQ(Rec.Primitives[0].Texture, 0u);

  Rec.Reset();
  sphere.Draw(false);
  ASSERT_EQ(Rec.Materials.size(), 1u);
  EXPECT_EQ(Rec.Materials[0].Ambient[0], 1);
  EXPECT_EQ(Rec.Materials[0].Ambient[2], 0);
  EXPECT_EQ(Rec.Materials[0].Diffuse[0], 0);
}

TEST_F(ModelLoader, OutlineDrawsEachTriangleAsItsOwnLoop) {
  TMS3DObj model;
  model.LoadFromText(kSquare);
  model.Draw(true);
  const auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 2u);
  EXPECT_EQ(loops[1]->Vertices[1].X, 1);
  EXPECT_EQ(loops[1]->Vertices[1].Y, -1);
  EXPECT_TRUE(Rec.Find(TPrimitive::Triangles).empty());
  ASSERT_EQ(Rec.Materials.size(), 1u);
  EXPECT_FLOAT_EQ(Rec.Materials[0].Ambient[3], 0.5f);
}

// ---------------------------------------------------------------------------
// Parsing rules and bad input

TEST_F(ModelLoader, CommentsBlankLinesAndCarriageReturnsAnywhereAreIgnored) {
  TMS3DObj plain, noisy;
  plain.LoadFromText(kSquare);
  std::string text = Replace(kSquare, "4\n0 -1", "4\n// a remark inside the vertex list\n\n   \n0 -1");
  text = Replace(text, "\"Plain\"\n", "\"Plain\"\n  // indented remark\n");
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  noisy.LoadFromText(crlf);
  EXPECT_EQ(noisy.ParseState, 6);
  ASSERT_EQ(noisy.Meshes.size(), 1u);
  EXPECT_EQ(noisy.Meshes[0].Vertices.size(), 4u);
  EXPECT_EQ(noisy.Meshes[0].Triangles.size(), 2u);
  EXPECT_FLOAT_EQ(noisy.Materials[0].Diffuse[3], 0.9f);
  EXPECT_EQ(noisy.Materials[0].Name, plain.Materials[0].Name);
  // Each vertex took its normal from the last triangle naming it.
  EXPECT_EQ(noisy.Meshes[0].Vertices[0].NY, 1);  // both triangles use vertex 0
  EXPECT_EQ(noisy.Meshes[0].Vertices[1].NZ, 1);  // only the first uses vertex 1
  EXPECT_EQ(noisy.Meshes[0].Vertices[3].NY, 1);
}

TEST_F(ModelLoader, EmptyColourMapGivesNoTextureAndNoMessage) {
  TMS3DObj model;
  model.LoadFromText(kSquare);
  EXPECT_FALSE(model.Materials[0].HasTexture);
  EXPECT_EQ(model.Materials[0].ColourMap, "");
  model.Draw(false);
  EXPECT_EQ(TrianglesDrawn(Rec), 2);
  EXPECT_EQ(Rec.Primitives[0].Texture, 0u);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(ModelLoader, MissingTextureBitmapIsReportedAndTheModelStillLoads) {
  TMS3DObj model;
  model.LoadFromText(Replace(kSquare, "1.000000\n\"\"\n", "1.000000\n\"..\\art\\Nothing.bmp\"\n"));
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], "Error|Cannot find the file: ..\\art\\Nothing.bmp");
  EXPECT_EQ(model.ParseState, 6);
  EXPECT_FALSE(model.Materials[0].HasTexture);
  model.Draw(false);
  EXPECT_EQ(TrianglesDrawn(Rec), 2);
  EXPECT_EQ(Rec.Primitives[0].Texture, 0u);
}

TEST_F(ModelLoader, TextCutAnywhereKeepsWhatWasReadAndDraws) {
  // Every cut of the square's text, and the sphere's text cut after every line:
  // never more than the text holds, and drawing always works.
  const TAsset* sphere = FindAsset("MemoGeoSphere");
  ASSERT_NE(sphere, nullptr);
  const std::string sphereText(reinterpret_cast<const char*>(sphere->Data), sphere->Size);
  std::vector<std::pair<std::string_view, std::size_t>> cuts;  // text, triangles it can hold
  for (std::size_t cut = 0; cut <= kSquare.size(); ++cut) cuts.push_back({std::string_view(kSquare).substr(0, cut), 2});
  for (std::size_t at = sphereText.find('\n'); at != std::string::npos; at = sphereText.find('\n', at + 1))
    cuts.push_back({std::string_view(sphereText).substr(0, at), 80});
  for (const auto& [text, maxTriangles] : cuts) {
    TMS3DObj model;
    model.LoadFromText(text);
    ASSERT_LE(model.Meshes.size(), 1u);
    ASSERT_LE(model.Materials.size(), 1u);
    if (!model.Meshes.empty()) {
      ASSERT_LE(model.Meshes[0].WorkVertices.size(), 42u);
      ASSERT_LE(model.Meshes[0].Triangles.size(), maxTriangles);
    }
    Rec.Reset();
    model.Draw(false);
    const int triangles = model.Meshes.empty() ? 0 : int(model.Meshes[0].Triangles.size());
    // A triangle can only be drawn once the vertices it names have been read.
    ASSERT_LE(TrianglesDrawn(Rec), triangles);
    model.Draw(true);
    model.DrawColoured(TVector3{1, 1, 1}, TVector3{1, 1, 1});
  }
}

TEST_F(ModelLoader, TextEndingBeforeBonesDrawsTheTrianglesReadSoFar) {
  std::string text = "Frames: 30\nFrame: 1\nMeshes: 1\n\"Strip\" 0 0\n10\n";
  for (int i = 0; i < 10; ++i) text += "0 " + std::to_string(i) + " " + std::to_string(i % 2) + " 0 0 0 -1\n";
  text += "1\n0 0 1\n8\n";
  for (int i = 0; i < 5; ++i)  // five of the eight triangles, then the text stops
    text += "0 " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + " 0 0 0 1\n";
  TMS3DObj model;
  model.LoadFromText(text);
  EXPECT_EQ(model.ParseState, 3);
  ASSERT_EQ(model.Meshes.size(), 1u);
  EXPECT_EQ(model.Meshes[0].Triangles.size(), 5u);
  EXPECT_TRUE(model.Materials.empty());
  model.Draw(false);
  EXPECT_EQ(TrianglesDrawn(Rec), 5);
  EXPECT_TRUE(Rec.Materials.empty());  // no material was read: none is set
}

TEST_F(ModelLoader, GarbageWhereNumbersBelongStopsReadingThere) {
  const struct {
    const char* From;
    const char* To;
    std::size_t Vertices, Normals, Triangles;
  } cases[] = {
      {"0 1.000000 -1.000000 0.000000 1.000000 1.000000 -1", "0 1.000000 abc 0.000000 1.000000 1.000000 -1", 2, 0, 0},
      {"0 1.000000 1.000000 0.000000 1.000000 0.000000 -1", "0 1.000000 1.000000 0.000000 1.000000", 3, 0, 0},
      {"\n0.000000 1.000000 0.000000\n", "\n0.000000 1.0x0000 0.000000\n", 4, 1, 0},
      {"2\n0 0 1 2", "two\n0 0 1 2", 4, 2, 0},
      {"0 0 2 3 1 1 1 1", "0 0 2 3 1 1 1 nan", 4, 2, 1},
      {"0 -1.000000 1.000000", "0 -1.000000 inf", 0, 0, 0},
      {"\"Square\" 0 0", "\"Square\" zero 0", 0, 0, 0},
  };
  for (const auto& c : cases) {
    TMS3DObj model;
    model.LoadFromText(Replace(kSquare, c.From, c.To));
    EXPECT_LT(model.ParseState, 6) << c.To;
    EXPECT_TRUE(model.Materials.empty()) << c.To;
    std::size_t v = 0, n = 0, t = 0;
    if (!model.Meshes.empty()) {
      v = model.Meshes[0].WorkVertices.size(), n = model.Meshes[0].WorkNormals.size();
      t = model.Meshes[0].Triangles.size();
    }
    EXPECT_EQ(v, c.Vertices) << c.To;
    EXPECT_EQ(n, c.Normals) << c.To;
    EXPECT_EQ(t, c.Triangles) << c.To;
    Rec.Reset();
    model.Draw(false);
    EXPECT_EQ(TrianglesDrawn(Rec), int(t)) << c.To;
  }
  // Garbage in a colour: the mesh stays, the material is kept as far as read.
  TMS3DObj model;
  model.LoadFromText(Replace(kSquare, "0.600000 0.700000 0.800000 0.900000", "0.6 0.7 oops 0.9"));
  EXPECT_EQ(model.Meshes[0].Triangles.size(), 2u);
  ASSERT_EQ(model.Materials.size(), 1u);
  EXPECT_FLOAT_EQ(model.Materials[0].Ambient[2], 0.4f);
  model.Draw(false);
  EXPECT_EQ(TrianglesDrawn(Rec), 2);
}

TEST_F(ModelLoader, HugeClaimedCountsCostOnlyWhatTheLinesHold) {
  std::string text = Replace(kSquare, "Meshes: 1", "Meshes: 2000000000");
  text = Replace(text, "\n4\n0 -1", "\n2000000000\n0 -1");
  TMS3DObj model;
  model.LoadFromText(text);
  ASSERT_EQ(model.Meshes.size(), 1u);
  EXPECT_LT(model.Meshes.capacity(), 16u);
  EXPECT_EQ(model.Meshes[0].Vertices.size(), 4u);  // the normal count line is no vertex
  EXPECT_LT(model.Meshes[0].Vertices.capacity(), 64u);
  EXPECT_EQ(model.MeshCount, 1);

  TMS3DObj materials;
  materials.LoadFromText(Replace(kSquare, "Materials: 1", "Materials: 2000000000"));
  EXPECT_EQ(materials.Materials.size(), 1u);
  EXPECT_LT(materials.Materials.capacity(), 16u);
  EXPECT_EQ(materials.MaterialCount, 1);

  TMS3DObj triangles;
  triangles.LoadFromText(Replace(kSquare, "\n2\n0 0 1 2", "\n2000000000\n0 0 1 2"));
  EXPECT_EQ(triangles.Meshes[0].Triangles.size(), 2u);
  EXPECT_TRUE(triangles.Materials.empty());

  TMS3DObj negative;
  negative.LoadFromText(Replace(kSquare, "\n4\n0 -1", "\n-4\n0 -1"));
  EXPECT_TRUE(negative.Meshes[0].Vertices.empty());
  EXPECT_EQ(negative.ParseState, 3);
}

TEST_F(ModelLoader, TriangleCornersNamingMissingVerticesOrNormalsAreLeftOut) {
  std::string text = Replace(kSquare, "0 0 1 2 0 0 0 1", "0 0 1 7 0 0 0 1");  // vertex 7 of 4
  text = Replace(text, "0 0 2 3 1 1 1 1", "0 0 2 3 1 -1 1 1");                // normal -1
  text = Replace(text, "\n2\n0 0 1 7", "\n3\n0 0 1 7");
  text = Replace(text, "0 0 2 3 1 -1 1 1\n", "0 0 2 3 1 -1 1 1\n0 1 2 3 0 0 2147483647 1\n");
  TMS3DObj model;
  model.LoadFromText(text);
  ASSERT_EQ(model.Meshes[0].Triangles.size(), 3u);
  // Normals were copied only where both indices exist: vertex 3 keeps the one
  // its second triangle gave, the third triangle's corner naming no normal.
  EXPECT_EQ(model.Meshes[0].Vertices[3].NY, 1);
  EXPECT_EQ(model.Meshes[0].Vertices[3].NZ, 0);
  EXPECT_EQ(model.Meshes[0].Vertices[1].NZ, 1);

  model.Draw(false);
  EXPECT_EQ(TrianglesDrawn(Rec), 0);  // each of the three has a missing corner
  Rec.Reset();
  model.Draw(true);
  const auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 3u);
  for (const auto* loop : loops) EXPECT_EQ(loop->Vertices.size(), 2u);

  // A mesh naming a material that does not exist draws without one.
  TMS3DObj stray;
  stray.LoadFromText(Replace(kSquare, "\"Square\" 0 0", "\"Square\" 0 5"));
  Rec.Reset();
  stray.DrawColoured(TVector3{1, 0, 0}, TVector3{1, 0, 0});
  EXPECT_TRUE(Rec.Materials.empty());
  EXPECT_EQ(TrianglesDrawn(Rec), 2);
}

TEST_F(ModelLoader, ReloadingStartsFromAnEmptyModel) {
  TMS3DObj model;
  model.LoadFromText(kSquare);
  model.LoadFromText(kSquare);
  EXPECT_EQ(model.Meshes.size(), 1u);
  EXPECT_EQ(model.Materials.size(), 1u);
  model.LoadFromText("not a model at all\n");
  EXPECT_TRUE(model.Meshes.empty());
  EXPECT_EQ(model.ParseState, 0);
}
