#pragma once
// The drawing seam. Every draw call of the game goes through this small
// interface shaped like the GL subset the game uses, so the logic runs with a
// recorder in tests, with nothing in benchmarks and with OpenGL in the game.
#include <cstdint>

enum class TPrimitive : std::uint8_t { Lines, LineLoop, LineStrip, Points, Triangles, Quads };

enum class TCapability : std::uint8_t {
  Lighting,
  Light0,
  Blend,
  Texture2D,
  AlphaTest,
  CullFace,
  DepthTest,
};

enum class TBlendMode : std::uint8_t {
  AlphaOneMinusAlpha,  // source alpha, one minus source alpha: ordinary transparency
  AlphaOne,            // source alpha, one: additive glow of textured sprites
};

struct TMaterialColours {
  float Ambient[4];
  float Diffuse[4];
  float Specular[4];
  float Emissive[4];
  float Shininess;
};

class TRenderer {
 public:
  virtual ~TRenderer() = default;

  // Frame set-up (the game object does this once per frame).
  virtual void Viewport(int x, int y, int width, int height) = 0;
  virtual void Frustum(double left, double right, double bottom, double top, double zNear, double zFar) = 0;
  virtual void ClearFrame() = 0;       // black, colour and depth
  virtual void BeginFrameState() = 0;  // face culling, depth test, blend function as the game expects

  // Model-view matrix.
  virtual void LoadIdentity() = 0;
  virtual void PushMatrix() = 0;
  virtual void PopMatrix() = 0;
  virtual void Translate(float x, float y, float z) = 0;
  virtual void Rotate(float degrees, float x, float y, float z) = 0;
  virtual void Scale(float x, float y, float z) = 0;

  // State.
  virtual void Color(float r, float g, float b, float a = 1.0f) = 0;
  virtual void LineWidth(float width) = 0;
  virtual void PointSize(float size) = 0;
  virtual void Enable(TCapability cap) = 0;
  virtual void Disable(TCapability cap) = 0;
  virtual void BlendFunc(TBlendMode mode) = 0;
  virtual void LightAmbient(float r, float g, float b, float a) = 0;  // light 0's ambient
  virtual void Material(const TMaterialColours& m) = 0;               // front-face material

  // Textures: 0 means "no texture".
  virtual unsigned CreateTexture(int width, int height, const std::uint8_t* rgb) = 0;
  virtual void BindTexture(unsigned texture) = 0;

  // Immediate-mode primitives.
  virtual void Begin(TPrimitive prim) = 0;
  virtual void Vertex(float x, float y, float z) = 0;
  virtual void Normal(float x, float y, float z) = 0;
  virtual void TexCoord(float u, float v) = 0;
  virtual void End() = 0;

  // Hands everything drawn so far to the driver. A backend may queue
  // primitives; the frame calls this before the swap, and whatever reads
  // pixels or touches GL itself calls it first.
  virtual void Flush() {}
};

// The renderer the game draws with. Never null: a null renderer is installed
// until the platform or a test sets another.
TRenderer& GL();
void SetRenderer(TRenderer* renderer);  // nullptr restores the null renderer
