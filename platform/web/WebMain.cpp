// The web page's host: a WebGL 2 canvas, the browser's keys, mouse, sound and
// storage, and the game object run through the host interface at the
// browser's animation frames.
#include <GLES3/gl3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/GameConstants.h"
#include "app/GameHost.h"
#include "app/PictureLayout.h"
#include "gfx/BatchingRenderer.h"
#include "gfx/Random.h"
#include "platform/Gles3BatchSink.h"
#include "platform/web/AnimationPace.h"
#include "platform/web/PageExtras.h"
#include "platform/web/PageOptions.h"
#include "platform/web/TouchSticks.h"
#include "platform/web/WebAudioSoundDevice.h"
#include "platform/web/WebKeys.h"
#include "platform/web/WebPilot.h"

namespace {

// The save file lives in the browser's IndexedDB, mounted here; the replays
// are written beside it.
constexpr const char* kSavePath = "/save/QUADROVOLT.DAT";

EM_JS(char*, page_query, (), {
  var q = window.location.search || "";
  var n = lengthBytesUTF8(q) + 1;
  var p = _malloc(n);
  stringToUTF8(q, p, n);
  return p;
});

// The canvas fills its place in the page; its drawing buffer is made to match
// the place in device pixels. Returns the CSS size and the buffer's size.
EM_JS(void, page_canvas_size, (int* cssWidth, int* cssHeight, int* width, int* height), {
  var canvas = Module.canvas;
  var box = canvas.getBoundingClientRect();
  var ratio = window.devicePixelRatio || 1;
  var w = Math.max(1, Math.round(box.width * ratio)), h = Math.max(1, Math.round(box.height * ratio));
  if (canvas.width != w) canvas.width = w;
  if (canvas.height != h) canvas.height = h;
  HEAP32[cssWidth >> 2] = Math.max(1, Math.round(box.width));
  HEAP32[cssHeight >> 2] = Math.max(1, Math.round(box.height));
  HEAP32[width >> 2] = w;
  HEAP32[height >> 2] = h;
});

// Reads the kept save folder into memory, then makes the game. A page that
// went away mid-write left its folder in local storage (see page_stash_save):
// that copy is newer, so it goes over the folder and is written back first.
EM_JS(void, page_mount_save, (int keep), {
  FS.mkdir('/save');
  if (!keep) {
    Module._quadrovolt_start();
    return;
  }
  FS.mount(IDBFS, {}, '/save');
  var stashed = function() {
    try {
      return JSON.parse(localStorage.getItem('quadrovolt.stash') || 'null');
    } catch (e) {
      return null;
    }
  };
  Module.quadrovoltStashGeneration = 0;
  Module.quadrovoltDropStash = function() {
    try {
      var names = stashed() || [];
      names.forEach(function(name) { localStorage.removeItem('quadrovolt.stash.' + name); });
      localStorage.removeItem('quadrovolt.stash');
    } catch (e) {
    }
  };
  FS.syncfs(
      true, function(err) {
        if (err) console.warn('Quadrovolt: the kept score could not be read (' + err + '); starting afresh');
        var names = stashed();
        if (!names) {
          Module._quadrovolt_start();
          return;
        }
        names.forEach(function(name) {
          var text = localStorage.getItem('quadrovolt.stash.' + name);
          if (text == null) return;
          var bin = atob(text), bytes = new Uint8Array(bin.length);
          for (var i = 0; i < bin.length; ++i) bytes[i] = bin.charCodeAt(i);
          FS.writeFile('/save/' + name, bytes);
        });
        FS.syncfs(
            false, function(err) {
              if (!err) Module.quadrovoltDropStash();
              Module._quadrovolt_start();
            });
      });
});

// Writes the save folder back to IndexedDB; quadrovolt_saved follows. A
// write that began after the last stash makes the stash needless.
EM_JS(void, page_sync_save, (), {
  var generation = Module.quadrovoltStashGeneration;
  FS.syncfs(
      false, function(err) {
        if (err) console.warn('Quadrovolt: the score could not be kept in this browser (' + err + ')');
        if (!err && generation == Module.quadrovoltStashGeneration && Module.quadrovoltDropStash)
          Module.quadrovoltDropStash();
        Module._quadrovolt_saved(err ? 0 : 1);
      });
});

// A page going away gets no time for IndexedDB's replies, but local storage
// is written at once: the save folder's files go there, the save file first
// (a replay too big for what is left is done without).
EM_JS(void, page_stash_save, (), {
  if (!window.localStorage) return;
  Module.quadrovoltStashGeneration = (Module.quadrovoltStashGeneration || 0) + 1;
  var names = FS.readdir('/save').filter(
      function(name) { return name != '.' && name != '..' && FS.isFile(FS.stat('/save/' + name).mode); });
  names.sort(function(a, b) { return (b.slice(-4) == '.DAT') - (a.slice(-4) == '.DAT'); });
  var kept = [];
  names.forEach(function(name) {
    var bytes = FS.readFile('/save/' + name), bin = "";
    for (var i = 0; i < bytes.length; i += 8192) bin += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    try {
      localStorage.setItem('quadrovolt.stash.' + name, btoa(bin));
      kept.push(name);
    } catch (e) {
      console.warn('Quadrovolt: no room to keep ' + name + ' in this browser');
    }
  });
  try {
    localStorage.setItem('quadrovolt.stash', JSON.stringify(kept));
  } catch (e) {
  }
});

// What the save folder holds (names, sizes, times written): the kept copy is
// written again only when this changes.
EM_JS(double, page_save_signature, (), {
  var sum = 0;
  FS.readdir('/save').forEach(function(name) {
    if (name == '.' || name == '..') return;
    var st = FS.stat('/save/' + name);
    for (var i = 0; i < name.length; ++i) sum = (sum * 31 + name.charCodeAt(i)) % 1e12;
    sum = (sum * 31 + st.size + st.mtime.getTime()) % 1e12;
  });
  return sum;
});

// The touch controls drawn over the page: each stick's ring at its centre
// and its knob under the thumb, and the bomb button.
EM_JS(void, page_touch_view, (int shown, const double* v, int bombDown), {
  var pad = document.getElementById('touchpad');
  if (!pad) return;
  pad.style.display = shown ? "" : "none";
  if (!shown) return;
  var at = function(id, x, y, size) {
    var e = document.getElementById(id).style;
    e.left = (x - size) + 'px';
    e.top = (y - size) + 'px';
    e.width = e.height = (2 * size) + 'px';
  };
  var f = HEAPF64.subarray(v >> 3, (v >> 3) + 13), r = f[10];
  at('leftbase', f[0], f[1], r);
  at('leftknob', f[2], f[3], r * 0.45);
  at('rightbase', f[4], f[5], r);
  at('rightknob', f[6], f[7], r * 0.45);
  at('bombbutton', f[8], f[9], f[11]);
  document.getElementById('bombbutton').className = bombDown ? 'down' : "";
});

EM_JS(void, page_note, (const char* text), {
  var note = document.getElementById('replaynote');
  if (note) note.textContent = UTF8ToString(text);
});

// Whether the page is shown; and, once, the hooks for the page being hidden
// (the game pauses) and going away (it ends and is kept, as a desktop game
// does when its window closes).
EM_JS(void, page_connect_lifecycle, (), {
  document.addEventListener(
      'visibilitychange', function() { Module._quadrovolt_page_shown(document.visibilityState == 'hidden' ? 0 : 1); });
  window.addEventListener(
      'pagehide', function() { Module._quadrovolt_page_leaves(); });
});

EM_JS(void, page_show, (const char* id, int shown), {
  var e = document.getElementById(UTF8ToString(id));
  if (e) e.style.display = shown ? "" : "none";
});

EM_JS(void, page_no_webgl, (), {
  var e = document.getElementById('message');
  if (e) {
    e.textContent = 'Quadrovolt needs WebGL 2, which this browser does not offer.';
    e.style.display = "";
  }
});

class TPage {
 public:
  explicit TPage(const TPageOptions& options) : Options(options), Pace(emscripten_performance_now()) {}

