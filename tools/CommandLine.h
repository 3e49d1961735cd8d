#pragma once
// The command line every tool reads: the tool declares its options (a flag, a
// whole number within a range, an unsigned 64-bit number, a file name, or a
// value with a reader of its own) and its plain arguments, and the line is
// either read in full or refused with one reason. Nothing is half read: a
// refused line leaves the tool to exit before it does anything.
//
//   TCommandLine line("quadrovolt_wavegen", "Synthesises the sound bank's waves into a folder.");
//   line.Flag("--timing", timing, "print how long each wave took");
//   line.Argument("OUTDIR", TCommandLine::FileName(dir), "the folder the .wav files go to");
//   if (int code; !line.Parse(argc, argv, code)) return code;  // 0 after --help, 2 when refused
//
// --help (or -h) prints the usage on standard output. A refusal prints the
// reason and the usage line on standard error. A value that starts with "--"
// is never taken for the option before it, and a file name never starts with
// "-" at all, so a forgotten value cannot turn the next option into a file.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TCommandLine {
 public:
  // Reads one value into its place: false, with the reason, when it will not do.
  using TReader = std::function<bool(const char* value, std::string& why)>;

  // The readers behind the declarations below, for plain arguments and for
  // tools that read a value of their own shape. Each leaves its target as it
  // was when it refuses.
  // A whole decimal number in lo..hi: an optional minus sign and digits, nothing else.
  static TReader Number(int lo, int hi, int& target);
  // Digits only, up to 2^64 - 1.
  static TReader Number64(std::uint64_t& target);
  // Any non-empty text that does not start with "-".
  static TReader FileName(std::string& target);

  class TOption {
   public:
    // The line is refused without this option (or this plain argument).
    TOption& Required() {
      Needed = true;
      return *this;
    }
    // A plain argument that may be left out.
    TOption& Optional() {
      Needed = false;
      return *this;
    }
    bool Given() const { return Seen; }

   private:
    friend class TCommandLine;
    std::string Name;  // "--frames"; empty for a plain argument
    std::string Meta;  // what the value is called in the usage: "N", "FILE"
    std::string Help;
    TReader Read;          // none for a flag
    bool* Flag = nullptr;  // a flag's target
    bool Many = false;     // a plain argument that takes every one left
    bool Needed = false;
    bool Seen = false;
  };

  TCommandLine(std::string program, std::string summary);

  TOption& Flag(const char* name, bool& target, const char* help);
  // The range is added to the help text.
  TOption& Integer(const char* name, const char* meta, int lo, int hi, int& target, const char* help);
  TOption& Unsigned64(const char* name, const char* meta, std::uint64_t& target, const char* help);
  TOption& Path(const char* name, const char* meta, std::string& target, const char* help);
  TOption& Value(const char* name, const char* meta, TReader read, const char* help);
  // Plain arguments, read in the order declared; needed unless made Optional.
  TOption& Argument(const char* meta, TReader read, const char* help);
  // Every plain argument left, each a file name; none is needed.
  TOption& Arguments(const char* meta, std::vector<std::string>& target, const char* help);

  enum class TOutcome { Run, Help, Refused };
  // Reads argv[1] on. Run when the whole line was read; Help when --help was
  // asked anywhere on it; Refused with the reason otherwise.
  TOutcome Read(int argc, const char* const* argv, std::string& why);
  // Read, then says what the outcome asks: the usage on standard output
  // after --help (exit code 0), the reason on standard error when refused
  // (exit code 2). True only when the tool is to run.
  bool Parse(int argc, const char* const* argv, int& exitCode);
  // A rule between options that the tool checks itself, refused the same
  // way as a bad line: the reason and the usage line on standard error.
  // Gives the exit code, 2.
  int Refuse(const std::string& why) const;

  bool Given(const char* name) const;
  // "usage: quadrovolt_wavegen [--timing] OUTDIR", wrapped to fit a terminal.
  std::string UsageLine() const;
  // The usage line, the summary and one line per option.
  std::string HelpText() const;

 private:
  TOption& Declare(TOption option);
  TOption* Find(const std::string& name);
  bool ReadValue(TOption& option, const char* value, std::string& why);

  std::string Program, Summary;
  std::deque<TOption> Options;  // a deque: the references handed out stay good
};
