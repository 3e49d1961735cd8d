#include "platform/SetupWindow.h"

#include <SDL.h>

#include "app/frmSetup.h"
#include "platform/GLRenderer.h"

namespace {
// The screen's display modes as SDL lists them.
class TSdlDisplayModes : public TDisplayModeSource {
 public:
  bool Mode(int index, TDisplayMode& mode) override {
    SDL_DisplayMode m;
    if (index < 0 || index >= SDL_GetNumDisplayModes(0) || SDL_GetDisplayMode(0, index, &m) != 0) return false;
    mode.Bits = SDL_BYTESPERPIXEL(m.format) * 8;
    mode.Width = m.w;
    mode.Height = m.h;
    mode.RefreshRate = m.refresh_rate;
    return true;
  }
};
}  // namespace

TSetupOutcome RunSetupDialog(TWindowRequest& request, TBoardSettings& board) {
  SDL_Window* window =
      SDL_CreateWindow("Quadrovolt Setup - ESC Quit", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       TFormQuadrovoltSetup::ClientWidth, TFormQuadrovoltSetup::ClientHeight, SDL_WINDOW_OPENGL);
  if (!window) return TSetupOutcome::Failed;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    SDL_DestroyWindow(window);
    return TSetupOutcome::Failed;
  }
  SDL_GL_SetSwapInterval(1);

  TGLRenderer renderer;
  SetRenderer(&renderer);
  TSdlDisplayModes modes;
  TFormQuadrovoltSetup form(modes);
  form.ShareScores = board.Sharing;
  form.PlayerName = board.Name;
  form.BoardAddress = board.Address;
  SDL_StartTextInput();  // the name and the address are typed as text

  while (form.ModalResult == TFormQuadrovoltSetup::TResult::None) {
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) {
      if (ev.type == SDL_QUIT) form.ModalResult = TFormQuadrovoltSetup::TResult::Cancel;
      if (ev.type == SDL_KEYDOWN || ev.type == SDL_KEYUP) {
        const int vk = VirtualKeyFromScancode(ev.key.keysym.scancode);
        if (vk < 0) continue;
        if (ev.type == SDL_KEYDOWN)
          form.KeyDown(vk);
        else
          form.KeyUp(vk);
      }
      if (ev.type == SDL_TEXTINPUT) form.TextInput(ev.text.text);
      if (ev.type == SDL_MOUSEBUTTONDOWN && ev.button.button == SDL_BUTTON_LEFT)
        form.MouseDown(ev.button.x, ev.button.y);
    }

    // One unit per pixel, the origin in the middle of the dialog.
    TRenderer& gl = GL();
    const double w = TFormQuadrovoltSetup::ClientWidth, h = TFormQuadrovoltSetup::ClientHeight;
    gl.Viewport(0, 0, int(w), int(h));
    gl.Frustum(-w / h, w / h, -1, 1, 1, 1000);
    gl.Disable(TCapability::DepthTest);
    gl.Disable(TCapability::CullFace);
    gl.Enable(TCapability::Blend);
    gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);
    gl.ClearFrame();
    gl.LoadIdentity();
    gl.Translate(0, 0, float(-h / 2));
    form.Draw();
    SDL_GL_SwapWindow(window);
    SDL_Delay(15);
  }

  SetRenderer(nullptr);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);

  if (form.ModalResult != TFormQuadrovoltSetup::TResult::Ok) return TSetupOutcome::Quit;
  request.Bits = form.Bits;
  request.Width = form.ScreenWidth;
  request.Height = form.ScreenHeight;
  request.FullScreen = form.FullScreen;
  request.SoundOn = form.SoundOn;
  request.InputMode = form.InputMode;
  board.Sharing = form.ShareScores;
  board.Name = form.PlayerName;
  if (!form.BoardAddress.empty()) board.Address = form.BoardAddress;
  return TSetupOutcome::Play;
}