  bool MakeContext() {
    EmscriptenWebGLContextAttributes a;
    emscripten_webgl_init_context_attributes(&a);
    a.majorVersion = 2;
    a.minorVersion = 0;
    a.alpha = false;
    a.depth = true;
    a.stencil = false;
    a.antialias = false;
    a.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
    Context = emscripten_webgl_create_context("#canvas", &a);
    if (Context <= 0 || emscripten_webgl_make_context_current(Context) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    SetGles3ContextDefaults();
    Renderer = std::make_unique<TBatchingRenderer>(std::make_unique<TGles3BatchSink>());
    SetRenderer(Renderer.get());
    return true;
  }

  void MakeGame() {
    RandomSeedFromClock();
    THostOptions options;
    options.SavePath = kSavePath;
    options.ControlMode = HostMode(ControlMode);
    options.SoundOn = SoundOn;
    if (Options.Level) options.AllLevelsOpen = true;
    if (Options.Pilot) options.Assists = TReplayAssists{3, true, true};
    SetRenderer(Renderer.get());  // the game makes its textures as it is made
    Host = std::make_unique<TGameHost>(Sound, options);
    if (Options.Level) Host->ChooseStartLevel(Options.Level);
    if (Options.Pilot) Pilot.emplace(Options.Level);
    LastPicture = {};
    LayOutPicture();
    Watched = {Host->HiScore(), Host->MaxLevel(), Host->State()};
    Pace = TAnimationPace(emscripten_performance_now());
    page_show("ended", 0);
    page_show("help", Watched.State == GameState::Title);
    Ended = false;
  }

  void LayOutPicture() {
    int cssWidth = 0, cssHeight = 0, width = 0, height = 0;
    page_canvas_size(&cssWidth, &cssHeight, &width, &height);
    const int sizes[4] = {cssWidth, cssHeight, width, height};
    if (std::equal(sizes, sizes + 4, LastPicture.data())) return;
    std::copy(sizes, sizes + 4, LastPicture.data());
    Picture.Resize(cssWidth, cssHeight, width, height);
    TPicturePlace place;
    place.Width = Picture.Width;
    place.Height = Picture.Height;
    place.Left = Picture.Left;
    place.Bottom = Picture.Bottom();
    if (Host) Host->SetPicture(place);
    const double css = double(cssWidth) / width;
    Touch.Resize(cssWidth, cssHeight, Picture.Width * css, Picture.Height * css);
  }

  // One animation frame: the steps due, only the newest one drawn.
  void Frame(double nowMs) {
    if (!Host || Hidden) return;
    LayOutPicture();
    if (ControlModeWanted >= 0 && Host->State() == GameState::Title) {
      // Only between games, so a recorded game keeps the mode it began in.
      Host->SetControlMode(HostMode(ControlModeWanted));
      ControlMode = ControlModeWanted;
      ControlModeWanted = -1;
    }
    Host->Idle();
    if (ControlMode == kTouchMode) {
      Host->SetJoystick(Touch.Reading(Host->State() == GameState::Title));
      PadConnected = false;
    } else {
      PadConnected = ReadPagePad(*Host);
    }
    const int steps = Host->WantsQuit() ? 0 : Pace.StepsDue(nowMs);
    // Every step due runs; only what the last one left is drawn, and nothing
    // new when it did not run (a paused game keeps its picture).
    // The input gathered since the last frame goes with the first of them.
    bool moved = false;
    for (int i = 0; i < steps && !Host->WantsQuit(); ++i) {
      if (Pilot) Pilot->BeforeTick(*Host, Picture.Width, Picture.Height);
      moved = Host->Step();
      ++Steps;
    }
    if (steps > 0 && WatchAsked) {
      // The step has taken the R: a title still not watching had nothing to show.
      WatchAsked = false;
      if (!Host->Watching()) SayNothingToWatch();
    }
    if (moved) {
      ClearBars();
      Host->Render();
      Renderer->Flush();
      ++Drawn;
      if (TitleDrawnMs < 0 && Host->State() == GameState::Title) TitleDrawnMs = emscripten_performance_now();
    }
    if (steps > 0 && Host) {
      LetGoDeferred();
      Touch.Seen();
    }
    AfterPageFrame(*Host);
    ShowWords();
    if (Options.ReportRate) ReportRate(nowMs);
    KeepSaveIfChanged();
    if (Host->WantsQuit()) End();
  }

  // The kept copy follows the save file (and the replays beside it): the
  // folder is looked at when the best score, the level or the state changes,
  // and written back if it changed.
  void KeepSaveIfChanged() {
    const TWatched now{Host->HiScore(), Host->MaxLevel(), Host->State()};
    const bool shownHelp = now.State == GameState::Title;
    if (shownHelp != (Watched.State == GameState::Title)) {
      page_show("help", shownHelp);
      if (shownHelp) BackOnTitle();
    }
    if (now.HiScore != Watched.HiScore || now.MaxLevel != Watched.MaxLevel || now.State != Watched.State) Sync();
    Watched = now;
  }

  // Written only when the folder holds something new: a watched replay's
  // climbing score or its games' states write nothing.
  void Sync() {
    if (!Options.KeepSave) return;
    const double signature = page_save_signature();
    if (signature == SyncedSignature) return;
    SyncedSignature = signature;
    StartSync();
  }

  void StartSync() {
    if (Syncing) {
      SyncAgain = true;
      return;
    }
    Syncing = true;
    page_sync_save();
  }

  void Synced(bool ok) {
    Syncing = false;
    if (ok) ++Syncs;
    if (SyncAgain) {
      SyncAgain = false;
      StartSync();
    }
  }

  // The folder as read (or just written back) counts as kept.
  void NoteSaveKept() {
    if (Options.KeepSave) SyncedSignature = page_save_signature();
  }

  // The player quit from the title: the game object saves as it goes; the
  // page says so and a key or click makes a new one.
  void End() {
    ReleaseAll();
    Host.reset();
    Pilot.reset();
    Sync();
    page_show("ended", 1);
    page_show("help", 0);
    page_show("paused", 0);
    page_show("padwanted", 0);
    Ended = true;
    PressedSinceEnd = false;
  }

  // Hidden (another tab, the phone's home screen): play pauses, with the
  // game's own P, so a replay of it pauses too; nothing runs until shown.
  void Show(bool shown) {
    if (shown == !Hidden) return;
    Hidden = !shown;
    if (!Host) return;
    ReleaseAll();
    if (Hidden && Host->State() == GameState::Playing && !Host->Paused() && !Host->Watching()) TogglePause();
    // No steps are owed for the time away.
    if (shown) Pace = TAnimationPace(emscripten_performance_now());
  }

  // A tap of P in the next step's input: the game flips pause as it takes it.
  void TogglePause() {
    if (!Host) return;
    Input().Press(VK::P);
    Input().Release(VK::P);
  }

  // The page goes away (closed, reloaded, left): the game in progress ends
  // as its end would and a better record is saved; the folder is stashed at
  // once, as there is no time left to wait for IndexedDB.
  void Leave() {
    if (!Host) return;
    ReleaseAll();
    Host->EndSession();
    if (!Options.KeepSave) return;
    page_stash_save();
    SyncedSignature = -1;
    Sync();
  }

  // The starting press after the end must be a new one: Escape's own release
  // (or a key held through the end) does not start the game again.
  void Key(int vk, bool down) {
    if (!Host) {
      if (down)
        PressedSinceEnd = true;
      else if (PressedSinceEnd)
        MakeGame();
      return;
    }
    if (vk < 0) return;
    if (down) {
      const bool fresh = !Held.test(std::size_t(vk));
      if (fresh) PlayWithoutPad(0);
      if (fresh && vk == VK::R && Host->State() == GameState::Title && !Host->Watching()) WatchAsked = true;
      Held.set(std::size_t(vk));
      Deferred.reset(std::size_t(vk));
      DownAtStep[std::size_t(vk)] = Steps;
      Input().Press(vk);
    } else if (Held.test(std::size_t(vk)) && DownAtStep[std::size_t(vk)] == Steps) {
      Deferred.set(std::size_t(vk));
    } else {
      Held.reset(std::size_t(vk));
      Input().Release(vk);
    }
  }

  void Pointer(long cssX, long cssY) {
    int x = int(cssX), y = int(cssY);
    Picture.WindowToPicture(x, y);
    if (Host) Input().Pointer(x, y, Picture.Width, Picture.Height);
  }

  void Button(int button, bool down) {
    if (!Host) {
      if (down)
        PressedSinceEnd = true;
      else if (PressedSinceEnd)
        MakeGame();
      return;
    }
    if (button != 0 && button != 2) return;
    if (down) PlayWithoutPad(1);
    const bool left = button == 0;
    const std::size_t slot = left ? kLeftSlot : kRightSlot;
    bool& held = left ? LeftHeld : RightHeld;
    if (down) {
      Deferred.reset(slot);
      DownAtStep[slot] = Steps;
    } else if (held && DownAtStep[slot] == Steps) {
      Deferred.set(slot);
      return;
    }
    held = down;
    Input().Button(left, down);
  }

  // A press let go before any step saw it (a quick tap or click on a busy
  // machine) is held until one step has: the game reads fire and the start
  // of play from what is held at the step.
  void LetGoDeferred() {
    if (Deferred.none()) return;
    for (std::size_t vk = 0; vk < 256; ++vk)
      if (Deferred.test(vk)) {
        Held.reset(vk);
        Input().Release(int(vk));
      }
    if (Deferred.test(kLeftSlot)) LeftHeld = false, Input().Button(true, false);
    if (Deferred.test(kRightSlot)) RightHeld = false, Input().Button(false, false);
    Deferred.reset();
  }

  // A page that loses the focus hears no key-up: let go of everything.
  void ReleaseAll() {
    Touch.LiftAll();
    BombDown = false;
    if (!Host) return;
    for (std::size_t vk = 0; vk < Held.size(); ++vk)
      if (Held.test(vk)) Input().Release(int(vk));
    Held.reset();
    Deferred.reset();
    if (LeftHeld) Input().Button(true, false);
    if (RightHeld) Input().Button(false, false);
    LeftHeld = RightHeld = false;
  }

  void WantControlMode(int mode) {
    ControlModeWanted = mode;
    ChosenMode = mode;
  }
  void SetSound(bool on) {
    SoundOn = on;
    if (Host) Host->SetSoundOn(on);
  }

  std::string Status() const {
    const TGameHost::TShipReport ship = Host ? Host->Ship() : TGameHost::TShipReport{};
    char text[768];
    std::snprintf(text, sizeof text,
                  "{\"running\":%s,\"state\":%d,\"level\":%d,\"score\":%d,\"damage\":%d,\"hiScore\":%d,"
                  "\"maxLevel\":%d,\"paused\":%s,\"mode\":%d,\"steps\":%llu,\"drawn\":%llu,\"dropped\":%llu,"
                  "\"titleMs\":%.1f,\"syncs\":%d,\"syncing\":%s,\"pictureWidth\":%d,\"pictureHeight\":%d,"
                  "\"shipX\":%.1f,\"shipY\":%.1f,\"aim\":%d,\"firing\":%s,\"bombs\":%d}",
                  Host ? "true" : "false", Host ? Host->State() : 0, Host ? Host->Level() : 0, Host ? Host->Score() : 0,
                  Host ? Host->Damage() : 0, Host ? Host->HiScore() : 0, Host ? Host->MaxLevel() : 0,
                  Host && Host->Paused() ? "true" : "false", ControlMode, (unsigned long long)Steps,
                  (unsigned long long)Drawn, (unsigned long long)Pace.DroppedSteps(), TitleDrawnMs, Syncs,
                  Syncing ? "true" : "false", Picture.Width, Picture.Height, double(ship.X), double(ship.Y), ship.Aim,
                  ship.Firing ? "true" : "false", ship.Bombs);
    return text;
  }

 private:
  // Pad chosen but none connected: a key or a click on the title plays this
  // game by keyboard or mouse rather than leaving the title deaf; the choice
  // stays Pad for the next title.
  // Touch chosen, a key or a click on the title does the same.
  void PlayWithoutPad(int mode) {
    const bool deaf = (ControlMode == 2 && !PadConnected) || ControlMode == kTouchMode;
    if (!deaf || Host->State() != GameState::Title || Host->Watching()) return;
    Host->SetControlMode(HostMode(mode));
    ControlMode = mode;
    PlayingWithoutPad = true;
  }

 public:
  // Fingers on the canvas. On the title, a touch plays this game by touch
  // whatever the controls say; with the game ended, a tap starts it again.
  void Touched(int type, const EmscriptenTouchEvent& e) {
    if (!Host) {
      if (type == EMSCRIPTEN_EVENT_TOUCHSTART)
        PressedSinceEnd = true;
      else if (type == EMSCRIPTEN_EVENT_TOUCHEND && PressedSinceEnd)
        MakeGame();
      return;
    }
    if (type == EMSCRIPTEN_EVENT_TOUCHSTART && ControlMode != kTouchMode && Host->State() == GameState::Title &&
        !Host->Watching()) {
      Host->SetControlMode(HostMode(kTouchMode));
      ControlMode = kTouchMode;
      PlayingWithoutPad = true;
    }
    const TTouchSticks::TPhase phase = type == EMSCRIPTEN_EVENT_TOUCHSTART  ? TTouchSticks::TPhase::Start
                                       : type == EMSCRIPTEN_EVENT_TOUCHMOVE ? TTouchSticks::TPhase::Move
                                                                            : TTouchSticks::TPhase::End;
    for (int i = 0; i < e.numTouches; ++i) {
      const EmscriptenTouchPoint& t = e.touches[i];
      if (t.isChanged) Touch.Touch(int(t.identifier), phase, double(t.targetX), double(t.targetY));
    }
    if (Touch.BombHeld() != BombDown) {
      BombDown = Touch.BombHeld();
      Key(VK::Space, BombDown);
    }
  }

 private:
  void BackOnTitle() {
    if (!PlayingWithoutPad) return;
    PlayingWithoutPad = false;
    if (ControlModeWanted < 0) ControlModeWanted = ChosenMode;
  }

  // The next step's input, gathered from the page's events (and the pilot's)
  // in the host until the step takes it.
  TTickInput& Input() { return Host->NextInput(); }

  void SayNothingToWatch() {
    const bool any = std::ifstream("/save/QUADROVOLT.RPL").good() || std::ifstream("/save/QUADROVOLT-BEST.RPL").good();
    page_note(any ? "R: the games kept in this browser were played under other rules and cannot be watched here."
                  : "R: no game is kept in this browser yet; play one, then R watches it again.");
  }

  // The page's own words over the picture: paused, and the pad awaited.
  void ShowWords() {
    const bool paused = Host->Paused() && Host->State() == GameState::Playing;
    if (paused != ShownPaused) page_show("paused", ShownPaused = paused);
    const bool padWanted = ControlMode == 2 && !PadConnected && Host->State() == GameState::Title;
    if (padWanted != ShownPadWanted) page_show("padwanted", ShownPadWanted = padWanted);
    ShowTouch();
  }

  // The sticks and the bomb button, in touch mode while a game is on.
  void ShowTouch() {
    const bool shown = ControlMode == kTouchMode && Host->State() != GameState::Title;
    std::array<double, 13> view{};
    if (shown) {
      const TTouchSticks::TStickView left = Touch.Stick(0), right = Touch.Stick(1);
      view = {left.BaseX,
              left.BaseY,
              left.KnobX,
              left.KnobY,
              right.BaseX,
              right.BaseY,
              right.KnobX,
              right.KnobY,
              Touch.BombX(),
              Touch.BombY(),
              Touch.Radius(),
              Touch.BombRadius(),
              Touch.BombHeld() ? 1.0 : 0.0};
    }
    if (shown == ShownTouch && view == ShownTouchView) return;
    ShownTouch = shown;
    ShownTouchView = view;
    page_touch_view(shown, view.data(), Touch.BombHeld());
  }

  struct TWatched {
    int HiScore = 0, MaxLevel = 0;
    std::uint8_t State = 0;
  };

  void ClearBars() const {
    glDisable(GL_SCISSOR_TEST);
    if (!Picture.HasBars()) return;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // Wide lines and points near the picture's edge would spill onto the bars.
    glScissor(Picture.Left, Picture.Bottom(), Picture.Width, Picture.Height);
    glEnable(GL_SCISSOR_TEST);
  }

  void ReportRate(double nowMs) {
    if (RateStartMs < 0) {
      RateStartMs = nowMs, RateSteps = Steps, RateDrawn = Drawn;
      return;
    }
    if (nowMs - RateStartMs < 5000) return;
    const double seconds = (nowMs - RateStartMs) / 1000;
    std::printf("%.1f steps a second, %.1f frames drawn a second (level %d)\n", double(Steps - RateSteps) / seconds,
                double(Drawn - RateDrawn) / seconds, Host->Level());
    RateStartMs = nowMs, RateSteps = Steps, RateDrawn = Drawn;
  }

  TPageOptions Options;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE Context = 0;
  TWebAudioSoundDevice Sound;
  std::unique_ptr<TBatchingRenderer> Renderer;
  std::unique_ptr<TGameHost> Host;
  std::optional<TWebPilot> Pilot;
  TPictureLayout Picture;
  std::array<int, 4> LastPicture{};
  TAnimationPace Pace;
  TWatched Watched;
  static constexpr std::size_t kLeftSlot = 256, kRightSlot = 257;
  std::bitset<256> Held;
  bool LeftHeld = false, RightHeld = false;
  std::bitset<258> Deferred;                    // keys, then the two buttons
  std::array<std::uint64_t, 258> DownAtStep{};  // the step count at each press
  // The page's control modes are the game's (0 keyboard, 1 mouse, 2 pad) and
  // touch, which the game plays as a pad.
  static constexpr int kTouchMode = 3;
  static std::uint8_t HostMode(int mode) { return std::uint8_t(mode == kTouchMode ? 2 : mode); }
  TTouchSticks Touch;
  bool BombDown = false, ShownTouch = false;
  std::array<double, 13> ShownTouchView{};
  int ControlMode = 1;  // mouse, as the page starts
  int ControlModeWanted = -1;
  int ChosenMode = 1;  // the page's controls, which a game without the pad leaves alone
  bool PadConnected = false, PlayingWithoutPad = false;
  bool Hidden = false, Ended = false, PressedSinceEnd = false;
  bool WatchAsked = false;  // a fresh R on the title, which the next step takes
  bool ShownPaused = false, ShownPadWanted = false;
  double SyncedSignature = -1;
  bool SoundOn = true;
  bool Syncing = false, SyncAgain = false;
  int Syncs = 0;
  std::uint64_t Steps = 0, Drawn = 0, RateSteps = 0, RateDrawn = 0;
  double RateStartMs = -1, TitleDrawnMs = -1;

 public:
  void ChooseInitialMode() {
    if (Options.ControlMode >= 0) ControlMode = ChosenMode = Options.ControlMode;
  }
};

TPage* Page = nullptr;

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
  const int vk = VirtualKeyFromCode(e->code);
  // Browser shortcuts (Ctrl+R, Ctrl+W, ...) stay the browser's.
  if ((e->ctrlKey || e->metaKey) && vk != 17) return EM_FALSE;
  Page->Key(vk, type == EMSCRIPTEN_EVENT_KEYDOWN);
  return PageKeepsKey(vk) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* e, void*) {
  Page->Pointer(e->targetX, e->targetY);
  return EM_TRUE;
}

EM_BOOL OnMouseButton(int type, const EmscriptenMouseEvent* e, void*) {
  Page->Pointer(e->targetX, e->targetY);
  Page->Button(e->button, type == EMSCRIPTEN_EVENT_MOUSEDOWN);
  return EM_TRUE;
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
  Page->ReleaseAll();
  return EM_FALSE;
}

EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* e, void*) {
  Page->Touched(type, *e);
  return EM_TRUE;  // no scroll, zoom or mouse events made up from the touch
}

