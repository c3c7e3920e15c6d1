// The terminal's line editor: the console's line mode over the terminal's
// key data, edited as in a console window while the program waits for a
// line. A line goes to the program when Enter is pressed, ended by CR LF.

// Keys arrive through feed() at any time but are echoed and edited only while
// the program reads (a pending next()): keys typed ahead wait for the read,
// Ctrl-C alone acts at once. Left/Right, Home/End, Delete and Backspace edit
// the line one grapheme cluster at a time, Up/Down recall the lines typed
// earlier (the shared `history`, oldest first), Enter sends the whole line
// with CR LF. Ctrl-D sends the end of input on an empty line (the line so far
// otherwise), Ctrl-Z adds byte 26, shown as ^Z. Pasted text comes bracketed
// ("\x1b[200~" ... "\x1b[201~") with CR between its lines: each CR is Enter,
// Tab is kept and other control characters are dropped.
//
// The echo follows the terminal's layout: the line starts at the column the
// terminal's cursor stood in when the read began and wraps at the terminal's
// width; a wide character that does not fit at the end of a row goes to the
// next one. Screen positions are numbers, row * (columns + 1) + column, where
// column === columns means the cursor stands after a full row, waiting to
// wrap (reached only by writing the cell that fills the row). After an edit
// the line is written again from the first grapheme that changed.

/**
 * A key not handled yet: `{ key }`, or `{ key: 'text', text }` for typed text.
 * @typedef {{ key: string, text?: string }} Key
 */
/**
 * Where each grapheme of a line starts and ends on screen, and where the line ends.
 * @typedef {{ starts: number[], ends: number[], end: number }} Layout
 */
/**
 * The line on screen while the program reads: its text, split in graphemes, the
 * cursor (a grapheme index), the terminal's width, where the line starts, where
 * the terminal's cursor stands, the history entry shown and the line typed before
 * recalling one.
 * @typedef {{ text: string, graphemes: string[], cursor: number, cols: number, origin: number, at: number,
 *   recall: number, draft: string, layout: Layout }} Line
 */
/**
 * The program's waiting read: up to `size` bytes, given to `resolve`.
 * @typedef {{ size: number, resolve: (bytes: Uint8Array) => void }} Reader
 */
/**
 * What the editor is given: where its echo goes, a grapheme's width in cells,
 * the terminal's width, the column its cursor stands in (at once or later), the
 * lines typed earlier and what Ctrl-C does besides.
 * @typedef {{ write?: (text: string) => void, width?: (grapheme: string) => number, columns?: () => number,
 *   column?: () => number | Promise<number>, history?: string[], onInterrupt?: () => void }} EditorOptions
 */
/** @typedef {import('@xterm/xterm').Terminal} Terminal */
/** @typedef {import('@xterm/xterm').IUnicodeVersionProvider} IUnicodeVersionProvider */

