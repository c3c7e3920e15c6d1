// The run: one instance of the program at a time in the terminal, Stop, and
// the status line under the terminal, which says in plain words what the run
// is doing or how it ended. Each run is a fresh instance of the program; the
// compiled code (program-load.js) is kept and instantiated again for "Run
// again".
import { setDownload } from './folder-pane.js';
import { tr } from './language.js';
import { byteString } from './line-editor.js';

/** @typedef {import('./line-editor.js').LineEditor} LineEditor */
/** @typedef {'loading' | 'waiting' | 'running' | 'ended' | 'stopped'} Phase */

/**
 * A run of the program (see start()).
 * @typedef {{ phase: Phase, asked: boolean, output: string[], exitCode: number | null, generated: string | null,
 *   inputEnded: boolean, failure: string | null, editor: LineEditor }} Run
 */

/**
 * The run bar's elements.
 * @typedef {{ status: HTMLElement, next: HTMLElement, earlier: HTMLElement, generated: HTMLAnchorElement,
 *   compile: HTMLElement, stop: HTMLButtonElement, runAgain: HTMLButtonElement }} RunView
 */

/**
 * The program: its WebAssembly, compiled, and the factory of its JavaScript.
 * @typedef {{ compiled: Promise<WebAssembly.Module>, create: (module: object) => Promise<unknown> }} Program
 */

/**
 * What a run gives the program's JavaScript (program-pre.js takes the zv ones).
 * @typedef {{ zvFolder: import('./folder.js').Folder, zvFolderReady: Promise<unknown>,
 *   zvReadInput: (size: number) => Promise<Uint8Array>, zvWriteOutput: (bytes: Uint8Array) => void,
 *   zvStore: (name: string, bytes: Uint8Array, append: boolean) => Promise<unknown>, zvExit: (code: number) => void,
 *   print: () => void, printErr: () => void, instantiateWasm?: (imports: WebAssembly.Imports,
 *   receive: (instance: WebAssembly.Instance, module: WebAssembly.Module) => void) => object }} ProgramModule
 */

export class Runner {
  // `program`: the program's WebAssembly, compiled, and the factory of its
  // JavaScript (Emscripten's); `view`: the run bar's elements.
  /**
   * @param {{ term: import('@xterm/xterm').Terminal, folder: import('./folder.js').Folder,
   *   lineEditor: import('./line-editor.js').LineEditorAddon, history: string[], view: RunView,
   *   program: Program }} parts
   */
  constructor({ term, folder, lineEditor, history, view, program }) {
    this.term = term;
    this.folder = folder;
    this.lineEditor = lineEditor; // the terminal's line editor add-on
    this.history = history; // the lines typed in this page, across runs
    this.el = view; // status, next, earlier, generated, compile, stop, runAgain
    this.program = program;
    /** @type {Run | null} */
    this.run = null;
    // Settled once the program first waits for a line: the page's other work may begin then.
    /** @type {Promise<void>} */
    this.firstPrompt = new Promise((resolve) => (this.prompted = resolve));
    this.el.stop.addEventListener('click', () => this.stop());
    folder.listeners.push(() => this.showGenerated());
    // The program file shown under the terminal: the last one a run wrote,
    // kept there while later runs go on, until another program is written.
    /** @type {string | null} */
    this.shown = null;
    // Keys typed on after a run ends never start the next one: from the
    // keyboard, Run again takes only a key that follows a second in which no
    // key was pressed (Tab, which moves the focus, and modifier keys alone
    // apart), and every key pressed restarts that second, auto-repeat too. A
    // click or tap works at once.
    this.quietFrom = 0; // when the last key that counts was pressed, or the run ended
    /** @type {string | null} */
    this.taken = null; // the key Run again took, until its keyup
    window.addEventListener('keydown', (event) => this.keyDown(event), true);
    for (const type of /** @type {const} */ (['keypress', 'keyup'])) {
      this.el.runAgain.addEventListener(
        type,
        (event) => {
          if (event.key !== this.taken && Runner.counts(event)) event.preventDefault();
          if (type === 'keyup') this.taken = null;
        },
        true
      );
    }
  }

  // A key that restarts the quiet second.
  /** @param {KeyboardEvent} event */
  static counts(event) {
    return event.key !== 'Tab' && !Runner.MODIFIERS.has(event.key);
  }

