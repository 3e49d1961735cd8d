// The waves the build synthesised and compiled into the binary.
#include "assets/Assets.h"
#include "assets/BuiltInWaves.h"

std::span<const std::uint8_t> BuiltInWaveBytes(std::string_view name) {
  const TAsset* asset = FindAsset(name);
  if (!asset) return {};
  return {asset->Data, asset->Size};
}
