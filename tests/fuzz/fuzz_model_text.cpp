// The model reader on any text, then every way the game draws a model: the
// model keeps what it could read, its counts agree with its lists, and
// drawing never reaches past them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/MS3DObj.h"
#include "gfx/MessageBox.h"
#include "gfx/NullRenderer.h"
#include "gfx/PdxLib3D.h"
#include "gfx/ScopedRenderer.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
// A model naming a bitmap the game does not carry says so in a message box;
// here that is expected and not worth printing a million times.
void Quiet(const std::string&, const std::string&) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TNullRenderer renderer;
  const TScopedRenderer installed{renderer};
  SetMessageSink(Quiet);

  TMS3DObj model;
  model.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
  FUZZ_REQUIRE(model.MeshCount == int(model.Meshes.size()));
  FUZZ_REQUIRE(model.MaterialCount == int(model.Materials.size()));
  for (const T3DMesh& mesh : model.Meshes) {
    FUZZ_REQUIRE(mesh.WorkVertices.size() == mesh.Vertices.size());
    FUZZ_REQUIRE(mesh.WorkNormals.size() == mesh.Normals.size());
  }
  for (const TMaterial& m : model.Materials)
    if (m.HasTexture) FUZZ_REQUIRE(m.Pixels.size() == std::size_t(m.Width) * std::size_t(m.Height) * 3);

  model.Draw(false);
  model.Draw(true);
  model.DrawColoured(MakeVector(1, 0, 0), MakeVector(0, 1, 0));
  return 0;
}
