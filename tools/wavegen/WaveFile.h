#pragma once
// A synthesised wave in memory and its writer as a PCM RIFF WAVE file.
#include <string>
#include <vector>

namespace wavegen {

struct TWaveData {
  int Rate = 22050;
  int Bits = 8;                              // 8 (unsigned samples) or 16 (signed, little-endian)
  int Channels = 1;                          // 1 or 2
  std::vector<std::vector<double>> Samples;  // one vector per channel, -1..1

  size_t Frames() const { return Samples.empty() ? 0 : Samples[0].size(); }
};

// A mono wave of `seconds` length, all zero, ready to be filled.
TWaveData MakeMono(int rate, double seconds);

// Quantises and writes the wave; false when the file cannot be written.
bool WriteWave(const std::string& path, const TWaveData& wave);

}  // namespace wavegen