  static MODIFIERS = new Set([
    'Shift',
    'Control',
    'Alt',
    'AltGraph',
    'Meta',
    'OS',
    'Super',
    'Hyper',
    'Fn',
    'FnLock',
    'CapsLock',
    'NumLock',
    'ScrollLock',
    'Symbol',
    'SymbolLock',
  ]);

  /** @param {KeyboardEvent} event */
  keyDown(event) {
    const now = performance.now();
    const quiet = now - this.quietFrom >= 1000;
    if (!Runner.counts(event)) return;
    this.quietFrom = now;
    if (event.target !== this.el.runAgain || event.ctrlKey || event.altKey || event.metaKey) return;
    // Refused: not taken, and no scroll either, so the run's end stays in view.
    if (quiet) this.taken = event.key;
    else event.preventDefault();
  }

  // A fresh run of the program, once `folderReady` has read the folder
  // (again: other tabs may have changed it).
  /** @param {Promise<unknown>} folderReady */
  start(folderReady) {
    const run = /** @type {Run} */ ({
      phase: 'loading', // then 'waiting' (for a line), 'running', 'ended' or 'stopped'
      asked: false, // the program has asked for a line
      output: [], // the transcript's chunks, strings of char codes 0..255
      exitCode: null,
      generated: null, // the name of the program file the run wrote
      inputEnded: false, // the line editor delivered the end of input (Ctrl-D)
      failure: null,
      editor: /** @type {LineEditor | null} */ (null), // set at once below
    });
    run.editor = this.lineEditor.start({ history: this.history, onInterrupt: () => this.ended(run, 'stopped') });
    const { term, el } = this;
    // The first run starts on the terminal as the page opened it; a later one below the last one's end,
    // which stays readable.
    if (this.run !== null) Runner.separate(term);
    this.run = run;
    term.write('\x1b[?2004h'); // pasted text comes bracketed, apart from typed keys
    term.options.cursorBlink = true;
    el.runAgain.disabled = true;
    el.stop.disabled = false;
    this.render();

    // Once a run is stopped, nothing it waits for comes back: it writes nothing more.
    /**
     * @template T
     * @param {Promise<T>} promise
     * @returns {Promise<T>}
     */
    const live = (promise) => promise.then((value) => (run.phase === 'stopped' ? new Promise(() => {}) : value));
    /** @type {ProgramModule} */
    const module = {
      zvFolder: this.folder,
      zvFolderReady: folderReady,
      zvReadInput: (size) => {
        run.asked = true;
        this.prompted();
        this.setPhase(run, 'waiting');
        return live(run.editor.next(size)).then((bytes) => {
          if (bytes.length === 0) run.inputEnded = true;
          this.setPhase(run, 'running');
          return bytes;
        });
      },
      zvWriteOutput: (bytes) => {
        if (run.phase === 'stopped') return;
        run.output.push(byteString(bytes));
        term.write(bytes);
      },
      zvStore: (name, bytes, append) => {
        if (append) return live(this.folder.append(name, bytes));
        return live(
          this.folder.put(name, bytes).then(() => {
            run.generated = name;
            this.shown = name;
          })
        );
      },
      zvExit: (code) => {
        run.editor.close();
        run.exitCode = code;
        this.ended(run, 'ended');
      },
      print() {},
      printErr() {},
    };
    module.instantiateWasm = (imports, receive) => {
      this.program.compiled
        .then((code) => WebAssembly.instantiate(code, imports).then((instance) => receive(instance, code)))
        .catch((error) => this.failed(run, error));
      return {};
    };
    // The program starts once it is compiled, and greets; the folder is read meanwhile.
    Promise.resolve()
      .then(() => run === this.run && run.phase !== 'stopped' && this.program.create(module))
      .catch((error) => this.failed(run, error));
    folderReady.catch((error) => this.failed(run, error));
  }

  // Stop: as Ctrl-C in the terminal.
  stop() {
    if (this.run && !this.run.editor.closed) this.run.editor.interrupt();
  }

  /**
   * @param {Run} run
   * @param {unknown} error
   */
  failed(run, error) {
    run.failure = String(error);
    run.editor.close();
    this.ended(run, 'ended');
  }

  /**
   * @param {Run} run
   * @param {Phase} phase
   */
  setPhase(run, phase) {
    if (Runner.over(run)) return;
    run.phase = phase;
    if (run === this.run) this.render();
  }

