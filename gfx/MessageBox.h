#pragma once
// Start-up failures are told to the player in a message box captioned "Error".
// The platform installs a real box; tests install a sink they can read.
#include <string>

using TMessageSink = void (*)(const std::string& caption, const std::string& text);

void SetMessageSink(TMessageSink sink);  // nullptr restores the default (stderr)
void ShowMessageBox(const std::string& caption, const std::string& text);
