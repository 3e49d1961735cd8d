#include "gfx/MS3DObj.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <version>

#include "assets/Assets.h"
#include "gfx/BitmapTexture.h"
#include "gfx/Renderer.h"

namespace {
// A whole word as a float, as std::from_chars reads it. A C++ library without
// a floating-point from_chars (the WebAssembly one) reads it with strtof,
// which rounds the same, after turning away what from_chars would not take
// whole: a sign of plus, hexadecimal, an out-of-range value.
bool ParseFloatWord(std::string_view w, float& value) {
#if defined(__cpp_lib_to_chars)
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
  return ec == std::errc() && end == w.data() + w.size();
#else
  if (w.empty() || w.front() == '+' || w.find_first_of("xXpP \t\n\r\v\f") != std::string_view::npos) return false;
  const std::string text(w);
  char* end = nullptr;
  errno = 0;
  const float v = std::strtof(text.c_str(), &end);
  if (errno == ERANGE || end != text.c_str() + text.size()) return false;
  value = v;
  return true;
#endif
}

// Section being read (ParseState).
enum : std::uint8_t {
  kReadFrames = 0,
  kReadFrame = 1,
  kReadMeshes = 2,
  kReadMeshBody = 3,
  kReadMaterials = 4,
  kReadBones = 5,
  kDone = 6,
};

// Line expected inside a mesh (ParseStep in kReadMeshBody).
enum : std::uint8_t {
  kMeshHeader = 0,
  kVertexCount = 1,
  kVertexLine = 2,
  kNormalCount = 3,
  kNormalLine = 4,
  kTriangleCount = 5,
  kTriangleLine = 6,
};

// Line expected inside the materials (ParseStep in kReadMaterials): the count,
// then per material its name, four colours, shininess, transparency, colour
// map and alpha map.
enum : std::uint8_t {
  kMaterialCount = 0,
  kMaterialName = 1,
  kMaterialAmbient = 2,
  kMaterialDiffuse = 3,
  kMaterialSpecular = 4,
  kMaterialEmissive = 5,
  kMaterialShininess = 6,
  kMaterialTransparency = 7,
  kMaterialColourMap = 8,
  kMaterialAlphaMap = 9,
};

constexpr std::size_t kMaxWords = 12;  // the longest line, a triangle, has eight

// A line cut into words at spaces and tabs; a word that opens a quote runs to
// the closing quote, so quoted names may hold spaces.
class TLineWords {
 public:
  explicit TLineWords(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && NumWords < kMaxWords) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      if (i >= line.size()) break;
      std::size_t end = i;
      if (line[i] == '"') {
        end = line.find('"', i + 1);
        end = end == std::string_view::npos ? line.size() : end + 1;
      } else {
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
      }
      Words[NumWords++] = line.substr(i, end - i);
      i = end;
    }
  }

  std::size_t Size() const { return NumWords; }
  std::string_view operator[](std::size_t i) const { return i < NumWords ? Words[i] : std::string_view(); }

  bool Int(std::size_t i, int& value) const {
    const std::string_view w = (*this)[i];
    if (w.empty()) return false;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
    return ec == std::errc() && end == w.data() + w.size();
  }

  bool Float(std::size_t i, float& value) const {
    const std::string_view w = (*this)[i];
    if (w.empty()) return false;
    return ParseFloatWord(w, value) && std::isfinite(value);
  }

  // "Keyword: n" with a count that is not negative.
  bool Count(std::string_view keyword, int& value) const {
    return (*this)[0] == keyword && Int(1, value) && value >= 0;
  }

 private:
  std::string_view Words[kMaxWords];
  std::size_t NumWords = 0;
};

bool Quoted(std::string_view word) { return word.size() >= 2 && word.front() == '"' && word.back() == '"'; }

std::string_view Unquoted(std::string_view word) {
  if (!word.empty() && word.front() == '"') word.remove_prefix(1);
  if (!word.empty() && word.back() == '"') word.remove_suffix(1);
  return word;
}

// Reads the MilkShape 3D ASCII layout one significant line at a time into the
// model's public fields. Lists grow as their lines arrive, so a count that
// claims more than the text holds costs nothing.
class TModelTextParser {
 public:
  explicit TModelTextParser(TMS3DObj& model) : Model(model) {}

