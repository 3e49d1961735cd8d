#pragma once
// The page's developer options, from its address's query ("?level=19&pilot=1").
// A player never needs them:
//   level=N   every start level open, the strip showing N (1..40)
//   pilot=1   the page plays by itself (fire held, the target swung round the
//             arena, no damage, the widest fire and bombs), for timing levels
//   fps=1     the steps run and frames drawn a second, on the console every 5 s
//   mode=keyboard|mouse|joystick|touch   the control mode to start in
//   save=0    the save file is not read or kept (a fresh score every visit)
//   board=URL the score board's address (the page's own origin when absent)
//   watch=PATH a board entry's replay to watch from the title
//             (/api/entries/ID/replay, as the board's page links it)
// Unknown names and bad values are ignored. Values may be percent-encoded.
#include <cstdint>
#include <string>
#include <string_view>

struct TPageOptions {
  int Level = 0;  // 0: as the save file says
  bool Pilot = false;
  bool ReportRate = false;
  int ControlMode = -1;  // -1: the page's own choice; 3 is touch
  bool KeepSave = true;
  std::string Board;  // empty: the page's own origin
  std::string Watch;  // empty: nothing to watch
};

TPageOptions ParsePageQuery(std::string_view query);
