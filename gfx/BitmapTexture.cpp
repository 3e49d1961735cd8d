#include "gfx/BitmapTexture.h"

#include "gfx/Bitmap.h"
#include "gfx/MessageBox.h"
#include "gfx/Renderer.h"

std::string TextureImageName(std::string_view colourMap) {
  const std::size_t slash = colourMap.find_last_of("\\/");
  if (slash != std::string_view::npos) colourMap.remove_prefix(slash + 1);
  const std::size_t dot = colourMap.rfind('.');
  if (dot != std::string_view::npos) colourMap = colourMap.substr(0, dot);
  return "Image" + std::string(colourMap);
}

void MakeMaterialTexture(TMaterial& material, const TAsset* image) {
  if (!image) {
    ShowMessageBox("Error", "Cannot find the file: " + material.ColourMap);
    return;
  }
  TRgbImage rgb;
  std::string error;
  if (!ReadBmp24(image->Data, image->Size, rgb, error)) {
    ShowMessageBox("Error", "Problem reading file " + material.ColourMap + "\nException : " + error +
                                "\nEnsure all files in same folder, press Ok to terminate");
    return;
  }
  material.Width = rgb.Width;
  material.Height = rgb.Height;
  material.Pixels = std::move(rgb.Pixels);
  material.Texture = GL().CreateTexture(material.Width, material.Height, material.Pixels.data());
  material.HasTexture = true;
}
