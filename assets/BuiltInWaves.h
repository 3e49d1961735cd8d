#pragma once
// Where the sound bank gets its waves. A desktop build carries the waves
// synthesised at build time; a build for the web page synthesises them when
// the game starts, which keeps 2.5 MB of music out of the download. Either
// way the bytes are the same.
#include <cstdint>
#include <span>
#include <string_view>

// The PCM RIFF WAVE bytes of the built-in wave of that bank name ("Intro"),
// valid for the rest of the run; empty when the build has no such wave.
std::span<const std::uint8_t> BuiltInWaveBytes(std::string_view name);
