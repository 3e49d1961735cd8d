// Writes the whole level script, as the level manager builds it on a fixed
// seed, one row a line; or checks it against a file written earlier.
//   quadrovolt_catalogue_dump [--seed S]                  the rows, to stdout
//   quadrovolt_catalogue_dump [--seed S] --check FILE     exit 1 on the first difference
// The kept copy is tests/data/level_script.txt; after a change to the levels
// that is meant, write it again with the first form and review the diff.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/Random.h"
#include "levels/LevelManager.h"
#include "tools/CommandLine.h"

namespace {
const char* const Header =
    "# level row | action trigger tick kind | x y z | lives fixed | extra x y z | skip param | text";

std::string FormatRow(const TSpawnRecord& r, int rowInLevel) {
  char line[512];
  std::snprintf(line, sizeof line, "%d %d | %d %d %d %d | %.3f %.3f %.3f | %d %d | %.3f %.3f %.3f | %d %d | \"%s\"",
                r.Level, rowInLevel, r.Action, r.Trigger, r.Tick, r.Kind, r.Position.X, r.Position.Y, r.Position.Z,
                r.Lives, int(r.FixedSpawn), r.Extra.X, r.Extra.Y, r.Extra.Z, int(r.Skip), r.Param, r.Text.c_str());
  return line;
}

std::vector<std::string> DumpScript(std::uint64_t seed) {
  RandomSeed(seed);
  TLevelManager manager;  // builds the script and fills in every quota
  std::vector<std::string> lines{Header};
  int level = -1, rowInLevel = 0;
  for (const TSpawnRecord& r : manager.Spawns) {
    rowInLevel = r.Level == level ? rowInLevel + 1 : 0;
    level = r.Level;
    lines.push_back(FormatRow(r, rowInLevel));
  }
  return lines;
}

// The first line that differs, named by its level and row so a maintainer
// sees at once what moved.
int Check(const std::vector<std::string>& actual, const char* path) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 2;
  }
  std::vector<std::string> expected;
  for (std::string line; std::getline(in, line);) expected.push_back(line);
  const size_t n = std::max(actual.size(), expected.size());
  for (size_t i = 0; i < n; ++i) {
    const std::string want = i < expected.size() ? expected[i] : "(no line)";
    const std::string got = i < actual.size() ? actual[i] : "(no line)";
    if (want == got) continue;
    int level = 0, row = 0;
    std::istringstream(i < actual.size() ? got : want) >> level >> row;
    std::fprintf(stderr, "level script differs at line %zu (level %d, row %d of the level)\n  kept:  %s\n  built: %s\n",
                 i + 1, level, row, want.c_str(), got.c_str());
    std::fprintf(stderr, "%zu lines kept, %zu built\n", expected.size(), actual.size());
    return 1;
  }
  std::printf("level script matches %s: %zu rows\n", path, actual.size() - 1);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  std::uint64_t seed = 1;
  std::string check;
  TCommandLine line("quadrovolt_catalogue_dump",
                    "Writes the whole level script, as the level manager builds it on a fixed seed, one row a\n"
                    "line; or checks it against a file written earlier (exit 1 on the first difference).");
  line.Unsigned64("--seed", "S", seed, "the random seed the script is drawn on, 1 by default");
  line.Path("--check", "FILE", check, "compare with FILE instead of writing the rows");
  if (int code; !line.Parse(argc, argv, code)) return code;
  const std::vector<std::string> lines = DumpScript(seed);
  if (line.Given("--check")) return Check(lines, check.c_str());
  for (const std::string& line : lines) std::cout << line << '\n';
  return 0;
}
