// Build tool: synthesises the sixteen waves of the sound bank into a folder,
// one <Name>.wav per wave. Deterministic: the same sources give the same bytes.
//   quadrovolt_wavegen [--timing] <outdir>
// --timing prints how long the synthesis took, as it would at a page's load.
#include <chrono>
#include <cstdio>
#include <string>

#include "sound/synth/WaveBank.h"
#include "sound/synth/WaveFile.h"
#include "tools/CommandLine.h"

int main(int argc, char** argv) {
  bool timing = false;
  std::string dir;
  TCommandLine line("quadrovolt_wavegen",
                    "Synthesises the sixteen waves of the sound bank into a folder, one NAME.wav each; the same\n"
                    "sources give the same bytes.");
  line.Flag("--timing", timing, "print how long each wave took, as it would at a page's load");
  line.Argument("OUTDIR", TCommandLine::FileName(dir), "the folder the waves go to (it must exist)");
  if (int code; !line.Parse(argc, argv, code)) return code;
  double totalMs = 0;
  for (std::string_view name : synth::BankWaveNames()) {
    auto start = std::chrono::steady_clock::now();
    std::vector<std::uint8_t> bytes = synth::SynthesiseWave(name);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    totalMs += ms;
    if (timing) std::printf("%-18.*s %8.1f ms\n", int(name.size()), name.data(), ms);
    const std::string path = dir + "/" + std::string(name) + ".wav";
    if (!synth::WriteFileBytes(path, bytes)) {
      std::fprintf(stderr, "quadrovolt_wavegen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  if (timing) std::printf("synthesised %zu waves in %.1f ms\n", synth::BankWaveNames().size(), totalMs);
  return 0;
}
