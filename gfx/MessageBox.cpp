#include "gfx/MessageBox.h"

#include <cstdio>

namespace {
void PrintToStderr(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
TMessageSink Sink = PrintToStderr;
}  // namespace

void SetMessageSink(TMessageSink sink) { Sink = sink ? sink : PrintToStderr; }

void ShowMessageBox(const std::string& caption, const std::string& text) { Sink(caption, text); }
