// The tools' command line: one table of lines a tool must read as meant, and
// of lines it must refuse with their reason, over one tool-like set of options.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/CommandLine.h"

namespace {
struct TRead {
  bool Fast = false;
  int Level = 1, Offset = 0, Count = 3;
  std::uint64_t Seed = 1;
  std::string Out, Mode = "a", Name;
};

struct TLine {
  std::vector<const char*> Args;
  TCommandLine::TOutcome Outcome;
  std::string Why;         // a part of the reason given, for a refused line
  TRead Want;              // what was read, for a line that runs
  std::string Given = "";  // the options it says were given (a default is not a given value)
};

TCommandLine::TOutcome Read(const std::vector<const char*>& args, TRead& r, std::string& why, std::string& given) {
  TCommandLine line("tool", "A tool.");
  line.Flag("--fast", r.Fast, "go fast");
  line.Integer("--level", "L", 1, 40, r.Level, "a level");
  line.Integer("--offset", "X", -600, 600, r.Offset, "a signed offset");
  line.Unsigned64("--seed", "S", r.Seed, "a seed");
  line.Path("--out", "FILE", r.Out, "a file");
  line.Value(
      "--mode", "a|b",
      [&r](const char* v, std::string& reason) {
        if (std::string(v) != "a" && std::string(v) != "b") {
          reason = "neither a nor b";
          return false;
        }
        r.Mode = v;
        return true;
      },
      "a mode");
  line.Argument("NAME", TCommandLine::FileName(r.Name), "a name");
  line.Argument("COUNT", TCommandLine::Number(1, 9, r.Count), "a count").Optional();
  std::vector<const char*> argv{"tool"};
  argv.insert(argv.end(), args.begin(), args.end());
  const TCommandLine::TOutcome outcome = line.Read(int(argv.size()), argv.data(), why);
  for (const char* name : {"--fast", "--level", "--seed", "--out"})
    if (line.Given(name)) given += std::string(name) + " ";
  return outcome;
}

TRead With(void (*set)(TRead&)) {
  TRead r;
  r.Name = "x";
  set(r);
  return r;
}
}  // namespace

