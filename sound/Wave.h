#pragma once
// A parsed PCM wave: its format record and its sample bytes.
#include <cstdint>
#include <vector>

struct TWaveFormat {
  std::uint16_t FormatTag = 1;  // 1 = PCM, the only kind the game plays
  std::uint16_t Channels = 0;
  std::uint32_t SamplesPerSec = 0;
  std::uint32_t AvgBytesPerSec = 0;
  std::uint16_t BlockAlign = 0;  // bytes per frame: Channels * BitsPerSample / 8
  std::uint16_t BitsPerSample = 0;
};

struct TWave {
  TWaveFormat Format;
  std::vector<std::uint8_t> Data;  // whole frames only

  bool Empty() const { return Data.empty(); }
  std::size_t Frames() const { return Format.BlockAlign ? Data.size() / Format.BlockAlign : 0; }
  double Seconds() const { return Format.SamplesPerSec ? double(Frames()) / Format.SamplesPerSec : 0.0; }
};
