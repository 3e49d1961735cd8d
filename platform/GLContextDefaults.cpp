#include "platform/GLContextDefaults.h"

#include <GL/gl.h>
#include <SDL.h>

void SetContextDefaults() {
  glClearColor(0, 0, 0, 0.5f);
  glClearDepth(1.0);
  // Nearly everything is drawn at z = 0: a later shape at the same depth must
  // still pass, or the first glow at a pixel would hide all drawn after it.
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void RequestGameContext(int bitsPerPixel) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  const int channel = bitsPerPixel >= 24 ? 8 : 5;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
}