export class LineEditor {
  static segmenter =
    typeof Intl === 'object' && Intl.Segmenter ? new Intl.Segmenter(undefined, { granularity: 'grapheme' }) : null;
  static encoder = new TextEncoder();
  static ESCAPE = /(\[[0-?]*[ -/]*[@-~]|O.|.)?/suy; // what follows ESC in a key's sequence
  static TEXT = /\P{Cc}+/uy; // no control character (C0, DEL, C1)
  /** @type {Record<string, string>} */
  static KEYS = {
    '\x1b[A': 'up',
    '\x1bOA': 'up',
    '\x1b[B': 'down',
    '\x1bOB': 'down',
    '\x1b[C': 'right',
    '\x1bOC': 'right',
    '\x1b[D': 'left',
    '\x1bOD': 'left',
    '\x1b[H': 'home',
    '\x1bOH': 'home',
    '\x1b[1~': 'home',
    '\x1b[7~': 'home',
    '\x1b[F': 'end',
    '\x1bOF': 'end',
    '\x1b[4~': 'end',
    '\x1b[8~': 'end',
    '\x1b[3~': 'delete',
    '\r': 'enter',
    '\x7f': 'backspace',
    '\b': 'backspace',
    '\x04': 'eof',
  };

  /** @param {EditorOptions} [options] */
  constructor(options = {}) {
    this.echo = options.write || (() => {});
    this.width = options.width || LineEditor.width;
    this.columns = options.columns || (() => 80);
    this.column = options.column || (() => 0);
    this.history = options.history || [];
    this.onInterrupt = options.onInterrupt || (() => {});
    /** @type {Key[]} */
    this.keys = []; // keys not handled yet: { key } or { key: 'text', text }
    this.pasting = false; // inside a bracketed paste
    /** @type {Uint8Array | null} */
    this.pending = null; // the part of a sent line the program has not read yet
    /** @type {Reader | null} */
    this.reader = null; // the program's waiting read: { size, resolve }
    /** @type {Line | null} */
    this.line = null; // the line on screen while the program reads
    this.out = ''; // echo not written yet
    this.closed = false;
    this.touched = false; // a key has come
  }

  /** @param {string} data */
  feed(data) {
    if (this.closed) return;
    this.touched = true;
    for (let i = 0; i < data.length;) {
      if (this.pasting) {
        let end = data.indexOf('\x1b[201~', i);
        if (end < 0) end = data.length;
        const lines = data.slice(i, end).split('\r');
        lines.forEach((text, n) => {
          if (n > 0) this.keys.push({ key: 'enter' });
          this.type(text.replace(/(?!\t)\p{Cc}/gu, ''));
        });
        this.pasting = end === data.length;
        i = end + 6;
      } else if (data[i] === '\x1b') {
        // A key's escape sequence; other keys (function keys, Ctrl-arrows) are skipped whole.
        LineEditor.ESCAPE.lastIndex = i + 1;
        const seq = '\x1b' + /** @type {RegExpExecArray} */ (LineEditor.ESCAPE.exec(data))[0]; // it matches anywhere
        i += seq.length;
        if (seq === '\x1b[200~') this.pasting = true;
        else if (LineEditor.KEYS[seq]) this.keys.push({ key: LineEditor.KEYS[seq] });
      } else {
        LineEditor.TEXT.lastIndex = i;
        const text = LineEditor.TEXT.exec(data);
        if (text) {
          this.type(text[0]);
          i += text[0].length;
          continue;
        }
        const c = data[i++];
        if (c === '\x03') {
          this.pump();
          this.interrupt();
          return;
        }
        if (LineEditor.KEYS[c]) this.keys.push({ key: LineEditor.KEYS[c] });
        else if (c === '\t' || c === '\x1a') this.type(c);
      }
    }
    this.pump();
  }

  /** @param {string} text */
  type(text) {
    const last = this.keys[this.keys.length - 1];
    if (last && last.key === 'text') last.text += text;
    else if (text) this.keys.push({ key: 'text', text });
  }

  // Ctrl-C: ^C after the line, and no more keys or lines.
  interrupt() {
    if (this.closed) return;
    if (this.line) this.moveTo(this.line.layout.end);
    this.out += '^C\r\n';
    this.flush();
    this.close();
    this.onInterrupt();
  }

  close() {
    this.closed = true;
    this.keys = [];
    this.line = null;
    this.reader = null;
    this.pending = null;
  }

  // Up to `size` bytes of the next line (none at the end of input); the line
  // is edited on screen until Enter.
  /**
   * @param {number} size
   * @returns {Promise<Uint8Array>}
   */
  next(size) {
    if (this.pending !== null) return Promise.resolve(this.take(size));
    return new Promise((resolve) => {
      if (this.closed) return;
      this.reader = { size, resolve };
      const column = this.column();
      const unknown = () => this.begin(0); // the column could not be read
      const later = /** @type {Promise<number>} */ (column); // the column when it comes later
      if (column && typeof later.then === 'function') later.then((c) => this.begin(c), unknown);
      else this.begin(/** @type {number} */ (column));
    });
  }

  /**
   * @param {number} size
   * @returns {Uint8Array}
   */
  take(size) {
    const pending = /** @type {Uint8Array} */ (this.pending); // taken from only while a line is pending
    const part = pending.subarray(0, size);
    this.pending = pending.length > size ? pending.subarray(size) : null;
    return part;
  }

  /** @param {number} column */
  begin(column) {
    if (this.closed || !this.reader) return;
    const cols = Math.max(1, this.columns() | 0);
    const origin = Math.min(Math.max(0, column | 0), cols);
    this.line = /** @type {Line} */ ({
      text: '',
      graphemes: /** @type {string[]} */ ([]),
      cursor: 0,
      cols,
      origin,
      at: origin,
      recall: this.history.length,
      draft: '',
    }); // its layout follows, which needs the line
    this.line.layout = this.layout([]);
    this.pump();
  }

  pump() {
    while (this.line && this.keys.length > 0) this.press(/** @type {Key} */ (this.keys.shift()));
    this.flush();
  }

  flush() {
    const out = this.out;
    this.out = '';
    if (out) this.echo(out);
  }

  // The line being read: the editor edits, lays out and moves only while it
  // reads one.
  /** @returns {Line} */
  current() {
    return /** @type {Line} */ (this.line);
  }

  /** @param {Key} key */
  press({ key, text }) {
    const line = this.current(); // keys are pressed only while a line is read
    const { graphemes, cursor } = line;
    /** @param {number} i */
    const at = (i) => graphemes.slice(0, i).join('').length; // where grapheme i begins in the text
    if (key === 'text') {
      const typed = /** @type {string} */ (text); // text keys carry their text
      this.edit(line.text.slice(0, at(cursor)) + typed + line.text.slice(at(cursor)), at(cursor) + typed.length);
    } else if (key === 'backspace' && cursor > 0) {
      this.edit(line.text.slice(0, at(cursor - 1)) + line.text.slice(at(cursor)), at(cursor - 1));
    } else if (key === 'delete' && cursor < graphemes.length) {
      this.edit(line.text.slice(0, at(cursor)) + line.text.slice(at(cursor + 1)), at(cursor));
    } else if (key === 'left' || key === 'right' || key === 'home' || key === 'end') {
      const to = { left: cursor - 1, right: cursor + 1, home: 0, end: graphemes.length }[key];
      this.place(Math.min(Math.max(0, to), graphemes.length));
    } else if ((key === 'up' && line.recall > 0) || (key === 'down' && line.recall < this.history.length)) {
      if (line.recall === this.history.length) line.draft = line.text;
      line.recall += key === 'up' ? -1 : 1;
      const recalled = line.recall === this.history.length ? line.draft : this.history[line.recall];
      this.edit(recalled, recalled.length);
    } else if (key === 'enter') {
      this.place(graphemes.length);
      this.out += line.at === line.layout.end ? '\r\n' : '\r'; // already at the start of a row after a full one
      if (line.text !== '' && line.text !== this.history[this.history.length - 1]) this.history.push(line.text);
      this.send(LineEditor.encoder.encode(line.text + '\r\n'));
    } else if (key === 'eof') {
      this.place(graphemes.length);
      this.send(line.text === '' ? null : LineEditor.encoder.encode(line.text));
    }
  }

  /** @param {Uint8Array | null} bytes */
  send(bytes) {
    const { size, resolve } = /** @type {Reader} */ (this.reader); // a line is read only for a reader
    this.reader = null;
    this.line = null;
    this.pending = bytes;
    resolve(bytes === null ? new Uint8Array(0) : this.take(size));
  }

  // The line becomes `text`, the cursor the first grapheme boundary at or
  // after `offset`; the screen follows.
  /**
   * @param {string} text
   * @param {number} offset
   */
  edit(text, offset) {
    const line = this.current();
    const old = line.graphemes;
    const shown = line.layout;
    const graphemes = LineEditor.graphemes(text);
    let cursor = 0;
    for (let o = 0; cursor < graphemes.length && o < offset;) o += graphemes[cursor++].length;
    let k = 0; // the first grapheme that changed
    while (k < graphemes.length && k < old.length && graphemes[k] === old[k]) k++;
    Object.assign(line, { text, graphemes, cursor, layout: this.layout(graphemes) });
    const { ends, end } = line.layout;
    const stride = line.cols + 1;
    const cells = shown.end - shown.starts[k];
    if (
      k === graphemes.length &&
      k === old.length - 1 &&
      cursor === k &&
      line.at === shown.end &&
      end === shown.starts[k] &&
      cells > 0 &&
      cells <= shown.end % stride &&
      shown.end % stride < line.cols
    ) {
      // Backspace at the end of the line, within one row.
      this.out += '\b'.repeat(cells) + ' '.repeat(cells) + '\b'.repeat(cells);
      line.at = end;
    } else if (k < graphemes.length || k < old.length) {
      // Written again from where grapheme k begins; the end of a full row
      // cannot be reached by moving the cursor, so from its last grapheme then.
      /** @param {number} i */
      const pen = (i) => (i === 0 ? line.origin : ends[i - 1]);
      let from = k;
      while (from > 0 && pen(from) % stride === line.cols && pen(from) !== line.at) from--;
      this.moveTo(pen(from));
      for (let i = from; i < graphemes.length; i++) this.out += this.shown(i);
      if (from < graphemes.length) line.at = end;
      if (shown.end > end) this.out += '\x1b[J';
    }
    this.place(cursor);
  }

  /** @param {number} cursor */
  place(cursor) {
    const line = this.current();
    const { layout } = line;
    line.cursor = cursor;
    this.moveTo(cursor < layout.starts.length ? layout.starts[cursor] : layout.end);
  }

  // Moves the terminal's cursor to position `p` of the line on screen.
  /**
   * @param {number} p
   * @returns {void}
   */
  moveTo(p) {
    const line = this.current();
    const { cols, at, graphemes } = line;
    const { starts } = line.layout;
    if (p === at) return;
    const stride = cols + 1;
    if (p % stride === cols) {
      // After a full row: write the graphemes that end there again.
      let j = graphemes.length - 1;
      while (j >= 0 && starts[j] >= p) j--;
      if (j < 0) return this.moveTo(p + 1);
      this.moveTo(starts[j]);
      for (; j < graphemes.length && starts[j] <= p; j++) this.out += this.shown(j);
      line.at = p;
      return;
    }
    const [row, col] = [Math.floor(p / stride), p % stride];
    const [atRow, atCol] = [Math.floor(at / stride), at % stride];
    if (row !== atRow) {
      this.out += row < atRow ? `\x1b[${atRow - row}A` : `\x1b[${row - atRow}B`;
      if (col !== Math.min(atCol, cols - 1)) this.out += `\x1b[${col + 1}G`;
    } else if (atCol === cols) {
      this.out += `\x1b[${col + 1}G`;
    } else {
      this.out += col < atCol ? `\x1b[${atCol - col}D` : `\x1b[${col - atCol}C`;
    }
    line.at = p;
  }

  // Where each grapheme starts and ends on screen, and where the line ends.
  /**
   * @param {string[]} graphemes
   * @returns {Layout}
   */
  layout(graphemes) {
    const { cols, origin } = this.current();
    const stride = cols + 1;
    /** @type {number[]} */
    const starts = [];
    /** @type {number[]} */
    const ends = [];
    let row = 0;
    let col = origin;
    for (const grapheme of graphemes) {
      let start = -1;
      for (const w of this.cells(grapheme, col === cols ? 0 : col)) {
        if (w > 0 && col + w > cols) {
          row++;
          col = 0;
        }
        if (start < 0) start = row * stride + col;
        col += w;
      }
      starts.push(start < 0 ? row * stride + col : start);
      ends.push(row * stride + col);
    }
    return { starts, ends, end: row * stride + col };
  }

  // The cells a grapheme takes at column `col`, split where the terminal may
  // wrap inside it: ^Z is two characters, a Tab is shown as spaces up to the
  // next multiple of 8 columns, and a cluster of several wide characters
  // (an emoji sequence, where the terminal gives each its own cells) may
  // break between them.
  /**
   * @param {string} grapheme
   * @param {number} col
   * @returns {number[]}
   */
  cells(grapheme, col) {
    const cols = this.current().cols;
    if (grapheme === '\t') return Array(Math.min(8 - (col % 8), cols - col)).fill(1);
    if (grapheme === '\x1a') return [1, 1];
    /** @param {string} text */
    const width = (text) => Math.max(0, this.width(text) | 0);
    const total = width(grapheme);
    const parts = grapheme.length < 2 ? [] : Array.from(grapheme, width).filter((w) => w > 0);
    const split = parts.length > 1 && parts.reduce((a, b) => a + b) === total;
    return (split ? parts : [total]).map((w) => Math.min(w, cols));
  }

  /**
   * @param {number} i
   * @returns {string}
   */
  shown(i) {
    const { graphemes, layout } = this.current();
    const grapheme = graphemes[i];
    if (grapheme === '\t') return ' '.repeat(layout.ends[i] - layout.starts[i]);
    return grapheme === '\x1a' ? '^Z' : grapheme;
  }

  /**
   * @param {string} text
   * @returns {string[]}
   */
  static graphemes(text) {
    if (!LineEditor.segmenter) return Array.from(text);
    return Array.from(LineEditor.segmenter.segment(text), (s) => s.segment);
  }

  // Cells for a grapheme where the terminal gives none: one per code point,
  // none for combining marks.
  /**
   * @param {string} grapheme
   * @returns {number}
   */
  static width(grapheme) {
    let cells = 0;
    for (const c of grapheme) if (c < '\u0300' || c > '\u036f') cells++;
    return cells;
  }
}

// The line editor as an xterm.js add-on. Loaded into a terminal, it makes
// each run's editor over that terminal: the editor echoes into it, wraps at
// its width, measures with its character widths and takes its key data.
// xterm.js has no public width API, so the add-on activates the widths
// add-on given to it (Unicode 11) on a stand-in whose unicode.register keeps
// the provider, then registers that provider with the terminal and makes it
// the active one. This relies only on the widths add-on's activate() calling
// terminal.unicode.register(provider), as @xterm/addon-unicode11 0.9.0 does
// (src/Unicode11Addon.ts, line 14: terminal.unicode.register(new UnicodeV11())),
// and on the provider's public version and wcwidth (IUnicodeVersionProvider).
export class LineEditorAddon {
  /** @param {import('@xterm/xterm').ITerminalAddon} widthsAddon */
  constructor(widthsAddon) {
    this.widthsAddon = widthsAddon;
    /** @type {IUnicodeVersionProvider | null} */
    this.widths = null; // the terminal's width provider, once activated
    /** @type {Terminal | null} */
    this.terminal = null;
    /** @type {LineEditor | null} */
    this.editor = null; // the editor that takes the keys now
    /** @type {import('@xterm/xterm').IDisposable | null} */
    this.subscription = null;
  }

