// The page's line editor (web/page/line-editor.js): what each key does to the echo
// and to the bytes the program reads. Run with `node --test`.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const path = require('node:path');
const { LineEditor, LineEditorAddon, byteString } = require(
  path.join(__dirname, '..', '..', 'web', 'page', 'line-editor.js')
);

/** @typedef {import('../../web/page/line-editor.js').LineEditor} LineEditor */
/** @typedef {import('../../web/page/line-editor.js').EditorOptions} EditorOptions */
/** @typedef {string | ((input: LineEditor) => void)} Piece key data, or something done to the editor */

const npm = process.env.ZV_WEB_NPM || path.join(__dirname, '..', '..', 'build', 'web', 'npm');
let xterm = null;
try {
  xterm = Object.assign(
    {},
    ...['headless', 'addon-unicode11'].map((m) => require(path.join(npm, 'node_modules', '@xterm', m)))
  );
} catch {
  // no xterm.js installed: the rows that need a terminal skip
}
const shown = (/** @type {Uint8Array} */ bytes) => (bytes.length === 0 ? '<end>' : byteString(bytes));

// An editor given `data` (pieces: key data, or functions of the editor); with
// `lines`, a program reads line after line into it from the start.
// With `options.addon`, the editor is that add-on's, over its terminal.
/**
 * @param {Piece | Piece[]} data
 * @param {EditorOptions & { addon?: import('../../web/page/line-editor.js').LineEditorAddon }} [options]
 * @param {string[] | null} [lines]
 */
function typed(data, options = {}, lines = null) {
  let echo = '';
  const { addon, ...rest } = options;
  const onInterrupt = () => (echo += '<stop>');
  const input = addon
    ? addon.start({ onInterrupt, ...rest })
    : new LineEditor({ write: (/** @type {string} */ text) => (echo += text), onInterrupt, ...rest });
  const read = async (/** @type {string[]} */ into) => {
    for (;;) into.push(shown(await input.next(256)));
  };
  if (lines) read(lines);
  for (const piece of /** @type {Piece[]} */ ([]).concat(data)) {
    if (typeof piece === 'function') piece(input);
    else input.feed(piece);
  }
  return { input, echo: () => echo };
}

// Everything typed ahead, each line (or the end of input, as '<end>') read whole.
/** @param {LineEditor} input */
async function readAll(input) {
  const lines = [];
  while (input.keys.length > 0 || input.pending !== null) lines.push(shown(await input.next(256)));
  return lines;
}