  // False when the line does not fit where it stands: reading stops there and
  // the model keeps what came before.
  bool Line(std::string_view line) {
    const TLineWords w(line);
    switch (Model.ParseState) {
      case kReadFrames:
        if (!w.Count("Frames:", Model.FrameCount)) return false;
        Model.ParseState = kReadFrame;
        return true;
      case kReadFrame:
        if (w[0] != "Frame:" || !w.Int(1, Model.CurrentFrame)) return false;
        Model.ParseState = kReadMeshes;
        return true;
      case kReadMeshes:
        if (!w.Count("Meshes:", Model.MeshCount)) return false;
        Model.MeshIndex = 0;
        Model.ParseStep = kMeshHeader;
        Model.ParseState = Model.MeshCount > 0 ? kReadMeshBody : kReadMaterials;
        return true;
      case kReadMeshBody: return MeshLine(w);
      case kReadMaterials: return MaterialLine(w);
      case kReadBones: {
        int bones = 0;
        if (!w.Count("Bones:", bones)) return false;
        // The game's models carry no skeleton; nothing after the bones is used.
        Model.ParseState = kDone;
        return true;
      }
      default: return false;
    }
  }

 private:
  bool MeshLine(const TLineWords& w) {
    switch (Model.ParseStep) {
      case kMeshHeader: {
        T3DMesh mesh;
        if (!Quoted(w[0]) || !w.Int(1, mesh.Flags) || !w.Int(2, mesh.MaterialIndex)) return false;
        mesh.Name = Unquoted(w[0]);
        Model.Meshes.push_back(std::move(mesh));
        Model.ParseStep = kVertexCount;
        return true;
      }
      case kVertexCount: return ListCount(w, kVertexLine, kNormalCount);
      case kVertexLine: {
        TMS3DVertex v;
        if (!w.Int(0, v.Flags) || !w.Float(1, v.X) || !w.Float(2, v.Y) || !w.Float(3, v.Z) || !w.Float(4, v.U) ||
            !w.Float(5, v.V) || !w.Int(6, v.BoneIndex))
          return false;
        Mesh().Vertices.push_back(v);
        return ListItemRead(kNormalCount);
      }
      case kNormalCount: return ListCount(w, kNormalLine, kTriangleCount);
      case kNormalLine: {
        TMS3DNormal n;
        if (!w.Float(0, n.X) || !w.Float(1, n.Y) || !w.Float(2, n.Z)) return false;
        Mesh().Normals.push_back(n);
        return ListItemRead(kTriangleCount);
      }
      case kTriangleCount:
        if (!ListCount(w, kTriangleLine, kTriangleCount)) return false;
        if (Remaining == 0) MeshFinished();
        return true;
      case kTriangleLine: {
        TMS3DTriangle t;
        if (!w.Int(0, t.Flags) || !w.Int(1, t.VertexIndex[0]) || !w.Int(2, t.VertexIndex[1]) ||
            !w.Int(3, t.VertexIndex[2]) || !w.Int(4, t.NormalIndex[0]) || !w.Int(5, t.NormalIndex[1]) ||
            !w.Int(6, t.NormalIndex[2]) || !w.Int(7, t.SmoothingGroup))
          return false;
        Mesh().Triangles.push_back(t);
        if (--Remaining == 0) MeshFinished();
        return true;
      }
      default: return false;
    }
  }

