// Zorvandrel's page: wires the terminal (xterm.js), the folder, the run and
// the page's language together, and gives scripts and tests their hook,
// window.zorvandrel. The page's modules are bundled into one classic script
// (page.js in the site, IIFE): a page opened from disk (file:) refuses module
// scripts, and the page must work there too. xterm.js and its add-ons, and
// the program (zorvandrel.js, program-load.js) are scripts of their own.
import { Folder } from './folder.js';
import { FolderPane } from './folder-pane.js';
import { Language, tr } from './language.js';
import { LineEditorAddon, byteString } from './line-editor.js';
import { offerOffline } from './offline.js';
import { Release } from './release.js';
import { Runner } from './run.js';
import { ZV_TERMINAL_OPTIONS } from './terminal-options.js';

// The page's own elements, which index.html always has.
const $ = (/** @type {string} */ id) => /** @type {HTMLElement} */ (document.getElementById(id));

const term = new Terminal({ ...ZV_TERMINAL_OPTIONS });
const fit = new FitAddon.FitAddon();
term.loadAddon(fit);
// The line editor, with the Unicode 11 widths it and the terminal share.
const lineEditor = new LineEditorAddon(new Unicode11Addon.Unicode11Addon());
term.loadAddon(lineEditor);
term.open($('terminal'));
// Tab moves the focus out of the terminal, as everywhere else on the page.
term.attachCustomKeyEventHandler((event) => event.key !== 'Tab');
// Text that comes without key events (dictation, emoji pickers, handwriting,
// some phone keyboards) arrives as an insertText input event, which xterm.js
// ignores in screen-reader mode: the page passes it on, once. Typed keys
// (a keydown since the last keyup, 229 included) and compositions are
// xterm.js's own; outside screen-reader mode it takes this text itself.
const area = /** @type {HTMLTextAreaElement} */ (term.textarea); // there once the terminal is open
let keyDown = false;
area.addEventListener('keydown', () => (keyDown = true), true);
// The keyup may come elsewhere: an Enter that ends a run moves the focus.
window.addEventListener('keyup', () => (keyDown = false), true);
area.addEventListener('blur', () => (keyDown = false));
// An input event is an InputEvent in browsers; a plain Event lacks its fields.
area.addEventListener('input', (/** @type {Event & Partial<InputEvent>} */ event) => {
  if (!term.options.screenReaderMode || keyDown || event.isComposing) return;
  if (event.inputType !== 'insertText' || !event.data) return;
  term.input(event.data, true);
  // A later composition reads its text from the caret on.
  area.selectionStart = area.selectionEnd = area.value.length;
});
const refit = () => {
  try {
    fit.fit();
  } catch {
    // not laid out yet
  }
};
refit();
window.addEventListener('resize', refit);

const folder = new Folder();
const opened = folder.open();
let folderRead = false; // the program greets before it is
opened.then(() => (folderRead = true));
const pane = new FolderPane(folder, {
  files: $('files'),
  clear: $('clear-folder'),
  createLog: $('create-log'),
  viewer: $('viewer'),
  viewerTitle: $('viewer-title'),
  viewerText: $('viewer-text'),
  viewerClose: $('viewer-close'),
});

// The lines typed in this page, across runs, and across a reload into a new release.
/** @type {string[]} */
const history = [];
try {
  history.push(...JSON.parse(sessionStorage.getItem('zorvandrel-history') || '[]'));
  sessionStorage.removeItem('zorvandrel-history');
} catch {
  // storage refused: the history starts empty
}
const runAgain = /** @type {HTMLButtonElement} */ ($('run-again'));
const runner = new Runner({
  term,
  folder,
  view: {
    status: $('status'),
    next: $('next-run'),
    earlier: $('earlier'),
    generated: /** @type {HTMLAnchorElement} */ ($('generated')),
    compile: $('compile'),
    stop: /** @type {HTMLButtonElement} */ ($('stop')),
    runAgain,
  },
  lineEditor,
  history,
  program: { compiled: ZV_PROGRAM.compiled, create: createZorvandrel },
});
// A newer release on the server is taken at a safe moment (release.js).
const release = new Release({
  idle: () => runner.idle(),
  leaving: () => {
    try {
      sessionStorage.setItem('zorvandrel-history', JSON.stringify(history));
    } catch {
      // storage refused: the history goes
    }
  },
});
// Once the program waits for its first answer: the worker that keeps the page offline, and the
// look for a newer release.
offerOffline(runner.firstPrompt);
runner.firstPrompt.then(() => release.watch());
runAgain.addEventListener('click', () => {
  if (release.take()) return;
  runner.start(opened.then(() => folder.refresh()));
  term.focus();
});

// The language: the browser's, or the one chosen here (remembered).
const choice = /** @type {HTMLSelectElement} */ ($('language'));
Language.listeners.push(() => {
  choice.value = Language.current;
  // xterm.js names its input once, in English, when it opens: the name follows the language.
  /** @type {HTMLTextAreaElement} */ (term.textarea).setAttribute('aria-label', tr('terminalInput'));
  runner.render();
});
choice.addEventListener('change', () => Language.set(choice.value, true));
Language.set(Language.preferred(), false);

// Back to the page (Back, a restored tab, another tab left): the folder
// as the other tabs left it, and the keyboard where it was going.
const returned = () => {
  folder.refreshLater();
  const live = runner.run && !runner.run.editor.closed;
  if (live) term.focus();
  else if (!runAgain.disabled) runAgain.focus();
};
window.addEventListener('pageshow', (event) => {
  if (event.persisted) returned();
});
document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'visible') returned();
});

// ---- the hook for scripts and tests -------------------------------------
window.zorvandrel = Object.freeze({
  transcript: () => (runner.run ? runner.run.output.join('') : ''),
  exitCode: () => (runner.run ? runner.run.exitCode : null),
  files: () => {
    /** @type {Record<string, string>} */
    const result = {};
    for (const file of folder.files()) result[file.name] = byteString(folder.read(file.name));
    return result;
  },
  // The program waits for its first line, and the folder has been read.
  ready: () => folderRead && ['waiting', 'running'].includes(runner.state()),
  state: () => runner.state(),
  status: () => $('status').textContent,
});

pane.render();
runner.start(opened);
term.focus();
