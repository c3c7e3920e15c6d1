// Zorvandrel's page: wires the terminal (xterm.js), the folder, the run and
// the page's language together, and gives scripts and tests their hook,
// window.zorvandrel.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);

  const term = new Terminal({
    allowProposedApi: true, // the unicode11 widths
    convertEol: false,
    cursorBlink: true,
    fontFamily: 'ui-monospace, "DejaVu Sans Mono", "Liberation Mono", Consolas, monospace',
    fontSize: 15,
    scrollback: 5000,
    screenReaderMode: true,
  });
  const fit = new FitAddon.FitAddon();
  term.loadAddon(fit);
  term.loadAddon(new Unicode11Addon.Unicode11Addon());
  term.unicode.activeVersion = '11';
  // The line editor measures with the same widths the terminal draws with.
  let widths = null;
  new Unicode11Addon.Unicode11Addon().activate({ unicode: { register: (provider) => (widths = provider) } });
  term.open($('terminal'));
  // Tab moves the focus out of the terminal, as everywhere else on the page.
  term.attachCustomKeyEventHandler((event) => event.key !== 'Tab');
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
  const pane = new FolderPane(folder, {
    files: $('files'),
    clear: $('clear-folder'),
    createLog: $('create-log'),
    viewer: $('viewer'),
    viewerTitle: $('viewer-title'),
    viewerText: $('viewer-text'),
    viewerClose: $('viewer-close'),
  });

  const history = []; // the lines typed in this page, across runs
  const runner = new Runner({
    term,
    folder,
    elements: {
      status: $('status'),
      generated: $('generated'),
      compile: $('compile'),
      stop: $('stop'),
      runAgain: $('run-again'),
    },
    editorOptions: {
      write: (text) => term.write(text),
      width: (grapheme) => {
        let cells = 0;
        for (const c of grapheme) cells += widths.wcwidth(c.codePointAt(0));
        return cells;
      },
      columns: () => term.cols,
      column: () => new Promise((resolve) => term.write('', () => resolve(term.buffer.active.cursorX))),
      history,
    },
  });
  term.onData((data) => {
    if (runner.run) runner.run.editor.feed(data);
  });
  $('run-again').addEventListener('click', () => {
    runner.start(opened.then(() => folder.refresh()));
    term.focus();
  });

  // The language: the browser's, or the one chosen here (remembered).
  const choice = $('language');
  Language.listeners.push(() => {
    choice.value = Language.current;
    // xterm.js names its input once, in English, when it opens: the name follows the language.
    term.textarea.setAttribute('aria-label', tr('terminalInput'));
    runner.render();
  });
  choice.addEventListener('change', () => Language.set(choice.value, true));
  Language.set(Language.preferred(), false);

  // Back to the page (Back, a restored tab, another tab left): the folder
  // as the other tabs left it, and the keyboard where it was going.
  const returned = () => {
    folder.refresh().catch(() => {});
    const live = runner.run && !runner.run.editor.closed;
    if (live) term.focus();
    else if (!$('run-again').disabled) $('run-again').focus();
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
      const result = {};
      for (const file of folder.files()) result[file.name] = byteString(folder.read(file.name));
      return result;
    },
    ready: () => ['waiting', 'running'].includes(runner.state()),
    state: () => runner.state(),
    status: () => $('status').textContent,
  });

  pane.render();
  runner.start(opened);
  term.focus();
})();