  /**
   * @param {Run} run
   * @param {Phase} phase
   */
  ended(run, phase) {
    run.phase = phase;
    if (run !== this.run) return;
    const { term, el } = this;
    this.quietFrom = Math.max(this.quietFrom, performance.now());
    term.options.cursorBlink = false;
    el.stop.disabled = true;
    el.runAgain.disabled = false;
    this.render();
    el.runAgain.focus();
  }

  // The current run goes on, and no key has reached it: a reload now would
  // lose nothing typed or shown.
  idle() {
    const run = this.run;
    return run !== null && !Runner.over(run) && !run.editor.touched;
  }

  // The run has ended, or was stopped.
  /** @param {Run} run */
  static over(run) {
    return run.phase === 'ended' || run.phase === 'stopped';
  }

  state() {
    if (!this.run) return 'loading';
    if (this.run.phase === 'running' && !this.run.asked) return 'loading';
    return this.run.phase;
  }

  // The status line's text.
  statusText() {
    const run = this.run;
    let text;
    if (!run || this.state() === 'loading') text = tr('loading');
    else if (run.phase === 'stopped') text = tr('stopped');
    else if (run.failure !== null) text = tr('notStarted', { error: run.failure });
    else if (run.phase !== 'ended') text = tr('waiting');
    else if (run.exitCode !== 0)
      text = tr('error', { code: run.exitCode, reason: Runner.reason(/** @type {number} */ (run.exitCode)) });
    else if (run.generated !== null && this.isEmpty(run.generated)) text = tr('emptyFile', { name: run.generated });
    else if (run.generated !== null) text = tr('generated', { name: run.generated });
    else if (run.inputEnded) text = tr('inputEnded');
    else text = tr('noProgram');
    return this.folder.refused ? text + ' ' + tr('notKept') : text;
  }

  // A written file that holds no byte: the menu entry has no program text.
  /** @param {string} name */
  isEmpty(name) {
    return this.folder.isFile(name) && this.folder.read(name).length === 0;
  }

  /**
   * @param {number} code
   * @returns {string}
   */
  static reason(code) {
    const reasons = /** @type {Record<string, string>} */ (/** @type {unknown} */ (tr('reasons'))); // the table
    if (reasons[code]) return reasons[code];
    if (code >= 150 && code <= 161) return reasons.device;
    return reasons.other;
  }

  // The status line changes only when its words do: a screen reader
  // announces each change.
  render() {
    const text = this.statusText();
    if (this.el.status.textContent !== text) this.el.status.textContent = text;
    // Beside how the run ended: how to start the next one.
    const { next } = this.el;
    const ended = this.run !== null && Runner.over(this.run);
    const hint = ended ? tr('runAgainHint') : '';
    if (next.textContent !== hint) next.textContent = hint;
    next.hidden = !ended;
    this.showGenerated();
  }

  // A line between the runs in the terminal, on a line of its own.
  /** @param {import('@xterm/xterm').Terminal} term */
  static separate(term) {
    const fresh = term.buffer.active.cursorX === 0 ? '' : '\r\n';
    term.write(fresh + '\x1b[0m\r\n\x1b[2m──── ' + tr('newRun') + ' ────\x1b[0m\r\n');
  }

  // Once a run has written a program: its Download link, named, and the
  // command that compiles it (not for an empty file), in the run bar, until a
  // later run writes another; beside a later run, marked as an earlier run's.
  showGenerated() {
    const { generated: link, compile, earlier } = this.el;
    const name = this.shown;
    if (name === null || !this.folder.isFile(name)) {
      if (link.href) URL.revokeObjectURL(link.href);
      link.removeAttribute('href');
      link.hidden = earlier.hidden = compile.hidden = true;
      return;
    }
    const base = /** @type {string} */ (name.split('/').pop()); // split gives at least one part
    setDownload(link, base, this.folder.read(name));
    link.textContent = tr('downloadLabel', { name });
    link.hidden = false;
    earlier.hidden = this.run !== null && this.run.generated === name;
    /** @type {HTMLElement} */ (compile.querySelector('code')).textContent = 'fpc ' + Runner.quoted(base);
    compile.hidden = this.isEmpty(name);
  }

  // A file name as a shell takes it: bare where nothing in it is special,
  // else in double quotes (which cmd, PowerShell and POSIX shells all read),
  // or in single quotes where a POSIX shell would still expand something.
  /** @param {string} name */
  static quoted(name) {
    if (/^[A-Za-z0-9._+-]+$/.test(name)) return name;
    if (!/[$`!]/.test(name)) return '"' + name + '"';
    return "'" + name.replace(/'/g, "'\\''") + "'";
  }
}
