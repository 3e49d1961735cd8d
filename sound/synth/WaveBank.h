#pragma once
// The sound bank's sixteen waves, synthesised on request: the build-time
// wave generator writes them to files, and a build that carries no waves
// (the web page) makes them when the game starts. Both get the same bytes.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace synth {

// Every wave's bank name, in the bank's order.
std::span<const std::string_view> BankWaveNames();

// The wave of that bank name as a PCM RIFF WAVE file's bytes, synthesised
// now; empty when the bank has no wave of that name.
std::vector<std::uint8_t> SynthesiseWave(std::string_view name);

}  // namespace synth
