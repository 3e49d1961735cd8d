#include "sound/synth/WaveBank.h"

#include <array>
#include <iterator>

#include "sound/BankWaves.h"
#include "sound/synth/Effects.h"
#include "sound/synth/IntroTune.h"
#include "sound/synth/WaveFile.h"

namespace synth {

namespace {

struct TWaveRecipe {
  std::string_view Name;
  TWaveData (*Make)();
};

// In the bank's order: every wave of the list has its Make<Name>.
#define QUADROVOLT_WAVE_RECIPE(name, looped) {#name, Make##name},
constexpr TWaveRecipe kRecipes[] = {QUADROVOLT_BANK_WAVES(QUADROVOLT_WAVE_RECIPE)};
#undef QUADROVOLT_WAVE_RECIPE

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

}  // namespace synth
