#include "tools/pilot/AutoPilot.h"

#include "app/GameHost.h"
#include "pilot/PilotCurve.h"

void TAutoPilot::ShowLevel() { Host.ChooseStartLevel(Options.Level); }

void TAutoPilot::StartGame() { StartPilotGame(Host, Options.Level, Options.Bombs); }

void TAutoPilot::BeforeTick(int f) { SwingPilotTarget(Host, f); }
