#include "tools/snapshot/SnapshotOptions.h"

#include <cstring>

#include "app/GameConstants.h"

namespace {
// "X,Y", each anywhere the mouse can reach: the window spans -600..600 units.
TCommandLine::TReader CursorReader(TSnapshotOptions& options) {
  return [&options](const char* value, std::string& why) {
    const char* comma = std::strchr(value, ',');
    if (!comma) {
      why = std::string("'") + value + "' is not X,Y";
      return false;
    }
    const std::string first(value, comma);
    int x = 0, y = 0;
    if (!TCommandLine::Number(-600, 600, x)(first.c_str(), why) || !TCommandLine::Number(-600, 600, y)(comma + 1, why))
      return false;
    options.CursorX = x, options.CursorY = y, options.HoldCursor = true;
    return true;
  };
}

TCommandLine::TReader ModeReader(TSnapshotOptions& options) {
  return [&options](const char* value, std::string& why) {
    const struct {
      const char* Name;
      std::uint8_t Mode;
    } modes[] = {{"mouse", InputModes::Mouse}, {"keyboard", InputModes::Keyboard}, {"joystick", InputModes::Joystick}};
    for (const auto& m : modes)
      if (!std::strcmp(value, m.Name)) {
        options.Mode = m.Mode;
        return true;
      }
    why = std::string("'") + value + "' is none of mouse, keyboard, joystick";
    return false;
  };
}

TCommandLine::TReader SeedReader(TSnapshotOptions& options) {
  return [&options](const char* value, std::string& why) {
    int seed = 0;
    if (!TCommandLine::Number(0, 0x7fffffff, seed)(value, why)) return false;
    options.Seed = (unsigned long)seed;
    return true;
  };
}
}  // namespace

TCommandLine SnapshotCommandLine(TSnapshotOptions& options) {
  TCommandLine line("quadrovolt_snapshot",
                    "Draws the real game with the real OpenGL backend into a PNG file, the automatic pilot\n"
                    "playing the level for the given frames (or the title screen running). Needs a display.");
  line.Integer("--level", "L", 1, 40, options.Level, "the level the pilot plays");
  line.Integer("--frames", "N", 1, 1000000, options.Frames, "frames played before the picture is taken");
  line.Value("--seed", "S", SeedReader(options), "the random seed (0..2147483647)");
  line.Path("--out", "FILE.png", options.Out, "where the picture goes").Required();
  line.Integer("--width", "W", 16, 8192, options.Width, "the picture's width in pixels");
  line.Integer("--height", "H", 16, 8192, options.Height, "the picture's height in pixels");
  line.Value("--mode", "mouse|keyboard|joystick", ModeReader(options), "the control mode");
  line.Value("--cursor", "X,Y", CursorReader(options), "hold the mouse cursor there, in arena units (-600..600)");
  line.Flag("--title", options.Title, "picture the title screen instead of play");
  return line;
}

bool ParseSnapshotOptions(int argc, const char* const* argv, TSnapshotOptions& options, std::string& error) {
  TCommandLine line = SnapshotCommandLine(options);
  switch (line.Read(argc, argv, error)) {
    case TCommandLine::TOutcome::Run: return true;
    case TCommandLine::TOutcome::Help: error = "--help asked"; return false;
    case TCommandLine::TOutcome::Refused: return false;
  }
  return false;
}
