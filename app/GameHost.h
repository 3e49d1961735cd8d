#pragma once
// TGameHost: the one door between the game object and whatever runs it (the
// desktop window, the web page, the snapshot tool, the headless runner, the
// benchmarks and the tests). A host hands it input and joystick readings,
// runs it one tick at a time and tells it where its picture sits; all else it
// may only read. The game object's own fields are never written from outside.
#include <cstdint>
#include <memory>
#include <string>

#include "app/Joystick.h"
#include "app/Replay.h"
#include "board/BoardView.h"

class TQuadrovoltMain;
class TFrameController;
class TSoundDevice;

// Where the 4:3 picture sits in the drawable: its size in pixels, and its
// lower left corner (GL's viewport origin, rows counted from the bottom).
struct TPicturePlace {
  int Width = 1024;
  int Height = 768;
  int Left = 0;
  int Bottom = 0;
};

// What a host decides once, when the game is made.
struct THostOptions {
  std::string SavePath = "QUADROVOLT.DAT";
  std::uint8_t ControlMode = 1;  // InputModes::Mouse
  bool SoundOn = true;
  bool KeepReplays = true;       // write the replay files at the end of each game
  bool ReportFinalLine = false;  // print each recorded game's final line on standard output
  bool AllLevelsOpen = false;    // tools: every start level may be chosen
  bool Grid = true;              // benchmarks switch the grid off to measure its share
  TReplayAssists Assists;        // developer tools only: recorded with the game
};

class TGameHost {
 public:
  TGameHost(TSoundDevice& sound, const THostOptions& options);
  ~TGameHost();
  TGameHost(const TGameHost&) = delete;
  TGameHost& operator=(const TGameHost&) = delete;

  // --- Input, between ticks --------------------------------------------------
  // A key (Windows-style virtual-key code, 0..255 tracked, others only flip
  // pause) or a mouse button; a Cursor event carries arena units.
  void Input(const TInputEvent& e);
  void KeyDown(int vk);
  void KeyUp(int vk);
  void Button(bool left, bool down);
  // The mouse in picture pixels, (0, 0) at the picture's top left.
  void PointerAt(int x, int y);
  // The pad as it reads now (Ok false: no pad); the game takes it when it
  // next reads its joystick.
  void SetJoystick(const TJoyReading& reading);

  // --- Running -------------------------------------------------------------
  // One 10 ms step; it makes no drawing call. False when the game did not
  // move on (paused, or the program is ending).
  bool Step();
  // Draws the last step's picture and changes nothing.
  void Render() const;
  // A step and then its picture (a paused game draws nothing new).
  void Tick();
  // Between ticks: Escape held once the title asked to quit ends the program.
  void Idle();

  // --- Set-up --------------------------------------------------------------
  void SetPicture(const TPicturePlace& place);
  void SetControlMode(std::uint8_t mode);
  void SetSoundOn(bool on);
  // On the title: the strip shows this start level (tools and tests).
  void ChooseStartLevel(int level);
  // A score board's ticket: the next game started from the title draws its
  // level script from this seed and begins play on it (0: none), so its
  // replay's ScriptState and PlaySeed both equal the seed.
  void PlayNextGameOnSeed(std::uint64_t seed);
  // The score board the title draws (Shown false: none), as the host last
  // read it from the board's service.
  void ShowBoard(const TBoardView& view);
  // Replays: watch one from the title; end the game in progress now (its
  // replay is then complete); write the recording made so far.
  void Watch(TReplay replay);
  void FinishGame();
  // The session ends under the game (the display lost): the game in progress
  // ends as its end would, and a better record is saved now.
  void EndSession();
  bool WriteRecording(const std::string& path) const;

  // --- What a host may read ------------------------------------------------
  bool Paused() const;
  bool WantsQuit() const;
  bool Watching() const;
  bool Recording() const;
  std::uint8_t State() const;
  int Level() const;
  int Score() const;
  int Damage() const;
  int HiScore() const;
  int MaxLevel() const;
  const TReplayResult& LastResult() const;
  // The tick where the last replay watched parted from its recording (0: never).
  std::uint32_t ReplayDivergedAt() const;
  // Everything else, read only: the entity check, benchmarks, tests.
  const TQuadrovoltMain& Game() const { return *GameObject; }
  // Tests only: the game object itself, to set up the situation a rule is
  // checked in (an enemy placed, a level pinned). No host calls it.
  TQuadrovoltMain& Arrange() { return *GameObject; }

 private:
  class TPushedJoystick : public TJoystick {
   public:
    bool Read(TJoyInfo& info) override {
      if (Reading.Ok) info = Reading.Info;
      return Reading.Ok;
    }
    TJoyReading Reading;
  };

  TPushedJoystick Joystick;
  std::unique_ptr<TQuadrovoltMain> GameObject;
  std::unique_ptr<TFrameController> Frame;
  bool Looping = true;
};
