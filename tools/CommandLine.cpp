#include "tools/CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

namespace {
constexpr std::size_t UsageWidth = 100;

bool IsHelp(const char* arg) { return !std::strcmp(arg, "--help") || !std::strcmp(arg, "-h"); }
bool LooksLikeOption(const char* text) { return text[0] == '-' && text[1] == '-'; }

// Digits only, at least one, into v; false on anything else or past max.
bool ReadDigits(const char* text, std::uint64_t max, std::uint64_t& v, bool& tooBig) {
  v = 0;
  tooBig = false;
  if (!*text) return false;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') return false;
    const unsigned digit = unsigned(*c - '0');
    // Keep reading after an overflow: "12x" with too many digits is still not a number.
    if (tooBig || v > (max - digit) / 10)
      tooBig = true;
    else
      v = v * 10 + digit;
  }
  return true;
}

std::string Quoted(const char* value) { return std::string("'") + value + "'"; }
}  // namespace

TCommandLine::TReader TCommandLine::Number(int lo, int hi, int& target) {
  return [lo, hi, &target](const char* value, std::string& why) {
    const bool negative = value[0] == '-';
    std::uint64_t magnitude = 0;
    bool tooBig = false;
    // A magnitude past any int is out of range whatever the range is.
    if (!ReadDigits(value + (negative ? 1 : 0), std::uint64_t(std::numeric_limits<int>::max()) + 1, magnitude,
                    tooBig)) {
      why = Quoted(value) + " is not a whole number";
      return false;
    }
    const long long v = negative ? -(long long)magnitude : (long long)magnitude;
    if (tooBig || v < lo || v > hi) {
      why = Quoted(value) + " is out of range " + std::to_string(lo) + ".." + std::to_string(hi);
      return false;
    }
    target = int(v);
    return true;
  };
}

TCommandLine::TReader TCommandLine::Number64(std::uint64_t& target) {
  return [&target](const char* value, std::string& why) {
    std::uint64_t v = 0;
    bool tooBig = false;
    if (!ReadDigits(value, std::numeric_limits<std::uint64_t>::max(), v, tooBig)) {
      why = Quoted(value) + " is not a whole number of 0 or more";
      return false;
    }
    if (tooBig) {
      why = Quoted(value) + " is past the largest, 18446744073709551615";
      return false;
    }
    target = v;
    return true;
  };
}

TCommandLine::TReader TCommandLine::FileName(std::string& target) {
  return [&target](const char* value, std::string& why) {
    if (!*value) {
      why = "an empty file name";
      return false;
    }
    if (value[0] == '-') {
      why = Quoted(value) + " looks like an option, not a file name (write ./" + value + " for a file)";
      return false;
    }
    target = value;
    return true;
  };
}

TCommandLine::TCommandLine(std::string program, std::string summary)
    : Program(std::move(program)), Summary(std::move(summary)) {}

TCommandLine::TOption& TCommandLine::Declare(TOption option) {
  Options.push_back(std::move(option));
  return Options.back();
}

TCommandLine::TOption& TCommandLine::Flag(const char* name, bool& target, const char* help) {
  TOption o;
  o.Name = name, o.Help = help, o.Flag = &target;
  return Declare(std::move(o));
}

TCommandLine::TOption& TCommandLine::Integer(const char* name, const char* meta, int lo, int hi, int& target,
                                             const char* help) {
  TOption& o = Value(name, meta, Number(lo, hi, target), help);
  o.Help += " (" + std::to_string(lo) + ".." + std::to_string(hi) + ")";
  return o;
}

TCommandLine::TOption& TCommandLine::Unsigned64(const char* name, const char* meta, std::uint64_t& target,
                                                const char* help) {
  return Value(name, meta, Number64(target), help);
}

TCommandLine::TOption& TCommandLine::Path(const char* name, const char* meta, std::string& target, const char* help) {
  return Value(name, meta, FileName(target), help);
}

TCommandLine::TOption& TCommandLine::Value(const char* name, const char* meta, TReader read, const char* help) {
  TOption o;
  o.Name = name, o.Meta = meta, o.Help = help, o.Read = std::move(read);
  return Declare(std::move(o));
}

TCommandLine::TOption& TCommandLine::Argument(const char* meta, TReader read, const char* help) {
  TOption o;
  o.Meta = meta, o.Help = help, o.Read = std::move(read), o.Needed = true;
  return Declare(std::move(o));
}

TCommandLine::TOption& TCommandLine::Arguments(const char* meta, std::vector<std::string>& target, const char* help) {
  TOption o;
  o.Meta = meta, o.Help = help, o.Many = true;
  o.Read = [&target](const char* value, std::string& why) {
    std::string name;
    if (!FileName(name)(value, why)) return false;
    target.push_back(name);
    return true;
  };
  return Declare(std::move(o));
}