test('keys become lines and echo', async (t) => {
  /** @type {Array<[string, Piece | Piece[], string[], string, EditorOptions?]>} */
  const cases = [
    // [name, key data, lines the program reads, echo]
    ['Enter sends CR LF', 'ap\r', ['ap\r\n'], 'ap\r\n'],
    ['Backspace edits', 'apx\x7f\r', ['ap\r\n'], 'apx\b \b\r\n'],
    ['Backspace on an empty line does nothing', '\x7f\x7f1\r', ['1\r\n'], '1\r\n'],
    ['Ctrl-D on an empty line ends input', '\x04', ['<end>'], ''],
    ['Ctrl-D after text sends it without a line end', 'ab\x04', ['ab'], 'ab'],
    ['Ctrl-Z then Enter sends byte 26', '\x1a\r', ['\x1a\r\n'], '^Z\r\n'],
    ['Backspace removes ^Z whole', '\x1a\x7f\r', ['\r\n'], '^Z\b\b  \b\b\r\n'],
    ['arrow and function keys are skipped', 'a\x1b[A\x1b[15~\x1bOPb\r', ['ab\r\n'], 'ab\r\n'],
    ['Alt with a character beyond the BMP is skipped whole', 'a\x1b😀b\r', ['ab\r\n'], 'ab\r\n'],
    ['other control keys and C1 are skipped', 'a\x01\x1c\x85b\r', ['ab\r\n'], 'ab\r\n'],
    ['non-ASCII is sent as UTF-8', 'п\r', ['\xd0\xbf\r\n'], 'п\r\n'],
    ['Backspace removes a whole character', 'пр\x7f\r', ['\xd0\xbf\r\n'], 'пр\b \b\r\n'],
    ['a pasted dialogue is queued line by line', 'ap\r1\r3\r', ['ap\r\n', '1\r\n', '3\r\n'], 'ap\r\n1\r\n3\r\n'],
    [
      'Left and Right move the cursor',
      'abc\x1b[D\x1bOD\x1b[CX\r',
      ['abXc\r\n'],
      'abc\x1b[1D\x1b[1D\x1b[1CXc\x1b[1D\x1b[1C\r\n',
    ],
    ['Home and End', 'bc\x1b[Ha\x1b[4~!\r', ['abc!\r\n'], 'bc\x1b[2Dabc\x1b[2D\x1b[2C!\r\n'],
    [
      'Delete removes the grapheme under the cursor',
      'abc\x1bOH\x1b[3~\x1b[F\x1b[3~\r',
      ['bc\r\n'],
      'abc\x1b[3Dbc\x1b[J\x1b[2D\x1b[2C\r\n',
    ],
    ['Backspace in the middle', 'abc\x1b[D\x7f\r', ['ac\r\n'], 'abc\x1b[1D\x1b[1Dc\x1b[J\x1b[1D\x1b[1C\r\n'],
    [
      'Up and Down recall the history, newest first',
      'x\x1b[A\x1b[A\x1b[A\x1bOB!\r',
      ['two!\r\n'],
      'x\x1b[1Dtwo\x1b[3Done\x1b[3Dtwo!\r\n',
      { history: ['one', 'two'] },
    ],
    ['Ctrl-C ends the line with ^C and stops', 'abc\x1b[D\x03d\r', [], 'abc\x1b[1D\x1b[1C^C\r\n<stop>'],
    ['Stop is Ctrl-C', ['ab', (input) => input.interrupt(), (input) => input.interrupt(), 'c\r'], [], 'ab^C\r\n<stop>'],
    [
      'pasted control characters are dropped but Tab and CR',
      '\x1b[200~a\tb\x01\x1b\x7f\x85\x03c\rd\x1b[201~\r',
      ['a\tbc\r\n', 'd\r\n'],
      'a       bc\r\nd\r\n',
    ],
    [
      'a combining mark joins its letter; Backspace removes both',
      ['cafe', '\u0301', '\x7f\r'],
      ['caf\r\n'],
      'cafe\x1b[1De\u0301\b \b\r\n',
    ],
    ['Backspace over a wide character', '中文\x7f\r', ['\xe4\xb8\xad\r\n'], '中文\b\b  \b\b\r\n', { width: () => 2 }],
  ];
  for (const [name, keys, lines, echo, options] of cases) {
    await t.test(name, async () => {
      /** @type {string[]} */
      const read = [];
      const { echo: echoed } = typed(keys, options, read);
      await new Promise(setImmediate);
      assert.deepStrictEqual(read, lines);
      assert.strictEqual(echoed(), echo);
    });
  }
});

test('pasting is the same as typing key by key', async () => {
  const dialogue = 'ap\r1\r3\r1\r1\r1\r\r';
  const pasted = typed(dialogue);
  const keyed = typed([...dialogue]);
  assert.deepStrictEqual(await readAll(pasted.input), await readAll(keyed.input));
  assert.strictEqual(pasted.echo(), keyed.echo());
});

test('a read gives at most one line, in pieces of the buffer size', async () => {
  const { input } = typed('x'.repeat(300) + '\rok\r');
  assert.strictEqual((await input.next(256)).length, 256);
  assert.strictEqual(byteString(await input.next(256)), 'x'.repeat(44) + '\r\n');
  assert.strictEqual(byteString(await input.next(256)), 'ok\r\n');
});

test('a read waits for Enter', async () => {
  const { input } = typed('ab');
  let got = null;
  const reading = input.next(256).then((/** @type {Uint8Array} */ bytes) => (got = byteString(bytes)));
  await new Promise((resolve) => setImmediate(resolve));
  assert.strictEqual(got, null);
  input.feed('c\r');
  await reading;
  assert.strictEqual(got, 'abc\r\n');
});

test('keys after the run has ended are ignored', async () => {
  const { input, echo } = typed('a');
  input.next(256);
  input.closed = true;
  input.feed('b\r');
  assert.strictEqual(echo(), 'a');
  assert.strictEqual(input.keys.length, 0);
});

// The line between two runs (web/page/run.js), in English.
test("the line between runs starts on a line of its own, never after the last run's text", () => {
  const { Runner } = require(path.join(__dirname, '..', '..', 'web', 'page', 'run.js'));
  for (const [cursorX, start] of [
    [0, '\x1b[0m\r\n'],
    [7, '\r\n\x1b[0m\r\n'],
  ]) {
    let written = '';
    const term = { buffer: { active: { cursorX } }, write: (/** @type {string} */ text) => (written += text) };
    Runner.separate(/** @type {import('@xterm/xterm').Terminal} */ (/** @type {unknown} */ (term)));
    assert.strictEqual(written, start + '\x1b[2m──── new run ────\x1b[0m\r\n');
  }
});

