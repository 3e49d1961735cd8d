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
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/QuadrovoltMain.h"
#include "app/TickClock.h"
#include "gfx/ParticleEngine.h"
#include "platform/HeapTuning.h"
#include "platform/SnapshotSurface.h"
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

const char* const Usage =
    "[--level 1..40] [--frames N] [--backend immediate|batched|gles3[,...]|both|all] [--width W] [--height H] "
    "[--seed S] [--warmup W] [--paced]";

bool ReadNumber(const char* text, long lo, long hi, long& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (*end != '\0' || v < lo || v > hi) return false;
  value = v;
  return true;
}

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

bool ParseOptions(int argc, char** argv, TBenchOptions& o) {
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    long v = 0;
    if (name == "--paced") {
      o.Paced = true;
      --i;  // takes no value
    } else if (name == "--backend" && value) {
      if (!ReadBackends(value, o.Backends)) return false;
    } else if (name == "--level" && ReadNumber(value, 1, 40, v))
      o.Level = int(v);
    else if (name == "--frames" && ReadNumber(value, 1, 1000000, v))
      o.Frames = int(v);
    else if (name == "--warmup" && ReadNumber(value, 0, 1000000, v))
      o.Warmup = int(v);
    else if (name == "--width" && ReadNumber(value, 16, 8192, v))
      o.Width = int(v);
    else if (name == "--height" && ReadNumber(value, 16, 8192, v))
      o.Height = int(v);
    else if (name == "--seed" && ReadNumber(value, 0, 0x7fffffff, v))
      o.Seed = (unsigned long)v;
    else
      return false;
  }
  return true;
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
    particles += game.Game().Particles->ActiveCount();
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
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--help")) {
      std::printf("usage: %s %s\n", argv[0], Usage);
      return 0;
    }
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s %s\n", argv[0], Usage);
    return 2;
  }
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
