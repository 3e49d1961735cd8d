#include "tools/snapshot/SnapshotOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/QuadrovoltMain.h"

const char* const SnapshotUsage =
    "--level L --frames N --seed S --out FILE.png [--width W --height H] "
    "[--mode mouse|keyboard|joystick] [--cursor X,Y] [--title]";

namespace {
// A whole decimal number within [lo, hi], nothing before or after it.
bool ReadInt(const char* text, long lo, long hi, long& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  value = v;
  return true;
}

bool ReadCursor(const char* text, int& x, int& y) {
  const char* comma = text ? std::strchr(text, ',') : nullptr;
  if (!comma) return false;
  const std::string first(text, comma);
  long vx = 0, vy = 0;
  // Anywhere the mouse can reach: the window spans -600..600 units.
  if (!ReadInt(first.c_str(), -600, 600, vx) || !ReadInt(comma + 1, -600, 600, vy)) return false;
  x = int(vx), y = int(vy);
  return true;
}
}  // namespace

bool ParseSnapshotOptions(int argc, const char* const* argv, TSnapshotOptions& options, std::string& error) {
  bool haveOut = false;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--title") {
      options.Title = true;
      continue;
    }
    const char* value = i + 1 < argc ? argv[++i] : nullptr;
    if (!value) {
      error = name + " needs a value";
      return false;
    }
    long v = 0;
    bool ok = true;
    if (name == "--level") {
      ok = ReadInt(value, 1, 40, v);
      options.Level = int(v);
    } else if (name == "--frames") {
      ok = ReadInt(value, 1, 1000000, v);
      options.Frames = int(v);
    } else if (name == "--seed") {
      ok = ReadInt(value, 0, 0x7fffffff, v);
      options.Seed = (unsigned long)v;
    } else if (name == "--width") {
      ok = ReadInt(value, 16, 8192, v);
      options.Width = int(v);
    } else if (name == "--height") {
      ok = ReadInt(value, 16, 8192, v);
      options.Height = int(v);
    } else if (name == "--mode") {
      if (!std::strcmp(value, "mouse"))
        options.Mode = InputModes::Mouse;
      else if (!std::strcmp(value, "keyboard"))
        options.Mode = InputModes::Keyboard;
      else if (!std::strcmp(value, "joystick"))
        options.Mode = InputModes::Joystick;
      else
        ok = false;
    } else if (name == "--cursor") {
      ok = ReadCursor(value, options.CursorX, options.CursorY);
      options.HoldCursor = ok;
    } else if (name == "--out") {
      options.Out = value;
      ok = haveOut = !options.Out.empty();
    } else {
      error = "unknown option " + name;
      return false;
    }
    if (!ok) {
      error = "bad value for " + name + ": '" + value + "'";
      return false;
    }
  }
  if (!haveOut) {
    error = "--out FILE.png is needed";
    return false;
  }
  return true;
}
