#pragma once
// A MilkShape 3D ASCII model, parsed from one of the built-in model texts and
// drawn filled, as outlines, or recoloured by the caller (the glow sprites).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/PdxLib3DTypes.h"

struct TMS3DVertex {
  int Flags = 0;
  float X = 0, Y = 0, Z = 0, U = 0, V = 0;
  float NX = 0, NY = 0, NZ = 0;
  int BoneIndex = -1;
};

struct TMS3DNormal {
  float X = 0, Y = 0, Z = 0;
};

struct TMS3DTriangle {
  int Flags = 0;
  int VertexIndex[3] = {0, 0, 0};
  int NormalIndex[3] = {0, 0, 0};
  int SmoothingGroup = 0;
};

struct T3DMesh {
  std::string Name;
  int Flags = 0;
  int MaterialIndex = -1;
  std::vector<TMS3DVertex> Vertices, WorkVertices;
  std::vector<TMS3DNormal> Normals, WorkNormals;
  std::vector<TMS3DTriangle> Triangles;
};

struct TMaterial {
  std::string Name;  // with its quotes
  float Ambient[4] = {0, 0, 0, 1}, Diffuse[4] = {0, 0, 0, 1}, Specular[4] = {0, 0, 0, 1}, Emissive[4] = {0, 0, 0, 1};
  float Shininess = 0, Transparency = 1;
  std::string ColourMap, AlphaMap;
  bool HasTexture = false;
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Pixels;  // RGB, row 0 the top row
  unsigned Texture = 0;
};

class TMS3DObj {
 public:
  TMS3DObj() = default;

  // Loads the built-in model text of that name ("MemoGeoSphere"); textures come
  // from the built-in bitmaps. False when no model of that name exists.
  bool LoadFromMemo(std::string_view memoName);
  // Parses a model text (the same rules; textures from the built-in bitmaps).
  void LoadFromText(std::string_view text);

  void Draw(bool outline);
  void DrawColoured(const TVector3& ambient, const TVector3& diffuse);

  std::uint8_t ParseState = 0;
  std::uint8_t ParseStep = 0;
  int FrameCount = 0, CurrentFrame = 0;
  int MeshCount = 0, MeshIndex = 0;
  std::vector<T3DMesh> Meshes;
  int MaterialCount = 0, MaterialIndex = 0;
  std::vector<TMaterial> Materials;
  bool FromForm = false;
};
