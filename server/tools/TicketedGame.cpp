#include "server/tools/TicketedGame.h"

#include "app/GameHost.h"
#include "tools/harness/WindowlessGame.h"
#include "tools/pilot/AutoPilot.h"

bool RecordTicketedGame(const TTicketedGame& game, const std::string& path, TReplayResult& result) {
  TAutoPilotOptions flying{game.Level, 1, false, true};
  TWindowlessSetup setup;
  setup.Host.AllLevelsOpen = true;
  setup.Host.KeepReplays = false;
  if (game.Assists) {
    flying = TAutoPilotOptions{game.Level, 3, true, false};
    setup.Host.Assists = flying.Assists();
  }
  TWindowlessGame windowless(setup);
  TGameHost& host = windowless.Host();
  host.PlayNextGameOnSeed(game.Seed);
  TAutoPilot pilot(host, flying);
  pilot.StartGame();
  // The title's frame that starts the game comes first.
  for (int f = 0; f <= game.Frames; ++f) {
    pilot.BeforeTick(f);
    host.Step();                            // nobody looks: no picture
    if (f > 0 && !host.Recording()) break;  // game over
  }
  host.FinishGame();
  result = host.LastResult();
  return host.WriteRecording(path);
}
