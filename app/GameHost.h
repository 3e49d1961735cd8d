#pragma once
// TGameHost: the one door between the game object and whatever runs it (the
// desktop window, the web page, the snapshot tool, the headless runner, the
// benchmarks and the tests). A host hands it each step's input as one value
// (TTickInput), runs it one step at a time, draws it when it likes and tells
// it where its picture sits; all else it may only read. The game object's own
// fields are never written from outside.
#include <cstdint>
#include <memory>
#include <string>

#include "app/GameConstants.h"
#include "app/Joystick.h"
#include "app/Replay.h"
#include "app/TickInput.h"
#include "board/BoardView.h"

class TQuadrovoltMain;
class TWorld;
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

  // --- Running -------------------------------------------------------------
  // One 10 ms step from the player's input for it: the tick's events in their
  // order, then what is held, then the step itself; it makes no drawing call.
  // False when the game did not move on (paused, or the program is ending).
  bool Step(const TTickInput& input);
  // The same from the host's own next input (NextInput), whose events then go.
  bool Step();
  // Draws the last step's picture and changes nothing.
  void Render() const;
  // A step and then its picture (a paused game draws nothing new).
  void Tick();
  // Between steps: Escape held once the title asked to quit ends the program.
  void Idle();

  // --- The host's own next input -------------------------------------------
  // For hosts (and the automatic pilots) that build the next step's input in
  // the host rather than keeping their own: Step() hands it.
  TTickInput& NextInput() { return Next; }
  // The same, a call at a time: a key (Windows-style virtual-key code, 0..255
  // tracked, others only flip pause), a mouse button, a cursor event in arena
  // units, the mouse in picture pixels ((0, 0) at the picture's top left) and
  // the pad as it reads now (Ok false: no pad).
  void Input(const TInputEvent& e);
  void KeyDown(int vk) { Next.Press(vk); }
  void KeyUp(int vk) { Next.Release(vk); }
  void Button(bool left, bool down) { Next.Button(left, down); }
  void PointerAt(int x, int y) { Next.Pointer(x, y, Place.Width, Place.Height); }
  void SetJoystick(const TJoyReading& reading) { Next.Joystick = reading; }

  // --- Set-up --------------------------------------------------------------
  void SetPicture(const TPicturePlace& place);
  const TPicturePlace& Picture() const { return Place; }
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
  // The recording as its file's bytes, without a file.
  std::vector<std::uint8_t> RecordingBytes() const;

  // --- What a host may read ------------------------------------------------
  bool Paused() const;
  bool WantsQuit() const;
  bool Watching() const;
  bool Recording() const;
  std::uint8_t State() const;
  std::uint8_t ControlMode() const;
  int Level() const;
  int Score() const;
  int Damage() const;
  int HiScore() const;
  int MaxLevel() const;
  const TReplayResult& LastResult() const;
  // The tick where the last replay watched parted from its recording (0: never).
  std::uint32_t ReplayDivergedAt() const;
  // The ship as the page's status and the tools report it.
  struct TShipReport {
    float X = 0, Y = 0;
    int Aim = 0;
    bool Firing = false;  // the pad's (or the touch sticks') fire
    int Bombs = 0;
  };
  TShipReport Ship() const;
  // The arena's crowd: enemies in the list, those active, bullets flying,
  // particles alive; and the ticks the game being recorded holds so far.
  int EnemySlots() const;
  int ActiveEnemies() const;
  int ActiveBullets() const;
  int ActiveParticles() const;
  std::uint32_t RecordedTicks() const;
  // The arena, read only: the entity check of the tools' long runs.
  const TWorld& World() const;

 private:
  friend class TArrange;  // tests: the situation a rule is checked in, set up in the game's terms

  // The pad the game reads: the reading of the input being stepped (outside
  // a step, the one the host's next input holds).
  class TTickJoystick : public TJoystick {
   public:
    bool Read(TJoyInfo& info) override {
      if (Reading->Ok) info = Reading->Info;
      return Reading->Ok;
    }
    const TJoyReading* Reading = nullptr;
  };
  // One event of the tick to the game, then the Escape rule: Escape in play
  // goes back to the title, and once the title asked to quit it ends the
  // program, from the first event (or step) after Escape went down.
  void Deliver(const TInputEvent& e);
  void EscapeRule();

  TTickJoystick Joystick;
  std::unique_ptr<TQuadrovoltMain> GameObject;
  TPicturePlace Place;
  TTickInput Next;
  // What the last step's input left held: the next input's held state is
  // compared with it.
  std::bitset<256> HeldKeys;
  bool HeldLeft = false, HeldRight = false;
  bool HeldCursorSet = false;
  int HeldCursorX = 0, HeldCursorY = 0;
  bool Looping = true;
};
