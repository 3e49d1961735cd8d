// Developer tool: a sheet of every printable character of the stroke font, a
// few HUD and title words, the typewriter scroller and the three built-in
// models, drawn with the real OpenGL backend under the game's own camera.
// Stays up until a key is pressed or the given seconds (default 5) pass.
//   quadrovolt_textsheet [SECONDS]
#include <SDL.h>

#include <cstdio>
#include <string>

#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/Renderer.h"
#include "gfx/ScopedRenderer.h"
#include "platform/GLContextDefaults.h"
#include "platform/GLRenderer.h"
#include "tools/CommandLine.h"

namespace {
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

const TVector3 kWhite{1, 1, 1};
const TVector3 kYellow{1, 1, 0};
const TVector3 kScrollerBlue{0, 0.5f, 0.9f};

struct TSheet {
  TGLPrinter Printer;
  TMS3DObj SphereTile, RectFrame, GeoSphere;
  int Shown = 0, Delay = 0, Countdown = 0;  // types a character every frame
  int Frame = 0;
};

// Every printable character, in rows, at two sizes.
void DrawCharacterRows(TGLPrinter& printer) {
  std::string row;
  float y = 330;
  for (int ch = 32; ch <= 126; ++ch) {
    row += char(ch);
    if (row.size() == 32 || ch == 126) {
      printer.PrintAt(2, kWhite, -450, y, TVector3{2, 2, 1}, row);
      y -= 55;
      row.clear();
    }
  }
  for (int ch = 32; ch <= 126; ++ch) {
    row += char(ch);
    if (row.size() == 48 || ch == 126) {
      printer.PrintAt(1, kYellow, -450, y, TVector3{1, 1, 1}, row);
      y -= 30;
      row.clear();
    }
  }
}

// The three models the way entities draw them: lit by their ambient colour only.
void DrawModels(TSheet& sheet) {
  TRenderer& gl = GL();
  gl.Enable(TCapability::Lighting);
  gl.Disable(TCapability::Light0);
  gl.LightAmbient(0.3f, 0.3f, 0.3f, 0);
  const struct {
    TMS3DObj* Model;
    float X, Scale;
    TVector3 Colour;
  } models[] = {
      {&sheet.SphereTile, -380, 60, TVector3{1, 1, 0}},
      {&sheet.RectFrame, -200, 60, TVector3{0, 1, 0.5f}},
      {&sheet.GeoSphere, 0, 2.5f, TVector3{0.5f, 0, 1}},
  };
  for (const auto& m : models) {
    gl.PushMatrix();
    gl.Translate(m.X, -170, 0);
    gl.Scale(m.Scale, m.Scale, m.Scale);
    m.Model->DrawColoured(m.Colour, m.Colour);
    gl.PopMatrix();
  }
  gl.Disable(TCapability::Lighting);
  gl.Enable(TCapability::Blend);
  gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);

  // The sphere again as outlines, turning, unlit.
  gl.PushMatrix();
  gl.Translate(200, -170, 0);
  gl.Rotate(float(sheet.Frame), 1, 1, 0);
  gl.Scale(2.5f, 2.5f, 2.5f);
  gl.Color(0.5f, 0.8f, 1, 1);
  gl.LineWidth(1);
  sheet.GeoSphere.Draw(true);
  gl.PopMatrix();
}

void DrawSheet(TSheet& sheet) {
  TRenderer& gl = GL();
  gl.BeginFrameState();
  gl.Viewport(0, 0, kWidth, kHeight);
  gl.Frustum(-1, 1, -1, 1, 1, 1000);
  gl.Enable(TCapability::Blend);
  gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);
  gl.ClearFrame();
  gl.LoadIdentity();
  gl.Translate(0, 0, -540);
  gl.Disable(TCapability::Lighting);

  TGLPrinter& p = sheet.Printer;
  p.PrintHud(1, kWhite, -500, 520, "Energy: ");
  p.PrintHud(1, kWhite, -100, 520, "Score: 12345");
  p.PrintHud(1, TVector3{0, 0.5f, 1}, 300, 520, " HiScore: 99999");
  p.PrintAt(4, kWhite, -450, 440, TVector3{2.5f, 4, 1}, "Q U A D R O V O L T");
  DrawCharacterRows(p);
  p.PrintNumber(-120, TVector3{400, 60, 0}, TVector3{float(sheet.Frame % 360), 0, 0}, TVector3{2, 2, 2},
                TColor4{1, 0.5f, 0, 1});
  p.PrintText("Energy: ", TVector3{-450, 60, 0}, TVector3{}, TVector3{1.5f, 1.5f, 1}, TColor4{1, 0, 1, 0.8f});
  DrawModels(sheet);

  p.PenX = p.PenStartX = -450;
  p.SetTop(-300);
  p.PrintScroller(sheet.Shown, sheet.Delay, TVector3{1, 1, 1}, kScrollerBlue, 1, sheet.Countdown);
}
}  // namespace

int main(int argc, char** argv) {
  int seconds = 5;
  TCommandLine line("quadrovolt_textsheet",
                    "Shows every glyph of the stroke font, some HUD and title words, the typewriter scroller and\n"
                    "the three built-in models on the real OpenGL backend, until a key is pressed.");
  line.Argument("SECONDS", TCommandLine::Number(1, 3600, seconds), "how long it stays up, 5 by default (1..3600)")
      .Optional();
  if (int code; !line.Parse(argc, argv, code)) return code;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_Window* window = SDL_CreateWindow("Quadrovolt text sheet", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                                        kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) {
    std::fprintf(stderr, "No OpenGL window: %s\n", SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    SDL_Quit();
    return 1;
  }
  SetContextDefaults();

  TGLRenderer renderer;
  {
    const TScopedRenderer drawing(renderer);  // given back before the context goes
    TSheet sheet;
    sheet.Printer.SetText(
        "The scroller types one character every five frames,\r"
        "moves down fifty units a line,\r"
        "and scrolls up after the fifth line break.\r"
        "Line four.\r"
        "Line five.\r"
        "Line six: the top line has gone.\r"
        "End#1\x01");
    // Textures need the context: load after it exists.
    sheet.SphereTile.LoadFromMemo("MemoSphereTile16x16");
    sheet.RectFrame.LoadFromMemo("MemoRectFrame16x16");
    sheet.GeoSphere.LoadFromMemo("MemoGeoSphere");

    const Uint64 start = SDL_GetTicks64();
    bool running = true;
    while (running && SDL_GetTicks64() - start < Uint64(seconds) * 1000) {
      SDL_Event event;
      while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT || event.type == SDL_KEYDOWN) running = false;
      DrawSheet(sheet);
      SDL_GL_SwapWindow(window);
      ++sheet.Frame;
      SDL_Delay(10);
    }
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
