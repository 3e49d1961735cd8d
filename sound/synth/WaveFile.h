#pragma once
// A synthesised wave in memory and its writer as a PCM RIFF WAVE file.
#include <cstdint>
#include <string>
#include <vector>

namespace synth {

struct TWaveData {
  int Rate = 22050;
  int Bits = 8;                              // 8 (unsigned samples) or 16 (signed, little-endian)
  int Channels = 1;                          // 1 or 2
  std::vector<std::vector<double>> Samples;  // one vector per channel, -1..1

  size_t Frames() const { return Samples.empty() ? 0 : Samples[0].size(); }
};

// A mono wave of `seconds` length, all zero, ready to be filled.
TWaveData MakeMono(int rate, double seconds);

// The wave quantised to its bit depth, as a PCM RIFF WAVE file's bytes.
std::vector<std::uint8_t> EncodeWave(const TWaveData& wave);

// Writes bytes to a file; false when it cannot be written.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace synth