  /** @param {Terminal} terminal */
  activate(terminal) {
    this.terminal = terminal;
    /** @type {{ unicode: { register: (provider: IUnicodeVersionProvider) => void } }} */
    const standIn = { unicode: { register: (provider) => (this.widths = provider) } };
    this.widthsAddon.activate(/** @type {Terminal} */ (standIn)); // the widths add-on uses unicode.register only
    if (this.widths) {
      terminal.unicode.register(this.widths);
      terminal.unicode.activeVersion = this.widths.version;
    }
    this.subscription = terminal.onData((data) => {
      if (this.editor) this.editor.feed(data);
    });
  }

  dispose() {
    if (this.subscription) this.subscription.dispose();
    if (this.editor) this.editor.close();
    this.widthsAddon.dispose();
    this.subscription = this.editor = this.terminal = null;
  }

  // A new editor, which takes the terminal's keys from now on; `options` as
  // for LineEditor (history, onInterrupt).
  /**
   * @param {EditorOptions} [options]
   * @returns {LineEditor}
   */
  start(options = {}) {
    const terminal = /** @type {Terminal} */ (this.terminal); // started only once activated
    this.editor = new LineEditor({
      write: (text) => terminal.write(text),
      width: (grapheme) => this.width(grapheme),
      columns: () => terminal.cols,
      column: () => new Promise((resolve) => terminal.write('', () => resolve(terminal.buffer.active.cursorX))),
      ...options,
    });
    return this.editor;
  }

  /**
   * @param {string} grapheme
   * @returns {number}
   */
  width(grapheme) {
    if (!this.widths) return LineEditor.width(grapheme);
    let cells = 0;
    for (const c of grapheme) cells += this.widths.wcwidth(/** @type {number} */ (c.codePointAt(0)));
    return cells;
  }
}

// Bytes as a string of char codes 0..255 (apply takes the bytes as they are:
// any array-like of numbers will do).
/**
 * @param {Uint8Array} bytes
 * @returns {string}
 */
export function byteString(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) {
    text += String.fromCharCode.apply(
      null,
      /** @type {number[]} */ (/** @type {unknown} */ (bytes.subarray(i, i + 8192)))
    );
  }
  return text;
}
