// The score board in the page. Sharing is off until the player turns it on in
// the strip, and with it off the page sends nothing and reads nothing. On, it
// holds a fresh ticket while the title shows (its seed handed to the game, so
// the next game plays on it), sends the game that started with one when it
// ends, shows the week's top ten, the player's rank and the last game's
// verdict, and watches any entry. A finished game waits in an IndexedDB
// outbox until the service has answered it with an id. Nothing here makes a
// step of the game wait: every request runs in the background.
'use strict';
var QuadrovoltBoard = (function() {
  var SETTINGS = 'quadrovolt.board';     // {share, name, key, player}
  var LAST = 'quadrovolt.board.last';    // the last submission answered: {id, board}
  var TICKET_TIMEOUT_MS = 300;           // the start never waits for a ticket
  var TICKET_RETRY_MS = 3000;            // on the title, while none could be had
  var REQUEST_TIMEOUT_MS = 10000;        // any other request
  var RESEND_MS = 4000;                  // while something waits in the outbox
  var POLL_MS = 1500;                    // a queued submission's verdict
  var NAME_RULE = "a name is 1 to 12 letters, digits, spaces, '.', '-' or '_'";

  // --- Rules, with no page around them ----------------------------------------

  // The service's rule: trimmed of spaces at its ends, then 1 to 12 letters,
  // digits, spaces, '.', '-' or '_'. Null for anything else.
  function boardName(raw) {
    var name = String(raw == null ? '' : raw).replace(/^ +| +$/g, '');
    return /^[A-Za-z0-9 ._-]{1,12}$/.test(name) ? name : null;
  }

  // 128 random bits in 32 hex digits: the player's key, made once.
  function freshKey(random) {
    var bytes = new Uint8Array(16);
    random(bytes);
    return Array.prototype.map.call(bytes, function(b) { return (b < 16 ? '0' : '') + b.toString(16); }).join('');
  }

  function isKey(key) { return typeof key == 'string' && /^[0-9a-f]{32}$/.test(key); }

  // The board's address, ending in '/': the page's own origin unless the
  // board= option names another http(s) address. Null for one it cannot be.
  function boardBase(option, pageHref) {
    var url;
    try {
      url = new URL(option || '/', pageHref);
    } catch (e) {
      return null;
    }
    if (url.protocol != 'http:' && url.protocol != 'https:') return null;
    if (url.username || url.password) return null;
    url.search = '';
    url.hash = '';
    if (!/\/$/.test(url.pathname)) url.pathname += '/';
    return url.href;
  }

  // The address a watch= option may fetch: a path on the page's own origin
  // or an address under the board's; null for anything else (another site
  // named in the query is never fetched).
  function watchAddress(value, pageHref, base) {
    if (!value) return null;
    var url, page, board;
    try {
      url = new URL(value, pageHref);
      page = new URL(pageHref);
      board = base ? new URL(base) : null;
    } catch (e) {
      return null;
    }
    if (url.protocol != 'http:' && url.protocol != 'https:') return null;
    if (url.username || url.password) return null;
    if (url.origin == page.origin) return url.href;
    if (board && url.origin == board.origin && url.pathname.indexOf(board.pathname) == 0) return url.href;
    return null;
  }

  // The verdict line, in the board's own words.
  function verdictWords(answer, weekRank) {
    if (!answer) return '';
    if (answer.status == 'queued' || answer.status == 'working') return 'queued';
    if (answer.status == 'refused') return 'refused: ' + (answer.reason || 'no reason given');
    if (answer.status == 'accepted') {
      if (answer.removed) return 'accepted: taken off the board';
      return 'accepted: rank ' + (weekRank || answer.rank) + ' this week';
    }
    return '';
  }

  // The entry's place on this week's board (rows as the board gives them,
  // best first, up to 100): its own row's rank, else where its score stands
  // among the other players' best.
  function weekRank(rows, entry) {
    for (var i = 0; i < rows.length; ++i)
      if (rows[i].id == entry.id) return rows[i].rank;
    var above = 0;
    rows.forEach(function(r) {
      if (r.player != entry.player && (r.score > entry.score || (r.score == entry.score && r.id < entry.id))) ++above;
    });
    return above < rows.length || rows.length < 100 ? above + 1 : null;
  }

  // The ticket's life as the page counts it: asked again well before it ends.
  function refreshAfterMs(expiresIn) { return Math.max(500, 800 * Number(expiresIn || 0)); }

  function base64(bytes) {
    var text = '';
    for (var i = 0; i < bytes.length; i += 8192) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return btoa(text);
  }

  var rules = {
    boardName: boardName,
    freshKey: freshKey,
    isKey: isKey,
    boardBase: boardBase,
    watchAddress: watchAddress,
    verdictWords: verdictWords,
    weekRank: weekRank,
    refreshAfterMs: refreshAfterMs,
    base64: base64,
    NAME_RULE: NAME_RULE
  };
  if (typeof document == 'undefined') return {rules: rules};  // node's tests

  // --- The page's board --------------------------------------------------------

  var Module = null;
  var settings = {share: false, name: '', key: '', player: ''};
  var base = null;
  var onTitle = false;
  var ticket = null;       // held: {ticket, seed, expiresAt, refreshAt}
  var recent = [];         // tickets held lately, by seed: the game may have started on the one before
  var playing = null;      // the ticket the game in progress started on
  var asking = false, ticketTimer = 0;
  var flushing = false, flushTimer = 0, waiting = 0;
  var pollTimer = 0, last = null;
  var verdict = '';
  var rows = [], mine = null, reading = false;
  var db = null;

  function $(id) { return document.getElementById(id); }

  function loadSettings() {
    try {
      var kept = JSON.parse(localStorage.getItem(SETTINGS) || 'null');
      if (kept && typeof kept == 'object') {
        settings.share = kept.share === true;
        settings.name = typeof kept.name == 'string' ? kept.name : '';
        settings.key = isKey(kept.key) ? kept.key : '';
        settings.player = typeof kept.player == 'string' ? kept.player : '';
      }
      last = JSON.parse(localStorage.getItem(LAST) || 'null');
    } catch (e) {
      last = null;
    }
    if (!settings.key) {
      settings.key = freshKey(function(b) { crypto.getRandomValues(b); });
      saveSettings();
    }
  }

  function saveSettings() {
    try {
      localStorage.setItem(SETTINGS, JSON.stringify(settings));
    } catch (e) {
    }
  }

  function active() { return settings.share && boardName(settings.name) != null && base != null; }

  function api(path) { return base + 'api/' + path; }

  // fetch() with its own deadline; the answer and its JSON (null if none).
  function request(url, init, timeoutMs) {
    var abort = new AbortController();
    var timer = setTimeout(function() { abort.abort(); }, timeoutMs || REQUEST_TIMEOUT_MS);
    init = init || {};
    init.signal = abort.signal;
    init.cache = 'no-store';
    return fetch(url, init).then(function(response) {
      return response.text().then(function(text) {
        var body = null;
        try {
          body = JSON.parse(text);
        } catch (e) {
        }
        return {status: response.status, body: body};
      });
    }).finally(function() { clearTimeout(timer); });
  }

  // --- Tickets ----------------------------------------------------------------

  function hold(t) {
    ticket = t;
    if (t) {
      recent.unshift(t);
      recent.length = Math.min(recent.length, 3);
    }
    if (Module) Module.quadrovoltBoardHold(t ? t.seed : '0');
  }

  // In the background, whenever the title shows without a fresh ticket.
  function wantTicket() {
    clearTimeout(ticketTimer);
    ticketTimer = 0;
    if (!active() || asking) return;
    if (ticket && Date.now() < ticket.refreshAt) {
      ticketTimer = setTimeout(wantTicket, ticket.refreshAt - Date.now());
      return;
    }
    asking = true;
    request(api('tickets'), {method: 'POST'}, TICKET_TIMEOUT_MS).then(function(a) {
      asking = false;
      var b = a.body;
      if (a.status != 201 || !b || typeof b.ticket != 'string' || !/^[0-9]+$/.test(String(b.seed)))
        throw new Error('no ticket');
      if (!active()) return;
      var now = Date.now();
      hold({ticket: b.ticket, seed: String(b.seed), expiresAt: now + 1000 * b.expires_in,
            refreshAt: now + refreshAfterMs(b.expires_in)});
      ticketTimer = setTimeout(wantTicket, ticket.refreshAt - now);
    }).catch(function() {
      asking = false;
      if (active() && onTitle) ticketTimer = setTimeout(wantTicket, TICKET_RETRY_MS);
    });
  }

  // --- The outbox ---------------------------------------------------------------

  function outbox(mode, work) {
    return new Promise(function(resolve, reject) {
      var open = function() {
        var tx = db.transaction('outbox', mode);
        var result = work(tx.objectStore('outbox'));
        tx.oncomplete = function() { resolve(result && 'result' in result ? result.result : undefined); };
        tx.onerror = tx.onabort = function() { reject(tx.error); };
      };
      if (db) return open();
      var asked = indexedDB.open('quadrovolt-board', 1);
      asked.onupgradeneeded = function() { asked.result.createObjectStore('outbox', {keyPath: 'ticket'}); };
      asked.onsuccess = function() {
        db = asked.result;
        open();
      };
      asked.onerror = function() { reject(asked.error); };
    });
  }

  // The game that ended on its ticket: kept first, then sent.
  function submit(t, replay, score) {
    var entry = {ticket: t.ticket, board: base, name: boardName(settings.name), key: settings.key,
                 replay: base64(replay), claimed_score: score, ended: Date.now()};
    outbox('readwrite', function(store) { store.put(entry); }).then(flush, function(e) {
      console.warn('Quadrovolt: the game could not be kept for the board (' + e + '); sending it now');
      send(entry);
    });
  }

  function flush() {
    clearTimeout(flushTimer);
    flushTimer = 0;
    if (!active() || flushing) return;
    flushing = true;
    outbox('readonly', function(store) { return store.getAll(); }).then(function(entries) {
      entries.sort(function(a, b) { return a.ended - b.ended; });
      var left = entries.length;
      var next = function(i) {
        if (i >= entries.length || !active()) return Promise.resolve();
        return send(entries[i]).then(function(done) {
          if (done) --left;
          return next(i + 1);
        });
      };
      return next(0).then(function() { return left; });
    }).then(function(left) {
      flushing = false;
      waiting = left;
      if (left > 0 && active()) flushTimer = setTimeout(flush, RESEND_MS);
      show();
    }, function() {
      flushing = false;
      if (active()) flushTimer = setTimeout(flush, RESEND_MS);
    });
  }

  // One submission: true once the service has answered it for good.
  function send(entry) {
    var body = JSON.stringify({ticket: entry.ticket, name: entry.name, key: entry.key, replay: entry.replay,
                               claimed_score: entry.claimed_score});
    var at = entry.board || base;
    return request(at + 'api/submissions', {method: 'POST', headers: {'Content-Type': 'application/json'}, body: body})
        .then(function(a) {
          var b = a.body || {};
          if ((a.status == 200 || a.status == 202) && typeof b.id == 'number') {
            if (b.player && entry.key == settings.key) {
              settings.player = b.player;
              saveSettings();
            }
            answered(entry, {id: b.id, board: at}, b);
            return true;
          }
          if (a.status >= 400 && a.status < 500 && a.status != 408 && a.status != 429) {
            // Refused outright: it will never be taken, so it goes.
            answered(entry, null, {status: 'refused', reason: b.error || 'answered ' + a.status});
            return true;
          }
          throw new Error('not answered');
        })
        .catch(function() {
          if (!last || last.ticket != entry.ticket) setVerdict('not sent yet: offline');
          return false;
        });
  }

  function answered(entry, submission, answer) {
    outbox('readwrite', function(store) { store.delete(entry.ticket); }).catch(function() {});
    if (submission) {
      last = {id: submission.id, board: submission.board, ticket: entry.ticket};
      try {
        localStorage.setItem(LAST, JSON.stringify(last));
      } catch (e) {
      }
      ruled(answer);
    } else {
      setVerdict(verdictWords(answer));
    }
  }

  // --- The verdict and the board --------------------------------------------------

  function ruled(answer) {
    if (answer.status == 'accepted') {
      readBoard(answer);
      return;
    }
    setVerdict(verdictWords(answer));
    if (answer.status == 'queued') poll();
    else readBoard();
  }

  function poll() {
    clearTimeout(pollTimer);
    pollTimer = 0;
    if (!active() || !last) return;
    var at = last.board || base, id = last.id;
    request(at + 'api/submissions/' + id).then(function(a) {
      if (!last || last.id != id) return;
      if (a.status == 200 && a.body && a.body.status != 'queued') return ruled(a.body);
      if (a.status == 404) return setVerdict('');
      pollTimer = setTimeout(poll, POLL_MS);
    }).catch(function() { pollTimer = setTimeout(poll, POLL_MS); });
  }

  // The week's board (its top ten shown), the player's own rank, and an
  // accepted game's place on it.
  function readBoard(accepted) {
    if (!active()) return;
    if (reading && !accepted) return;
    reading = true;
    var period = 'period=week';
    request(api('board?' + period + '&limit=100')).then(function(a) {
      if (a.status != 200 || !a.body || !Array.isArray(a.body.entries)) throw new Error('no board');
      var all = a.body.entries;
      rows = all.slice(0, 10);
      if (accepted) {
        var entry = {id: accepted.id, score: accepted.score, player: settings.player};
        setVerdict(verdictWords(accepted, weekRank(all, entry)));
      }
      var who = settings.player || settings.key;
      return request(api('players/' + who + '/rank?' + period)).then(function(r) {
        mine = r.status == 200 && r.body ? r.body : null;
      });
    }).catch(function() {
      if (accepted) setVerdict(verdictWords(accepted));
    }).finally(function() {
      reading = false;
      show();
    });
  }

  function setVerdict(words) {
    verdict = words;
    show();
  }

  function show() {
    var on = active();
    $('board').style.display = on ? '' : 'none';
    $('boardverdict').textContent = on ? verdict : '';
    $('boardrank').textContent = on && mine ? 'your rank this week: ' + mine.rank : '';
    var body = $('boardrows');
    while (body.firstChild) body.removeChild(body.firstChild);
    if (!on) return;
    rows.forEach(function(r) {
      var tr = document.createElement('tr');
      [r.rank, r.name, r.score].forEach(function(v) {
        var td = document.createElement('td');
        td.textContent = String(v);
        tr.appendChild(td);
      });
      var td = document.createElement('td'), watch = document.createElement('button');
      watch.type = 'button';
      watch.textContent = 'watch';
      watch.className = 'boardwatch';
      watch.addEventListener('click', function() {
        watch.blur();
        watchReplay(api('entries/' + r.id + '/replay'), r.name);
      });
      td.appendChild(watch);
      tr.appendChild(td);
      if (settings.player && r.player == settings.player) tr.className = 'mine';
      body.appendChild(tr);
    });
    $('boardempty').style.display = rows.length ? 'none' : '';
  }

  // --- Watching ---------------------------------------------------------------------

  function note(text) { $('replaynote').textContent = text; }

  function watchReplay(url, what) {
    return fetch(url, {cache: 'no-store'}).then(function(response) {
      if (!response.ok) throw new Error('the board answered ' + response.status);
      return response.arrayBuffer();
    }).then(function(data) {
      var why = Module.quadrovoltPickReplay(new Uint8Array(data));
      note(why ? what + ': ' + why : '');
    }).catch(function(e) { note(what + ': could not be fetched (' + e.message + ')'); });
  }

  // --- The strip ----------------------------------------------------------------------

  function connectStrip() {
    var share = $('boardshare'), name = $('boardname'), hint = $('boardnote');
    // In a small window the rows open from the heading.
    $('boardhead').addEventListener('click', function() { $('board').classList.toggle('open'); });
    share.checked = settings.share;
    name.value = settings.name;
    var judgeName = function() {
      var fits = boardName(name.value) != null;
      name.className = fits || !name.value ? '' : 'bad';
      hint.textContent = share.checked && !fits ? NAME_RULE : '';
      return fits;
    };
    judgeName();
    name.addEventListener('input', function() {
      // A name the board would refuse is never kept nor sent.
      if (judgeName()) {
        var was = active();
        settings.name = name.value;
        saveSettings();
        if (!was) changed();
      } else if (active()) {
        settings.name = '';
        saveSettings();
        changed();
      }
    });
    name.addEventListener('change', function() { name.blur(); });
    share.addEventListener('change', function() {
      settings.share = share.checked;
      saveSettings();
      judgeName();
      if (share.checked && !boardName(name.value)) name.focus();
      else share.blur();
      changed();
    });
  }

  // Sharing turned on or off (or its name became good or bad).
  function changed() {
    if (active()) {
      start();
      return;
    }
    clearTimeout(ticketTimer);
    clearTimeout(flushTimer);
    clearTimeout(pollTimer);
    ticketTimer = flushTimer = pollTimer = 0;
    hold(null);
    show();
  }

  function start() {
    show();
    if (onTitle) wantTicket();
    flush();
    readBoard();
    if (last && !verdict) poll();
  }

  // --- What the game says ----------------------------------------------------------------

  function news(n) {
    if (n.started) {
      playing = null;
      recent.forEach(function(t) {
        if (!playing && t.seed == n.startedOn) playing = t;
      });
      if (playing) {
        // Used by this game: forgotten, and another asked for the next one.
        recent = recent.filter(function(t) { return t != playing; });
        if (ticket == playing) hold(null);
        wantTicket();
      }
    }
    if (n.ended) {
      var t = playing;
      playing = null;
      if (t && n.endedOn == t.seed && active()) submit(t, n.replay, n.score);
      else if (active()) setVerdict('not eligible: offline');
    }
    if (n.title) {
      onTitle = true;
      if (active()) {
        wantTicket();
        readBoard();
      }
    } else if (n.started) {
      onTitle = false;
    }
  }

  // Before the game's own key handlers (registered later, also on the
  // window): keys typed into the name field are the field's alone.
  window.addEventListener('keydown', function(e) {
    if (e.target && e.target.id == 'boardname') {
      e.stopImmediatePropagation();
      if (e.key == 'Enter' || e.key == 'Escape') e.target.blur();
    }
  }, true);
  window.addEventListener('keyup', function(e) {
    if (e.target && e.target.id == 'boardname') e.stopImmediatePropagation();
  }, true);

  // Once the game's module runs.
  function begin(module) {
    Module = module;
    var options = Module.quadrovoltBoardOptions();
    base = boardBase(options.board, location.href);
    loadSettings();
    connectStrip();
    window.addEventListener('online', flush);
    if (options.watch) {
      var url = watchAddress(options.watch, location.href, base);
      if (url) watchReplay(url, 'watch');
      else note('watch: only a replay on this site or its score board is fetched');
    }
    if (active()) start();
    else show();
  }

  // For the tests: what the board holds now.
  function state() {
    return {active: active(), base: base, ticket: ticket ? ticket.ticket : null, seed: ticket ? ticket.seed : null,
            playing: playing ? playing.ticket : null, waiting: waiting, flushing: flushing, verdict: verdict,
            last: last, rows: rows.length, mine: mine ? mine.rank : null, key: settings.key, player: settings.player};
  }

  function pending() {
    return outbox('readonly', function(store) { return store.getAll(); });
  }

  return {begin: begin, news: news, state: state, pending: pending, rules: rules};
})();
if (typeof module != 'undefined') module.exports = QuadrovoltBoard;
