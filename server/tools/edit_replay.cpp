// Makes a cheat's replay from an honest one: the fire button let go at a
// chosen tick (and pressed again at the next), everything else kept, the
// file's hash made right again. The checkpoints still hold the honest game,
// so a referee finds where the two part.
//   quadrovolt_edit_replay IN OUT --tick N
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/Replay.h"
#include "tools/CommandLine.h"

int main(int argc, char** argv) {
  std::string in, out;
  int tickArg = 0;
  TCommandLine line("quadrovolt_edit_replay", "Makes a cheat's replay: the fire button let go at one tick.");
  line.Argument("IN", TCommandLine::FileName(in), "the honest replay");
  line.Argument("OUT", TCommandLine::FileName(out), "where the edited one goes");
  line.Integer("--tick", "N", 0, int(MaxReplayTicks), tickArg, "the tick the button is let go at").Required();
  if (int code; !line.Parse(argc, argv, code)) return code;
  const long tick = tickArg;
  TReplay replay;
  std::string why;
  if (!LoadReplayFile(in, replay, why)) {
    std::fprintf(stderr, "%s: %s\n", in.c_str(), why.c_str());
    return 1;
  }
  // Find the step boundary where that many ticks have passed: split a run
  // of ticks there if need be, and put the button's messages in between.
  TReplayDecoder decoder(replay.Stream.data(), replay.Stream.size(), replay.Header.Start);
  std::vector<std::uint8_t> edited;
  long ticks = 0;
  bool done = false;
  std::size_t at = 0;
  TReplayOp op;
  while (decoder.Next(op)) {
    const std::size_t end = decoder.Offset();
    if (!done && op.Kind == TReplayOp::TKind::Ticks && ticks + op.Count > tick) {
      const int before = int(tick - ticks), after = op.Count - before;
      if (before > 0) edited.push_back(std::uint8_t(before - 1));
      edited.push_back(ReplayCode::LeftUp);
      edited.push_back(std::uint8_t(0));  // one tick with the button up
      edited.push_back(ReplayCode::LeftDown);
      if (after > 1) edited.push_back(std::uint8_t(after - 2));
      done = true;
    } else {
      edited.insert(edited.end(), replay.Stream.begin() + long(at), replay.Stream.begin() + long(end));
    }
    if (op.Kind == TReplayOp::TKind::Ticks) ticks += op.Count;
    at = end;
  }
  if (decoder.Error || !done) {
    std::fprintf(stderr, "%s: no tick %ld in the replay\n", in.c_str(), tick);
    return 1;
  }
  std::vector<std::uint8_t> checkpoints;
  for (const TReplayCheckpoint& c : replay.Checkpoints) ReplayEncode::Checkpoint(checkpoints, c);
  if (!WriteReplayFile(out.c_str(), replay.Header, edited.data(), edited.size(), checkpoints.data(),
                       replay.Checkpoints.size())) {
    std::fprintf(stderr, "%s: cannot write: %s\n", out.c_str(), std::strerror(errno));
    return 1;
  }
  return 0;
}
