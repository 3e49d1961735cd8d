#include "platform/web/PageExtras.h"

#include <emscripten.h>

#include <cstdlib>
#include <string>

#include "platform/web/PageBoard.h"
#include "platform/web/PageOptions.h"
#include "platform/web/PageReplays.h"
#include "platform/web/WebGamepad.h"

namespace {

TWebGamepad Gamepad;
TPageReplays Replays;
TPageBoard Board;
TPageOptions Options;
std::string ShownFinalLine;

EM_JS(char*, page_extras_query, (), {
  var q = window.location.search || "";
  var n = lengthBytesUTF8(q) + 1;
  var p = _malloc(n);
  stringToUTF8(q, p, n);
  return p;
});

// F (without Ctrl, Alt or Cmd) and the page's button toggle full screen. It
// must be asked for inside the key or click handler: browsers grant full
// screen only to what the player just did. The whole page goes full screen,
// so the canvas fills the screen and the picture keeps 4:3 between bars.
// The replay file input hands the bytes of the file picked to the game.
EM_JS(void, page_connect_extras, (), {
  var toggle = function() {
    var d = document;
    if (d.fullscreenElement || d.webkitFullscreenElement) {
      (d.exitFullscreen || d.webkitExitFullscreen).call(d);
    } else {
      var e = d.documentElement, ask = e.requestFullscreen || e.webkitRequestFullscreen;
      if (ask) {
        var asked = ask.call(e);
        if (asked && asked.catch)
          asked.catch(function(err) { console.warn('Quadrovolt: no full screen (' + err + ')'); });
      }
    }
  };
  Module.quadrovoltToggleFullScreen = toggle;
  window.addEventListener(
      'keydown', function(e) {
        if (e.code == 'KeyF' && !e.repeat && !e.ctrlKey && !e.altKey && !e.metaKey) toggle();
      });
  var button = document.getElementById('fullscreen');
  if (button)
    button.addEventListener(
        'click', function() {
          toggle();
          button.blur();
        });

  // A replay's bytes to watch from the title: null, or why it cannot be.
  Module.quadrovoltPickReplay = function(bytes) {
    var p = _malloc(Math.max(1, bytes.length));
    HEAPU8.set(bytes, p);
    var why = _quadrovolt_pick_replay(p, bytes.length);
    _free(p);
    return why ? UTF8ToString(why) : null;
  };
  var input = document.getElementById('replayfile');
  if (input) {
    input.addEventListener(
        'change', function() {
          var file = input.files && input.files[0];
          if (!file) return;
          var reader = new FileReader();
          reader.onload = function() {
            var why = Module.quadrovoltPickReplay(new Uint8Array(reader.result));
            var note = document.getElementById('replaynote');
            if (note) note.textContent = why ? file.name + ': ' + why : "";
            input.value = "";
            input.blur();
          };
          reader.readAsArrayBuffer(file);
        });
  }
  Module.quadrovoltFinalLine = function() { return UTF8ToString(_quadrovolt_final_line()); };
  // The score board's script: the ticket's seed (decimal text, 64 bits do not
  // fit a number) handed to the game, "0" to drop it; the board's options.
  Module.quadrovoltBoardHold = function(seed) {
    var text = String(seed), n = lengthBytesUTF8(text) + 1, p = _malloc(n);
    stringToUTF8(text, p, n);
    _quadrovolt_board_hold(p);
    _free(p);
  };
  Module.quadrovoltBoardOptions = function() {
    return {board : UTF8ToString(_quadrovolt_board_option(0)), watch : UTF8ToString(_quadrovolt_board_option(1))};
  };
  if (window.QuadrovoltBoard) QuadrovoltBoard.begin(Module);
});

// What the board's script must hear of the game (see TPageBoard::TNews).
EM_JS(void, page_board_news,
      (int started, const char* startedOn, int ended, const char* endedOn, const unsigned char* bytes, int size,
       int score, int title),
      {
        if (!window.QuadrovoltBoard) return;
        QuadrovoltBoard.news({
          started : !!started,
          startedOn : UTF8ToString(startedOn),
          ended : !!ended,
          endedOn : UTF8ToString(endedOn),
          replay : ended ? HEAPU8.slice(bytes, bytes + size) : null,
          score : score,
          title : !!title
        });
      });

// The replay of the game that just ended, as the page's download link.
EM_JS(void, page_offer_replay, (const unsigned char* bytes, int size), {
  var link = document.getElementById('replaydownload');
  if (!link) return;
  if (link.href && link.href.indexOf('blob:') == 0) URL.revokeObjectURL(link.href);
  var blob = new Blob([HEAPU8.slice(bytes, bytes + size)], {
    type:
      'application/octet-stream'
  });
  link.href = URL.createObjectURL(blob);
  link.download = 'quadrovolt-' + new Date().toISOString().slice(0, 19).split(':').join('-') + '.rpl';
  link.style.display = "";
});

// The last game's final line, played or watched, on the strip under the title.
EM_JS(void, page_show_final_line, (const char* line), {
  var e = document.getElementById('finalline');
  if (!e) return;
  e.textContent = UTF8ToString(line);
  e.style.display = e.textContent ? "" : "none";
});

}  // namespace

void ConnectPageExtras() {
  char* query = page_extras_query();
  Options = ParsePageQuery(query);
  std::free(query);
  page_connect_extras();
}

bool ReadPagePad(TGameHost& host) {
  const TJoyReading reading = Gamepad.Read();
  host.SetJoystick(reading);
  return reading.Ok;
}

void AfterPageFrame(TGameHost& host) {
  const bool offered = Replays.AfterFrame(host);
  if (offered) page_offer_replay(Replays.Offer().data(), int(Replays.Offer().size()));
  const TPageBoard::TNews news = Board.AfterFrame(host, offered ? &Replays.Offer() : nullptr);
  if (news.Any())
    page_board_news(news.Started, std::to_string(news.StartedOn).c_str(), news.Ended,
                    std::to_string(news.EndedOn).c_str(), Replays.Offer().data(), int(Replays.Offer().size()),
                    news.Score, news.TitleShown);
  if (Replays.FinalLine() != ShownFinalLine) {
    ShownFinalLine = Replays.FinalLine();
    page_show_final_line(ShownFinalLine.c_str());
  }
}

extern "C" {

// A replay file the player picked: null when it will be watched, else why not.
EMSCRIPTEN_KEEPALIVE const char* quadrovolt_pick_replay(const unsigned char* bytes, int size) {
  static std::string why;
  why.clear();
  if (Replays.Pick(bytes, size > 0 ? std::size_t(size) : 0, why)) return nullptr;
  if (why.empty()) why = "not a replay";
  return why.c_str();
}

// The final line of the last game that ended, played or watched (empty before).
EMSCRIPTEN_KEEPALIVE const char* quadrovolt_final_line() { return Replays.FinalLine().c_str(); }

// The score board's ticket: its seed, in decimal, for the next game from the
// title; "0" (or anything not a seed) holds none.
EMSCRIPTEN_KEEPALIVE void quadrovolt_board_hold(const char* seed) {
  char* end = nullptr;
  const unsigned long long value = std::strtoull(seed, &end, 10);
  Board.Hold(end && *end == 0 && end != seed ? std::uint64_t(value) : 0);
}

// The page's board options: 0 the board's address, 1 the replay to watch.
EMSCRIPTEN_KEEPALIVE const char* quadrovolt_board_option(int which) {
  return which == 0 ? Options.Board.c_str() : Options.Watch.c_str();
}
}
