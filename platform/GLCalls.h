#pragma once
// The GL calls both drawing backends make the same way: the camera, the clear
// and making a texture.
#include <cstdint>

void GLSetFrustum(double left, double right, double bottom, double top, double zNear, double zFar);
void GLClearFrame();  // black, colour and depth
unsigned GLCreateTexture(int width, int height, const std::uint8_t* rgb);
