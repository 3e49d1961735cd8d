// The score board's rules in the page's script, under node's test runner:
// the names the service takes, the player's key, the board's address, the
// only addresses ?watch= may fetch, and the verdict in the board's words.
//   node --test tests/web/board_rules_test.js
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const {rules} = require('../../platform/web/board.js');

test('names are the service\'s: 1 to 12 of letters, digits, spaces, . - _ after trimming', () => {
  const cases = [
    ['Ada', 'Ada'], ['  Ada  ', 'Ada'], ['a.b-c_d 9', 'a.b-c_d 9'], ['abcdefghijkl', 'abcdefghijkl'],
    ['   twelve chars ok ', null], ['abcdefghijklm', null], ['', null], ['    ', null], ['<b>x</b>', null],
    ['Zoë', null], ['tab\there', null], ['a"b', null], [null, null], ['x\n', null],
  ];
  for (const [raw, want] of cases) assert.strictEqual(rules.boardName(raw), want, JSON.stringify(raw));
});

test('the player key is 32 hex digits from the random source', () => {
  const key = rules.freshKey((b) => b.set([0, 1, 15, 16, 255, 128, 9, 10, 11, 12, 13, 14, 200, 201, 202, 203]));
  assert.strictEqual(key, '00010f10ff80090a0b0c0d0ec8c9cacb');
  const random = rules.freshKey((b) => crypto.getRandomValues(b));
  assert.ok(rules.isKey(random), random);
  assert.notStrictEqual(random, rules.freshKey((b) => crypto.getRandomValues(b)));
  for (const bad of ['', 'ABCDEF0123456789ABCDEF0123456789', '0'.repeat(31), '0'.repeat(33), 'g'.repeat(32), 5])
    assert.ok(!rules.isKey(bad), String(bad));
});

test('the board is the page\'s own origin unless board= names another http(s) address', () => {
  const page = 'http://127.0.0.1:8470/play/?watch=/api/entries/1/replay';
  const cases = [
    ['', 'http://127.0.0.1:8470/'], ['http://scores.example:9000', 'http://scores.example:9000/'],
    ['https://example.org/board?x=1#y', 'https://example.org/board/'], ['/other/', 'http://127.0.0.1:8470/other/'],
    ['javascript:alert(1)', null], ['file:///etc/passwd', null], ['http://user:pw@example.org/', null],
    ['http://[bad', null],
  ];
  for (const [option, want] of cases) assert.strictEqual(rules.boardBase(option, page), want, option);
});

test('watch= fetches only a path on this site or an address under the board', () => {
  const page = 'http://127.0.0.1:8470/play/?watch=x';
  const board = 'http://scores.example:9000/q/';
  const cases = [
    ['/api/entries/12/replay', 'http://127.0.0.1:8470/api/entries/12/replay'],
    ['replays/a.rpl', 'http://127.0.0.1:8470/play/replays/a.rpl'],
    ['http://127.0.0.1:8470/api/entries/3/replay', 'http://127.0.0.1:8470/api/entries/3/replay'],
    ['http://scores.example:9000/q/api/entries/4/replay', 'http://scores.example:9000/q/api/entries/4/replay'],
    ['http://scores.example:9000/elsewhere', null], ['https://scores.example:9000/q/api', null],
    ['//evil.example/x.rpl', null], ['/\\evil.example/x.rpl', null], ['\\\\evil.example\\x.rpl', null],
    ['http://evil.example/api/entries/1/replay', null], ['http://127.0.0.1:8471/api/entries/1/replay', null],
    ['javascript:alert(1)', null], ['data:application/octet-stream,QVJQ', null],
    ['http://u:p@127.0.0.1:8470/api/entries/1/replay', null], ['', null],
  ];
  for (const [value, want] of cases) assert.strictEqual(rules.watchAddress(value, page, board), want, value);
});

test('the verdict is said in the board\'s words', () => {
  const cases = [
    [{status: 'queued'}, undefined, 'queued'],
    [{status: 'accepted', rank: 40, score: 10}, 12, 'accepted: rank 12 this week'],
    [{status: 'accepted', rank: 3}, null, 'accepted: rank 3 this week'],
    [{status: 'refused', reason: 'replay diverges at tick 1500'}, undefined, 'refused: replay diverges at tick 1500'],
    [{status: 'refused', reason: 'ticket expired'}, undefined, 'refused: ticket expired'],
    [null, undefined, ''],
  ];
  for (const [answer, rank, want] of cases) assert.strictEqual(rules.verdictWords(answer, rank), want);
});

test('an accepted game\'s place this week: its own row, else where its score stands', () => {
  const rows = [
    {id: 5, rank: 1, player: 'a', score: 900}, {id: 9, rank: 2, player: 'b', score: 500},
    {id: 2, rank: 3, player: 'c', score: 500}, {id: 7, rank: 4, player: 'me', score: 300},
  ];
  assert.strictEqual(rules.weekRank(rows, {id: 7, score: 300, player: 'me'}), 4);
  // Not the player's best this week: placed among the others' best.
  assert.strictEqual(rules.weekRank(rows, {id: 11, score: 500, player: 'me'}), 4);  // ties: the earlier first
  assert.strictEqual(rules.weekRank(rows, {id: 1, score: 500, player: 'me'}), 2);
  assert.strictEqual(rules.weekRank(rows, {id: 12, score: 100, player: 'me'}), 4);
  assert.strictEqual(rules.weekRank([], {id: 1, score: 0, player: 'me'}), 1);
  // Below a full board of a hundred others: not known from it.
  const full = Array.from({length: 100}, (_, i) => ({id: i + 1, rank: i + 1, player: 'p' + i, score: 1000 - i}));
  assert.strictEqual(rules.weekRank(full, {id: 500, score: 1, player: 'me'}), null);
});

test('a ticket is asked again before it ends, never more often than twice a second', () => {
  assert.strictEqual(rules.refreshAfterMs(21600), 21600 * 800);
  assert.strictEqual(rules.refreshAfterMs(1), 800);
  assert.strictEqual(rules.refreshAfterMs(0), 500);
  assert.strictEqual(rules.refreshAfterMs(undefined), 500);
});

test('a replay goes as base64, however long', () => {
  const bytes = new Uint8Array(20000).map((_, i) => (i * 7) & 255);
  assert.deepStrictEqual(Buffer.from(rules.base64(bytes), 'base64'), Buffer.from(bytes));
  assert.strictEqual(rules.base64(new Uint8Array(0)), '');
});