TEST(CommandLine, ReadsGoodLinesAndRefusesBadOnesWithTheirReason) {
  using O = TCommandLine::TOutcome;
  const std::vector<TLine> lines = {
      {{"x"}, O::Run, "", With([](TRead&) {}), ""},
      {{"--fast", "--level", "40", "--offset", "-600", "--seed", "18446744073709551615", "--out", "o.rpl", "--mode",
        "b", "x", "9"},
       O::Run,
       "",
       With([](TRead& r) {
         r.Fast = true, r.Level = 40, r.Offset = -600, r.Seed = UINT64_MAX, r.Out = "o.rpl", r.Mode = "b", r.Count = 9;
       }),
       "--fast --level --seed --out "},
      {{"x", "--level", "1", "--seed", "0"},
       O::Run,
       "",
       With([](TRead& r) { r.Level = 1, r.Seed = 0; }),
       "--level --seed "},
      {{"--level", "3", "--level", "5", "x"},
       O::Run,
       "",
       With([](TRead& r) { r.Level = 5; }),
       "--level "},  // the last one counts
      {{"--offset", "-0", "x"}, O::Run, "", With([](TRead&) {})},
      {{"--level", "007", "x"}, O::Run, "", With([](TRead& r) { r.Level = 7; }), "--level "},
      {{"--out", "./-dash", "x"}, O::Run, "", With([](TRead& r) { r.Out = "./-dash"; }), "--out "},
      {{"--help"}, O::Help, "", {}},
      {{"-h"}, O::Help, "", {}},
      {{"--level", "99", "--bogus", "--help"}, O::Help, "", {}},  // help wins over a bad line

      {{}, O::Refused, "NAME is needed", {}},
      {{"x", "--level"}, O::Refused, "--level needs a value (L)", {}},
      {{"--out"}, O::Refused, "--out needs a value (FILE)", {}},
      {{"--level", "abc", "x"}, O::Refused, "--level: 'abc' is not a whole number", {}},
      {{"--level", "12x", "x"}, O::Refused, "'12x' is not a whole number", {}},
      {{"--level", "", "x"}, O::Refused, "'' is not a whole number", {}},
      {{"--level", "+5", "x"}, O::Refused, "'+5' is not a whole number", {}},
      {{"--level", " 5", "x"}, O::Refused, "' 5' is not a whole number", {}},
      {{"--level", "1.5", "x"}, O::Refused, "'1.5' is not a whole number", {}},
      {{"--level", "-", "x"}, O::Refused, "'-' is not a whole number", {}},
      {{"--level", "-40", "x"}, O::Refused, "'-40' is out of range 1..40", {}},
      {{"--level", "0", "x"}, O::Refused, "'0' is out of range 1..40", {}},
      {{"--level", "41", "x"}, O::Refused, "'41' is out of range 1..40", {}},
      {{"--level", "1000", "x"}, O::Refused, "'1000' is out of range 1..40", {}},
      {{"--level", "4294967297", "x"}, O::Refused, "out of range", {}},  // would wrap to 1 in 32 bits
      {{"--level", "99999999999999", "x"}, O::Refused, "out of range", {}},
      {{"--offset", "-99999999999999999999999", "x"}, O::Refused, "out of range -600..600", {}},
      {{"--offset", "601", "x"}, O::Refused, "out of range -600..600", {}},
      {{"--seed", "-1", "x"}, O::Refused, "--seed: '-1' is not a whole number", {}},
      {{"--seed", "18446744073709551616", "x"}, O::Refused, "past the largest", {}},
      {{"--seed", "1e3", "x"}, O::Refused, "not a whole number", {}},
      {{"--out", "--level", "3", "x"}, O::Refused, "--out needs a value (FILE), not the option --level", {}},
      {{"--level", "--fast", "x"}, O::Refused, "--level needs a value (L), not the option --fast", {}},
      {{"--out", "-o", "x"}, O::Refused, "'-o' looks like an option, not a file name", {}},
      {{"--out", "", "x"}, O::Refused, "--out: an empty file name", {}},
      {{"-"}, O::Refused, "NAME: '-' looks like an option", {}},
      {{"--bogus", "x"}, O::Refused, "unknown option --bogus", {}},
      {{"x", "-q"}, O::Refused, "unknown option -q", {}},
      {{"--fast=1", "x"}, O::Refused, "unknown option --fast=1", {}},
      {{"--", "x"}, O::Refused, "unknown option --", {}},
      {{"--mode", "c", "x"}, O::Refused, "--mode: neither a nor b", {}},
      {{"x", "0"}, O::Refused, "COUNT: '0' is out of range 1..9", {}},
      {{"x", "3", "extra"}, O::Refused, "unexpected argument 'extra'", {}},
  };
  for (const TLine& l : lines) {
    std::string text;
    for (const char* a : l.Args) text += std::string("[") + a + "] ";
    SCOPED_TRACE(text);
    TRead r;
    std::string why, given;
    ASSERT_EQ(Read(l.Args, r, why, given), l.Outcome) << why;
    if (l.Outcome == O::Refused) {
      EXPECT_NE(why.find(l.Why), std::string::npos) << why;
    }
    if (l.Outcome != O::Run) continue;
    const TRead& w = l.Want;
    EXPECT_EQ(r.Fast, w.Fast);
    EXPECT_EQ(r.Level, w.Level);
    EXPECT_EQ(r.Offset, w.Offset);
    EXPECT_EQ(r.Seed, w.Seed);
    EXPECT_EQ(r.Out, w.Out);
    EXPECT_EQ(r.Mode, w.Mode);
    EXPECT_EQ(r.Name, w.Name);
    EXPECT_EQ(r.Count, w.Count);
    EXPECT_EQ(given, l.Given);
  }
}