TCommandLine::TOption* TCommandLine::Find(const std::string& name) {
  for (TOption& o : Options)
    if (o.Name == name) return &o;
  return nullptr;
}

bool TCommandLine::Given(const char* name) const {
  for (const TOption& o : Options)
    if (o.Name == name) return o.Seen;
  return false;
}

bool TCommandLine::ReadValue(TOption& option, const char* value, std::string& why) {
  std::string reason;
  if (!option.Read(value, reason)) {
    why = (option.Name.empty() ? option.Meta : option.Name) + ": " + reason;
    return false;
  }
  option.Seen = true;
  return true;
}

TCommandLine::TOutcome TCommandLine::Read(int argc, const char* const* argv, std::string& why) {
  for (int i = 1; i < argc; ++i)
    if (IsHelp(argv[i])) return TOutcome::Help;
  for (TOption& o : Options) o.Seen = false;

  std::size_t nextArgument = 0;  // index into Options of the next plain argument to fill
  auto nextPlain = [&]() -> TOption* {
    for (; nextArgument < Options.size(); ++nextArgument) {
      TOption& o = Options[nextArgument];
      if (o.Name.empty() && (o.Many || !o.Seen)) return &o;
    }
    return nullptr;
  };
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-' || !arg[1]) {
      TOption* plain = nextPlain();
      if (!plain) {
        why = "unexpected argument " + Quoted(arg);
        return TOutcome::Refused;
      }
      if (!ReadValue(*plain, arg, why)) return TOutcome::Refused;
      if (!plain->Many) ++nextArgument;
      continue;
    }
    TOption* option = Find(arg);
    if (!option) {
      why = "unknown option " + std::string(arg);
      return TOutcome::Refused;
    }
    if (option->Flag) {
      *option->Flag = true;
      option->Seen = true;
      continue;
    }
    if (i + 1 >= argc) {
      why = option->Name + " needs a value (" + option->Meta + ")";
      return TOutcome::Refused;
    }
    const char* value = argv[++i];
    if (LooksLikeOption(value)) {
      why = option->Name + " needs a value (" + option->Meta + "), not the option " + value;
      return TOutcome::Refused;
    }
    if (!ReadValue(*option, value, why)) return TOutcome::Refused;
  }
  for (const TOption& o : Options)
    if (o.Needed && !o.Seen) {
      why = o.Name.empty() ? o.Meta + " is needed" : o.Name + " " + o.Meta + " is needed";
      return TOutcome::Refused;
    }
  return TOutcome::Run;
}

bool TCommandLine::Parse(int argc, const char* const* argv, int& exitCode) {
  std::string why;
  switch (Read(argc, argv, why)) {
    case TOutcome::Run: return true;
    case TOutcome::Help:
      std::fputs(HelpText().c_str(), stdout);
      exitCode = 0;
      return false;
    case TOutcome::Refused: break;
  }
  exitCode = Refuse(why);
  return false;
}

int TCommandLine::Refuse(const std::string& why) const {
  std::fprintf(stderr, "%s: %s\n%s(%s --help says more)\n", Program.c_str(), why.c_str(), UsageLine().c_str(),
               Program.c_str());
  return 2;
}

std::string TCommandLine::UsageLine() const {
  const std::string start = "usage: " + Program;
  const std::string indent(start.size() + 1, ' ');
  std::string text = start, line = start;
  for (const TOption& o : Options) {
    std::string word = o.Name.empty() ? o.Meta : o.Name + (o.Meta.empty() ? "" : " " + o.Meta);
    if (o.Many) word += "...";
    if (!o.Needed) word = "[" + word + "]";
    if (line.size() + 1 + word.size() > UsageWidth && line.size() > indent.size()) {
      text += "\n" + indent.substr(1);
      line = indent.substr(1);
    }
    text += " " + word;
    line += " " + word;
  }
  return text + "\n";
}

std::string TCommandLine::HelpText() const {
  std::string text = UsageLine() + Summary + "\n\n";
  std::size_t width = 6;  // "--help"
  auto left = [](const TOption& o) { return o.Name.empty() ? o.Meta : o.Name + (o.Meta.empty() ? "" : " " + o.Meta); };
  for (const TOption& o : Options) width = std::max(width, left(o).size());
  auto row = [&](const std::string& l, const std::string& help) {
    text += "  " + l + std::string(width - l.size() + 2, ' ') + help + "\n";
  };
  for (const TOption& o : Options) row(left(o), o.Help);
  row("--help", "this text");
  return text;
}
