// The waves synthesised on first use, each once, and kept for the run.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "assets/BuiltInWaves.h"
#include "sound/synth/WaveBank.h"

std::span<const std::uint8_t> BuiltInWaveBytes(std::string_view name) {
  static std::mutex guard;
  static std::map<std::string, std::vector<std::uint8_t>, std::less<>> made;
  std::lock_guard<std::mutex> lock(guard);
  auto found = made.find(name);
  if (found == made.end()) found = made.emplace(std::string(name), synth::SynthesiseWave(name)).first;
  return found->second;
}