EM_BOOL OnAnimationFrame(double nowMs, void*) {
  Page->Frame(nowMs);
  return EM_TRUE;
}

}  // namespace

extern "C" {

// The save folder has been read: make the game and start the frames.
EMSCRIPTEN_KEEPALIVE void quadrovolt_start() {
  Page->NoteSaveKept();
  Page->MakeGame();
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
  emscripten_set_mousemove_callback("#canvas", nullptr, EM_TRUE, OnMouseMove);
  emscripten_set_mousedown_callback("#canvas", nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_mouseup_callback("#canvas", nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnBlur);
  emscripten_set_touchstart_callback("#canvas", nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchmove_callback("#canvas", nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchend_callback("#canvas", nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchcancel_callback("#canvas", nullptr, EM_TRUE, OnTouch);
  ConnectPageExtras();
  page_connect_lifecycle();
  page_show("message", 0);
  emscripten_request_animation_frame_loop(OnAnimationFrame, nullptr);
}

EMSCRIPTEN_KEEPALIVE void quadrovolt_page_shown(int shown) {
  if (Page) Page->Show(shown != 0);
}
EMSCRIPTEN_KEEPALIVE void quadrovolt_page_leaves() {
  if (Page) Page->Leave();
}
// The paused word, touched or clicked: play goes on.
EMSCRIPTEN_KEEPALIVE void quadrovolt_toggle_pause() {
  if (Page) Page->TogglePause();
}

EMSCRIPTEN_KEEPALIVE void quadrovolt_saved(int ok) {
  if (Page) Page->Synced(ok != 0);
}

// The page's controls: 0 keyboard, 1 mouse, 2 pad, 3 touch (from the next title on); sound.
EMSCRIPTEN_KEEPALIVE void quadrovolt_set_control_mode(int mode) {
  if (Page && mode >= 0 && mode <= 3) Page->WantControlMode(mode);
}
EMSCRIPTEN_KEEPALIVE void quadrovolt_set_sound(int on) {
  if (Page) Page->SetSound(on != 0);
}

// What the page is doing, as JSON: for the tests and the timing runs.
EMSCRIPTEN_KEEPALIVE const char* quadrovolt_status() {
  static std::string text;
  text = Page ? Page->Status() : "{\"running\":false}";
  return text.c_str();
}
}

int main() {
  char* query = page_query();
  const TPageOptions options = ParsePageQuery(query);
  std::free(query);
  Page = new TPage(options);
  Page->ChooseInitialMode();
  if (!Page->MakeContext()) {
    page_no_webgl();
    return 1;
  }
  page_mount_save(options.KeepSave ? 1 : 0);
  return 0;
}
