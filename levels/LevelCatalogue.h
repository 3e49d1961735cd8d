#pragma once
// The forty levels of the game, written as spawn rows for the level manager.
#include <vector>

#include "levels/SpawnRecord.h"

constexpr int CatalogueLevels = 40;

// Appends the rows of the forty levels, level 1 first, each level's rows
// contiguous and in order. Random spawn points and ticks are drawn from the
// shared generator now, once, so a level plays the same way all run long.
void AppendLevelCatalogue(std::vector<TSpawnRecord>& spawns);
