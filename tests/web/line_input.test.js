// The page's line mode (web/page.js): what each key does to the echo and to
// the bytes the program reads. Run with `node --test`.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const path = require('node:path');
const { LineInput, byteString } = require(path.join(__dirname, '..', '..', 'web', 'page.js'));

function typed(data) {
  let echo = '';
  const input = new LineInput((text) => (echo += text));
  for (const piece of [].concat(data)) input.feed(piece);
  return { input, echo: () => echo };
}

// Everything queued, each line (or the end of input, as '<end>') read whole.
async function readAll(input) {
  const lines = [];
  while (input.lines.length > 0 || input.pending !== null) {
    const bytes = await input.next(256);
    lines.push(bytes.length === 0 ? '<end>' : byteString(bytes));
  }
  return lines;
}

test('keys become lines and echo', async (t) => {
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
    ['other control keys are skipped', 'a\x03\x01b\r', ['ab\r\n'], 'ab\r\n'],
    ['non-ASCII is sent as UTF-8', 'п\r', ['\xd0\xbf\r\n'], 'п\r\n'],
    ['Backspace removes a whole character', 'пр\x7f\r', ['\xd0\xbf\r\n'], 'пр\b \b\r\n'],
    ['a pasted dialogue is queued line by line', 'ap\r1\r3\r', ['ap\r\n', '1\r\n', '3\r\n'], 'ap\r\n1\r\n3\r\n'],
  ];
  for (const [name, keys, lines, echo] of cases) {
    await t.test(name, async () => {
      const { input, echo: echoed } = typed(keys);
      assert.deepStrictEqual(await readAll(input), lines);
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
  const reading = input.next(256).then((bytes) => (got = byteString(bytes)));
  await new Promise((resolve) => setImmediate(resolve));
  assert.strictEqual(got, null);
  input.feed('c\r');
  await reading;
  assert.strictEqual(got, 'abc\r\n');
});

test('keys after the run has ended are ignored', async () => {
  const { input, echo } = typed('a');
  input.closed = true;
  input.feed('b\r');
  assert.strictEqual(echo(), 'a');
  assert.strictEqual(input.lines.length, 0);
});
