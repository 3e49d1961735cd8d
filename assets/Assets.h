#pragma once
// Every model text, bitmap and wave the game carries is compiled into the
// binary; this is how the rest of the program finds them by name.
#include <cstddef>
#include <string_view>

struct TAsset {
  const char* Name;
  const unsigned char* Data;
  std::size_t Size;
};

// The asset with this name ("MemoGeoSphere", "ImageRect16x16", "Intro"), or nullptr.
const TAsset* FindAsset(std::string_view name);
