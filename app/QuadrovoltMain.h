#pragma once
// TQuadrovoltMain: the one game object. It owns every entity, list and effect,
// runs the state machine (title, playing, game over, quit) one step per tick,
// and draws what the last step left in a fixed order.
#include <cstdint>
#include <memory>
#include <string>

#include "app/GameConstants.h"
#include "app/Joystick.h"
#include "app/Progress.h"
#include "app/ReplaySession.h"
#include "app/Title.h"
#include "board/BoardView.h"
#include "gfx/PdxLib3DTypes.h"

class TSoundDevice;
class TBlob;
class TWorld;

class TQuadrovoltMain {
 public:
  static constexpr int GameOverFrames = 120;

  TQuadrovoltMain(TSoundDevice& soundDevice, TJoystick& joystick, std::string savePath = "QUADROVOLT.DAT");
  ~TQuadrovoltMain();

  // One 10 ms step: the state machine, the controls, every entity and effect.
  // It makes no drawing call; Render shows what it left.
  void Step();
  // The picture of the last step (camera, HUD, the title or the arena); it
  // changes nothing, and a host may call it as often as it likes.
  void Render() const;
  // One key, button or cursor event of the tick's input, in its order (the
  // host hands them over before the tick begins).
  void TakeInput(const TInputEvent& e);
  // The tick begins, after its input: the recording counts it (or the replay
  // being watched hands over the input it recorded for it).
  void TickBegins();
  // The arena: its entity lists, the ship, the grid, the particles, the
  // level manager and what they share.
  const TWorld& World() const { return *Arena; }
  // The title screen: its strip of start levels, its text, its sparkles
  // and the score board it shows.
  const TTitle& Title() const { return TitleScreen; }
  // The recording, the replay watched, how the last game came out.
  const TReplaySession& Replays() const { return Session; }

  // Every game is recorded from the title to its end and written beside the
  // save file as ReplayLastName, and as ReplayBestName too when it set a new
  // best score.
  static constexpr const char* ReplayLastName = "QUADROVOLT.RPL";
  static constexpr const char* ReplayBestName = "QUADROVOLT-BEST.RPL";

  // What the last step left to show besides the entities' own pictures,
  // each taken at its moment in the step: the HUD before the step, the ship
  // before the entities move, the glow and the cursor at the end.
  struct TFramePicture {
    std::uint8_t State = GameState::Quit;  // the state the step ran in (Quit: a bare frame)
    bool Hud = false;
    // The HUD as it stood when the step began.
    int Score = 0, HiScore = 0, GraviBombs = 0, Damage = 0;
    bool Watching = false;
    // The title's strip of start levels.
    int StripOffset = 0, StripMaxLevel = 1;
    // The arena.
    bool Grid = false;
    bool TargetCross = false;  // mouse mode: where the ship is heading
    TVector3 Target;
    bool Ship = false;  // false on the blinking ship's hidden frames
    TVector3 ShipAt;
    float ShipHeading = 0;
    int ShipAim = 0;
    TVector3 GlowAt;  // the ship's glow, where the step left the ship
    bool Cursor = false;
    int CursorX = 0, CursorY = 0;
  };
  const TFramePicture& Picture() const { return Shown; }

 private:
  // The host is the one door: it sets the game up, hands over its input and
  // reads what hosts may read. Tests arrange their situations through TArrange.
  friend class TGameHost;
  friend class TArrange;

  TWorld& World() { return *Arena; }
  void SetState(std::uint8_t newState);
  void OnLevelComplete(TBlob* sender);
  void FireBullet(int spread);
  void SaveGame();
  void LoadGame();
  // Saves when the best score or the highest level moved on since the file
  // was last read or written.
  void SaveIfChanged();
  // Reads the save file again and takes its record where it is better (a
  // game in the same folder kept it); false when the file holds none.
  bool TakeBetterSavedRecord();
  void SetSoundOn(bool on);

  // Controls (keyboard and joystick are read once per frame).
  void ReadKeyboard();
  void ReadJoystick();

  void ShowBoard(const TBoardView& view) { TitleScreen.ShowBoard(view); }
  void ShowStartLevel(int level) { TitleScreen.ShowStartLevel(level); }
  int Level = 1;
  bool IntroPlaying = false;
  // The best score and the highest level, and their save file.
  TProgress Progress;
  int StateTimer = 0;
  TJoyInfo JoyInfo;
  bool JoyFire = false;
  bool KeyFire = false;
  bool MouseLeft = false;
  bool MouseRight = false;
  bool Keys[256] = {};
  std::uint8_t State = GameState::Title;
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
  // Where the picture starts in the drawable when bars frame it (GL's
  // viewport origin, rows counted from the bottom).
  int ViewportX = 0;
  int ViewportY = 0;
  std::uint8_t InputMode = InputModes::Joystick;
  bool Paused = false;
  int CursorX = 0;
  int CursorY = 0;

  // Benchmarks switch the grid off to measure its share of a frame.
  bool GridEnabled = true;

  // One input message as the game takes it in (and as a replay gives it back).
  void ApplyInput(const TInputEvent& e);
  // From the title, plays a replay through the play frame until it ends or a
  // key or click stops it; nothing is saved meanwhile.
  void StartWatching(TReplay replay);
  // R on the title: the best game, else the last one. False (with the
  // reason) when neither can be read; the title then stays.
  bool WatchSavedReplay(std::string& why);
  bool Watching() const { return Session.Watching(); }
  // Ends the game being recorded or watched now, as its end would.
  void FinishGame();
  // Developer tools only: held before every frame of play, and recorded.
  TReplayAssists Assists;
  bool KeepReplays = true;       // write the replay files at the end of a game
  bool ReportFinalLine = false;  // print each recorded game's final line on standard output
  // A ticket's seed for the next game started (0: none).
  void PlayNextGameOnSeed(std::uint64_t seed) { Session.PlayNextOnSeed(seed); }

  void PlayFrame();
  void MoveByMouse();
  bool FireFlag() const;
  void UpdateEntities();
  void ShipContact();
  void TakeCursorPicture();
  void TitleFrame();
  bool ReadFireInput();
  void StartGame();
  // The pictures, in the order a frame draws them.
  void DrawHud() const;
  void DrawTitle() const;
  void DrawArena() const;
  void DrawTargetCross() const;
  void DrawArenaBorder() const;
  void DrawCursorAndGlow() const;
  void ResetPlayerForTitle();
  // The input as a replay's start (or the live game kept meanwhile) held it.
  void HoldInput(const TReplayInputState& s);
  void BeginPlay(const TReplayHeader& header);
  TReplayHeader PlayHeader() const;
  void GameEnded();
  void FoldChecksum();
  bool WatchSwallows(const TInputEvent& e);
  void RebuildScript(std::uint64_t state);
  void WriteReplays();

  // Held through a pointer: the pictures, drawn by const methods, draw
  // through the printer and the models, which keep their own scratch state.
  std::unique_ptr<TWorld> Arena;
  TTitle TitleScreen;
  TFramePicture Shown;
  TReplaySession Session;
};

// The title screen's typewriter text: lines separated by carriage returns,
// closed by "End#1" and the character 1 that restarts it.
const std::string& TitleScrollerText();