test('keys typed ahead are echoed when the read begins', async () => {
  const { input, echo } = typed('ab\x1b[Dc\r');
  assert.strictEqual(echo(), '');
  assert.strictEqual(byteString(await input.next(256)), 'acb\r\n');
  assert.strictEqual(echo(), 'ab\x1b[1Dcb\x1b[1D\x1b[1C\r\n');
});

test('the history is kept across runs without empty lines or repeats', async () => {
  /** @type {string[]} */
  const history = [];
  await readAll(typed('one\r\rtwo\rtwo\r', { history }).input);
  assert.deepStrictEqual(history, ['one', 'two']);
  const { input } = typed('th\x1b[A\x1b[A\x1b[A\x1b[B\x1b[B\x1b[B!\r', { history });
  assert.deepStrictEqual(await readAll(input), ['th!\r\n']);
});

test('the screen shows the line that Enter sends', async (t) => {
  /** @type {Array<[string, number, string, string, EditorOptions?]>} */
  const cases = [
    // [name, columns, key data, the line with | at the cursor, options]; the prompt is '> '
    [
      'a long line wraps; the cursor crosses rows',
      10,
      'abcdefghijklmn' + '\x1b[D'.repeat(7) + 'XY',
      'abcdefgXY|hijklmn',
    ],
    ['wide characters that do not fit go to the next row', 10, '中'.repeat(5) + '\x1b[Ha\x1b[F\x1b[D', 'a中中中中|中'],
    ['Delete pulls a wide character back to the row', 10, 'abcdefg中\x1b[H\x1b[3~', '|bcdefg中'],
    ['Backspace, Left and Right at the right margin', 10, 'abcdefghi\x7f\x1b[D\x1b[Cj', 'abcdefghj|'],
    ['^Z across the margin', 10, 'abcdefg\x1a\x1b[D', 'abcdefg|\x1a'],
    ['an emoji sequence breaks across rows as in the terminal', 10, 'abcd👩‍👩‍👧x\x1b[H\x1b[F\x1b[D', 'abcd👩‍👩‍👧|x'],
    [
      'Down erases a long recalled line',
      10,
      'xy\x1b[A\x1b[Be\u0301\x1b[D',
      'xy|e\u0301',
      { history: ['a long recalled line'] },
    ],
  ];
  for (const [name, cols, keys, line, options] of cases) {
    await t.test(name, async (t) => {
      if (!xterm) return t.skip(`no xterm.js in ${npm}`);
      // The page's way: the line editor add-on with the terminal's one widths add-on.
      const terminal = new xterm.Terminal({ cols, rows: 8, allowProposedApi: true });
      const addon = new LineEditorAddon(new xterm.Unicode11Addon());
      terminal.loadAddon(addon);
      assert.strictEqual(terminal.unicode.activeVersion, '11');
      const written = () => new Promise((resolve) => terminal.write('', resolve));
      const { input } = typed(keys, { addon, ...options });
      terminal.write('> ');
      const read = input.next(256);
      await written();
      await new Promise(setImmediate);
      await written();
      const screen = terminal.buffer.active;
      const cursor = screen.cursorY * cols + screen.cursorX;
      const cell = (/** @type {number} */ i) => screen.getLine(Math.floor(i / cols)).getCell(i % cols);
      const cells = (/** @type {boolean} */ before) =>
        [...Array(8 * cols).keys()]
          .filter((i) => (before ? i < cursor : i >= cursor))
          .map((i) => cell(i).getChars())
          .join('');
      const [left, right] = line.replaceAll('\x1a', '^Z').split('|');
      assert.deepStrictEqual([cells(true), cells(false)], ['> ' + left, right]);
      input.feed('\r');
      assert.strictEqual(new TextDecoder().decode(await read), line.replace('|', '') + '\r\n');
      await written();
      const rows = [...Array(8).keys()].filter((y) => screen.getLine(y).translateToString(true) !== '');
      assert.deepStrictEqual([screen.cursorX, screen.cursorY], [0, rows.length]);
      // The terminal's own key data reaches the editor, until the add-on goes.
      const next = input.next(256);
      terminal.input('k\r', false);
      assert.strictEqual(byteString(await next), 'k\r\n');
      addon.dispose();
      assert.ok(input.closed);
    });
  }
});
