#pragma once
// Turns a model material's colour map into a texture made from one of the
// built-in bitmaps.
#include <string>
#include <string_view>

#include "assets/Assets.h"
#include "gfx/MS3DObj.h"

// The built-in bitmap a colour-map file name stands for:
// "..\quadrovolt\Sphere16x16.bmp" -> "ImageSphere16x16".
std::string TextureImageName(std::string_view colourMap);

// Builds the material's texture from `image` (nullptr: the bitmap was not
// found). A missing or damaged bitmap is reported in a message box captioned
// "Error" and leaves the material untextured; loading goes on either way.
void MakeMaterialTexture(TMaterial& material, const TAsset* image);