  bool MaterialLine(const TLineWords& w) {
    if (Model.ParseStep == kMaterialCount) {
      if (!w.Count("Materials:", Model.MaterialCount)) return false;
      Model.MaterialIndex = 0;
      Model.ParseStep = kMaterialName;
      if (Model.MaterialCount == 0) Model.ParseState = kReadBones;
      return true;
    }
    if (Model.ParseStep == kMaterialName) {
      if (!Quoted(w[0])) return false;
      TMaterial material;
      material.Name = w[0];  // kept with its quotes
      Model.Materials.push_back(std::move(material));
      Model.ParseStep = kMaterialAmbient;
      return true;
    }
    TMaterial& m = Model.Materials.back();
    switch (Model.ParseStep) {
      case kMaterialAmbient: return Colour(w, m.Ambient);
      case kMaterialDiffuse: return Colour(w, m.Diffuse);
      case kMaterialSpecular: return Colour(w, m.Specular);
      case kMaterialEmissive: return Colour(w, m.Emissive);
      case kMaterialShininess:
        if (!w.Float(0, m.Shininess)) return false;
        break;
      case kMaterialTransparency:
        if (!w.Float(0, m.Transparency)) return false;
        break;
      case kMaterialColourMap:
        if (!Quoted(w[0])) return false;
        m.ColourMap = Unquoted(w[0]);
        // "" names no map; anything longer is a bitmap to build now.
        if (w[0].size() > 2) MakeMaterialTexture(m, FindAsset(TextureImageName(m.ColourMap)));
        break;
      case kMaterialAlphaMap:
        if (!Quoted(w[0])) return false;
        m.AlphaMap = Unquoted(w[0]);
        if (++Model.MaterialIndex >= Model.MaterialCount) {
          Model.ParseState = kReadBones;
          Model.ParseStep = 0;
        } else {
          Model.ParseStep = kMaterialName;
        }
        return true;
      default: return false;
    }
    ++Model.ParseStep;
    return true;
  }

  bool Colour(const TLineWords& w, float (&rgba)[4]) {
    for (int i = 0; i < 4; ++i)
      if (!w.Float(std::size_t(i), rgba[i])) return false;
    ++Model.ParseStep;
    return true;
  }

  // A list's count line: its items follow, or with none the next count.
  bool ListCount(const TLineWords& w, std::uint8_t itemStep, std::uint8_t afterStep) {
    if (!w.Int(0, Remaining) || Remaining < 0) return false;
    Model.ParseStep = Remaining > 0 ? itemStep : afterStep;
    return true;
  }

  bool ListItemRead(std::uint8_t afterStep) {
    if (--Remaining == 0) Model.ParseStep = afterStep;
    return true;
  }

  void MeshFinished() {
    Model.ParseStep = kMeshHeader;
    if (++Model.MeshIndex >= Model.MeshCount) {
      Model.ParseState = kReadMaterials;
      Model.ParseStep = kMaterialCount;
    }
  }

  T3DMesh& Mesh() { return Model.Meshes.back(); }

  TMS3DObj& Model;
  int Remaining = 0;  // items still claimed by the list being read
};

bool ValidIndex(int index, std::size_t size) { return index >= 0 && std::size_t(index) < size; }

// A corner can be drawn only when both the vertex and the normal it names exist.
bool CornerExists(const T3DMesh& mesh, const TMS3DTriangle& t, int corner) {
  return ValidIndex(t.VertexIndex[corner], mesh.WorkVertices.size()) &&
         ValidIndex(t.NormalIndex[corner], mesh.WorkNormals.size());
}

const TMaterial* MaterialOf(const TMS3DObj& model, const T3DMesh& mesh) {
  return ValidIndex(mesh.MaterialIndex, model.Materials.size()) ? &model.Materials[std::size_t(mesh.MaterialIndex)]
                                                                : nullptr;
}

void ApplyMaterial(const TMaterial* material) {
  if (!material) return;
  TMaterialColours colours{};
  for (int i = 0; i < 4; ++i) {
    colours.Ambient[i] = material->Ambient[i];
    colours.Diffuse[i] = material->Diffuse[i];
    colours.Specular[i] = material->Specular[i];
    colours.Emissive[i] = material->Emissive[i];
  }
  colours.Shininess = material->Shininess;
  GL().Material(colours);
}

