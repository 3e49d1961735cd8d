// Drawing benchmark: the real game drawn by the real OpenGL backend in a
// window on the current display, the automatic pilot firing three bullets a
// shot with a bomb always going off, after a warm-up that fills the particle
// pool. Every timed frame runs from the start of the game step to the end of
// the swap, with glFinish before the clock stops.
//   quadrovolt_bench_render [--level L] [--frames N] [--backend NAME[,NAME...]|both|all]
//                           [--width W] [--height H] [--seed S] [--warmup W] [--paced]
// NAME is immediate, batched (OpenGL 1.5) or gles3 (OpenGL ES 3.0, in a
// context of its own); both is immediate,batched and all is all three.
// --paced runs the frames on the game's own 100 Hz clock (late ticks dropped)
// and also says how many steps a second that made.
// The same frames (same seed) go through each backend in one process, in the
// order given; the last lines give each median and its ratio to the first.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/TickClock.h"
#include "platform/HeapTuning.h"
#include "platform/SnapshotSurface.h"
#include "tools/CommandLine.h"
#include "tools/snapshot/SnapshotGame.h"

namespace {
struct TBenchOptions {
  int Level = 39;
  int Frames = 1000;
  int Warmup = 300;
  int Width = 1024;
  int Height = 768;
  unsigned long Seed = 1;
  bool Paced = false;
  std::vector<TRendererKind> Backends{TRendererKind::Immediate, TRendererKind::Batched};
};

struct TBenchResult {
  const char* Name;
  double MedianMs, MeanMs, SlowestMs;
  double MeanParticles;
  double StepsPerSecond;  // the frames run over the wall-clock time they took
};

// A comma-separated list of backend names, or both or all.
bool ReadBackends(std::string_view text, std::vector<TRendererKind>& backends) {
  if (text == "both") text = "immediate,batched";
  if (text == "all") text = "immediate,batched,gles3";
  std::vector<TRendererKind> read;
  while (true) {
    const std::size_t comma = text.find(',');
    TRendererKind kind;
    if (!ParseRendererKind(text.substr(0, comma), kind)) return false;
    read.push_back(kind);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  backends = read;
  return true;
}

TCommandLine BenchCommandLine(TBenchOptions& o) {
  TCommandLine line("quadrovolt_bench_render",
                    "Times the real game drawn by the real OpenGL backends in a window, the same frames through\n"
                    "each backend in turn (needs a display; Xvfb will do).");
  line.Integer("--level", "L", 1, 40, o.Level, "the level played, 39 by default");
  line.Integer("--frames", "N", 1, 1000000, o.Frames, "timed frames per backend, 1000 by default");
  line.Value(
      "--backend", "NAME[,NAME...]",
      [&o](const char* value, std::string& why) {
        if (ReadBackends(value, o.Backends)) return true;
        why = std::string("'") + value + "' is not a list of immediate, batched, gles3, nor both or all";
        return false;
      },
      "immediate, batched or gles3, a list of them, both (immediate,batched) or all");
  line.Integer("--width", "W", 16, 8192, o.Width, "the window's width in pixels");
  line.Integer("--height", "H", 16, 8192, o.Height, "the window's height in pixels");
  line.Value(
      "--seed", "S",
      [&o](const char* value, std::string& why) {
        int seed = 0;
        if (!TCommandLine::Number(0, 0x7fffffff, seed)(value, why)) return false;
        o.Seed = (unsigned long)seed;
        return true;
      },
      "the random seed (0..2147483647)");
  line.Integer("--warmup", "W", 0, 1000000, o.Warmup, "frames played before the clock starts, 300 by default");
  line.Flag("--paced", o.Paced, "run on the game's 100 Hz clock and say how many steps a second that made");
  return line;
}

bool Run(TSnapshotSurface& surface, TRendererKind kind, const TBenchOptions& o, TBenchResult& result) {
  std::string error;
  if (!surface.UseRenderer(kind, error)) {
    std::fprintf(stderr, "%s: %s\n", RendererKindName(kind), error.c_str());
    return false;
  }
  TSnapshotOptions play;
  play.Level = o.Level, play.Seed = o.Seed, play.Width = o.Width, play.Height = o.Height;
  play.Frames = o.Warmup, play.Bullets = 3, play.Bombs = true;
  TSnapshotGame game(play);
  game.Run();  // seeds, starts the level and plays the warm-up
  surface.SwapAndFinish();

  std::vector<double> ms;
  ms.reserve(std::size_t(o.Frames));
  double particles = 0;
  TTickClock clock(SDL_GetTicks64());
  const auto first = std::chrono::steady_clock::now();
  for (int f = 0; f < o.Frames; ++f) {
    while (o.Paced && !clock.Due(SDL_GetTicks64())) SDL_Delay(1);
    const auto start = std::chrono::steady_clock::now();
    game.Step();
    surface.SwapAndFinish();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    particles += game.Host().ActiveParticles();
    clock.Stepped(SDL_GetTicks64());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
  double sum = 0;
  for (double m : ms) sum += m;
  std::sort(ms.begin(), ms.end());
  const std::size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  result = TBenchResult{RendererKindName(kind), median, sum / double(n), ms.back(), particles / o.Frames,
                        o.Frames / seconds};
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  TBenchOptions options;
  if (int code; !BenchCommandLine(options).Parse(argc, argv, code)) return code;
  KeepFreedHeapForReuse();  // as the game does
  std::vector<TBenchResult> results;
  {
    TSnapshotSurface surface;
    std::string error;
    if (!surface.Create(options.Width, options.Height, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    surface.Show();
    for (TRendererKind kind : options.Backends) {
      TBenchResult r{};
      if (!Run(surface, kind, options, r)) return 1;
      results.push_back(r);
    }
  }
  SDL_Quit();

  std::printf("level %d, %dx%d, seed %lu, %d frames after %d warm-up frames\n", options.Level, options.Width,
              options.Height, options.Seed, options.Frames, options.Warmup);
  for (const TBenchResult& r : results)
    std::printf("%s: mean %.2f ms, slowest %.2f ms, %.0f particles alive on average, %.1f steps a second%s\n", r.Name,
                r.MeanMs, r.SlowestMs, r.MeanParticles, r.StepsPerSecond, options.Paced ? " on the 100 Hz clock" : "");
  for (const TBenchResult& r : results)
    std::printf("%s: median %.2f ms per frame over %d frames\n", r.Name, r.MedianMs, options.Frames);
  for (std::size_t i = 1; i < results.size(); ++i)
    std::printf("ratio %s/%s: %.2f\n", results[i].Name, results[0].Name, results[i].MedianMs / results[0].MedianMs);
  return 0;
}
