// Build tool: synthesises the sixteen waves of the sound bank into a folder,
// one <Name>.wav per wave. Deterministic: the same sources give the same bytes.
//   quadrovolt_wavegen <outdir>
#include <cstdio>
#include <string>

#include "Effects.h"
#include "IntroTune.h"
#include "WaveFile.h"

namespace {

struct TWaveRecipe {
  const char* Name;
  wavegen::TWaveData (*Make)();
};

// In the bank's order.
const TWaveRecipe kRecipes[] = {
    {"PlayerShoot", wavegen::MakePlayerShoot},
    {"GruntHit", wavegen::MakeGruntHit},
    {"BoidHit", wavegen::MakeBoidHit},
    {"SnakeHit", wavegen::MakeSnakeHit},
    {"SnakeDestroyed", wavegen::MakeSnakeDestroyed},
    {"GravitarHit", wavegen::MakeGravitarHit},
    {"GravitarDestroyed", wavegen::MakeGravitarDestroyed},
    {"PodHit", wavegen::MakePodHit},
    {"PodDestroyed", wavegen::MakePodDestroyed},
    {"PodChildHit", wavegen::MakePodChildHit},
    {"PodChildDestroyed", wavegen::MakePodChildDestroyed},
    {"PlayerHit", wavegen::MakePlayerHit},
    {"NewLevel", wavegen::MakeNewLevel},
    {"GravitarSpawned", wavegen::MakeGravitarSpawned},
    {"Intro", wavegen::MakeIntro},
    {"GraviBomb", wavegen::MakeGraviBomb},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quadrovolt_wavegen OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  for (const TWaveRecipe& recipe : kRecipes) {
    const std::string path = dir + "/" + recipe.Name + ".wav";
    if (!wavegen::WriteWave(path, recipe.Make())) {
      std::fprintf(stderr, "quadrovolt_wavegen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