void DrawFilled(const T3DMesh& mesh, const TMaterial* material) {
  TRenderer& gl = GL();
  ApplyMaterial(material);
  const bool textured = material && material->HasTexture;
  if (textured) {
    // Additive glow: the texture's dark edge adds nothing to what lies behind.
    gl.Enable(TCapability::Texture2D);
    gl.Enable(TCapability::AlphaTest);
    gl.Enable(TCapability::Blend);
    gl.BlendFunc(TBlendMode::AlphaOne);
    gl.BindTexture(material->Texture);
  } else {
    gl.Disable(TCapability::Texture2D);
  }
  gl.Begin(TPrimitive::Triangles);
  for (const TMS3DTriangle& t : mesh.Triangles) {
    // A triangle missing a corner has no area: leave it out whole so the
    // triangles after it keep their corners.
    if (!CornerExists(mesh, t, 0) || !CornerExists(mesh, t, 1) || !CornerExists(mesh, t, 2)) continue;
    for (int c = 0; c < 3; ++c) {
      const TMS3DVertex& v = mesh.WorkVertices[std::size_t(t.VertexIndex[c])];
      if (textured) {
        gl.TexCoord(v.U, v.V);
        gl.Normal(v.NX, v.NY, v.NZ);
      } else {
        const TMS3DNormal& n = mesh.WorkNormals[std::size_t(t.NormalIndex[c])];
        gl.Normal(n.X, n.Y, n.Z);
      }
      gl.Vertex(v.X, v.Y, v.Z);
    }
  }
  gl.End();
  if (textured) gl.Disable(TCapability::Texture2D);
  gl.Disable(TCapability::Blend);
}

void DrawOutline(const T3DMesh& mesh, const TMaterial* material) {
  TRenderer& gl = GL();
  ApplyMaterial(material);
  for (const TMS3DTriangle& t : mesh.Triangles) {
    gl.Begin(TPrimitive::LineLoop);
    for (int c = 0; c < 3; ++c) {
      if (!CornerExists(mesh, t, c)) continue;
      const TMS3DNormal& n = mesh.WorkNormals[std::size_t(t.NormalIndex[c])];
      const TMS3DVertex& v = mesh.WorkVertices[std::size_t(t.VertexIndex[c])];
      gl.Normal(n.X, n.Y, n.Z);
      gl.Vertex(v.X, v.Y, v.Z);
    }
    gl.End();
  }
}
}  // namespace

bool TMS3DObj::LoadFromMemo(std::string_view memoName) {
  const TAsset* asset = FindAsset(memoName);
  if (!asset) return false;
  LoadFromText(std::string_view(reinterpret_cast<const char*>(asset->Data), asset->Size));
  return true;
}

void TMS3DObj::LoadFromText(std::string_view text) {
  *this = TMS3DObj();
  FromForm = true;
  ParseState = kReadFrames;
  ParseStep = 0;

  TModelTextParser parser(*this);
  std::size_t pos = 0;
  while (pos < text.size() && ParseState != kDone) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line.starts_with("//")) continue;
    if (!parser.Line(line)) break;
  }

  // Whatever was read is what the model has, even when the text broke off.
  MeshCount = int(Meshes.size());
  MaterialCount = int(Materials.size());

  // Each vertex takes the normal its triangles name for it (the last one wins).
  for (T3DMesh& mesh : Meshes) {
    for (const TMS3DTriangle& t : mesh.Triangles)
      for (int c = 0; c < 3; ++c) {
        if (!ValidIndex(t.VertexIndex[c], mesh.Vertices.size()) || !ValidIndex(t.NormalIndex[c], mesh.Normals.size()))
          continue;
        TMS3DVertex& v = mesh.Vertices[std::size_t(t.VertexIndex[c])];
        const TMS3DNormal& n = mesh.Normals[std::size_t(t.NormalIndex[c])];
        v.NX = n.X, v.NY = n.Y, v.NZ = n.Z;
      }
    mesh.WorkVertices = mesh.Vertices;
    mesh.WorkNormals = mesh.Normals;
  }
}

void TMS3DObj::Draw(bool outline) {
  for (const T3DMesh& mesh : Meshes) {
    if (outline)
      DrawOutline(mesh, MaterialOf(*this, mesh));
    else
      DrawFilled(mesh, MaterialOf(*this, mesh));
  }
}

void TMS3DObj::DrawColoured(const TVector3& ambient, const TVector3& diffuse) {
  for (const T3DMesh& mesh : Meshes) {
    if (ValidIndex(mesh.MaterialIndex, Materials.size())) {
      TMaterial& m = Materials[std::size_t(mesh.MaterialIndex)];
      m.Ambient[0] = ambient.X, m.Ambient[1] = ambient.Y, m.Ambient[2] = ambient.Z;
      m.Diffuse[0] = diffuse.X, m.Diffuse[1] = diffuse.Y, m.Diffuse[2] = diffuse.Z;
    }
    DrawFilled(mesh, MaterialOf(*this, mesh));
  }
}
