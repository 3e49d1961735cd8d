#include "WaveBank.h"

#include <array>
#include <iterator>

#include "Effects.h"
#include "IntroTune.h"
#include "WaveFile.h"

namespace wavegen {

namespace {

struct TWaveRecipe {
  std::string_view Name;
  TWaveData (*Make)();
};

// In the bank's order.
constexpr TWaveRecipe kRecipes[] = {
    {"PlayerShoot", MakePlayerShoot},
    {"GruntHit", MakeGruntHit},
    {"BoidHit", MakeBoidHit},
    {"SnakeHit", MakeSnakeHit},
    {"SnakeDestroyed", MakeSnakeDestroyed},
    {"GravitarHit", MakeGravitarHit},
    {"GravitarDestroyed", MakeGravitarDestroyed},
    {"PodHit", MakePodHit},
    {"PodDestroyed", MakePodDestroyed},
    {"PodChildHit", MakePodChildHit},
    {"PodChildDestroyed", MakePodChildDestroyed},
    {"PlayerHit", MakePlayerHit},
    {"NewLevel", MakeNewLevel},
    {"GravitarSpawned", MakeGravitarSpawned},
    {"Intro", MakeIntro},
    {"GraviBomb", MakeGraviBomb},
};

}  // namespace

std::span<const std::string_view> BankWaveNames() {
  static const auto names = [] {
    std::array<std::string_view, std::size(kRecipes)> n;
    for (size_t i = 0; i < n.size(); ++i) n[i] = kRecipes[i].Name;
    return n;
  }();
  return names;
}

std::vector<std::uint8_t> SynthesiseWave(std::string_view name) {
  for (const TWaveRecipe& recipe : kRecipes)
    if (recipe.Name == name) return EncodeWave(recipe.Make());
  return {};
}

}  // namespace wavegen
