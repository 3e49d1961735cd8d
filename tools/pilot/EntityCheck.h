#pragma once
// What "every entity is sane" means for the developer tools' long runs: one
// check of the ship, the enemies and the bullets after a frame.
#include <cstddef>

class TQuadrovoltMain;

// True when every active entity stands at a finite place near the arena.
// Otherwise writes one line saying which entity broke the rule and where.
bool EntitiesSane(const TQuadrovoltMain& game, char* why, std::size_t whySize);
