// Zorvandrel's page: the terminal, the folder beside it, and the run.
// Each run is a fresh instance of the program (zorvandrel.js/.wasm); the
// compiled code is kept and instantiated again for "Run again". The terminal
// works as a console in line mode: what is typed is echoed and edited here,
// and a line goes to the program when Enter is pressed, ended by CR LF.
'use strict';

// The console's line mode over the terminal's key data: typed characters
// are echoed (through `echo`) and collected; Enter sends the line with CR LF,
// Ctrl-D sends the end of input on an empty line (the line so far
// otherwise), Ctrl-Z adds byte 26. Pasted text, which the terminal hands
// over with CR between its lines, is the same as typing it. Lines are sent
// as UTF-8 bytes; the program reads them in pieces of at most its buffer.
class LineInput {
  constructor(echo) {
    this.echo = echo;
    this.typed = []; // the line being typed, one string per character
    this.lines = []; // sent lines (Uint8Array), null for the end of input
    this.pending = null; // the part of a line the program has not read yet
    this.wake = null; // ends the program's wait for a line
    this.closed = false;
  }

  feed(data) {
    if (this.closed) return;
    for (let i = 0; i < data.length; ) {
      const cp = data.codePointAt(i);
      const ch = String.fromCodePoint(cp);
      i += ch.length;
      if (cp === 0x1b) {
        // A key's escape sequence (arrows, function keys): skipped whole.
        const m = /^\x1b(\[[0-9;?]*[ -\/]*[@-~]|O.|.)?/s.exec(data.slice(i - 1));
        i += m[0].length - 1;
      } else if (cp === 13) {
        this.echo('\r\n');
        this.send(LineInput.encode(this.typed.join('') + '\r\n'));
        this.typed = [];
      } else if (cp === 0x7f || cp === 8) {
        if (this.typed.length > 0) this.echo(this.typed.pop() === '\x1a' ? '\b\b  \b\b' : '\b \b');
      } else if (cp === 4) {
        if (this.typed.length === 0) {
          this.send(null);
        } else {
          this.send(LineInput.encode(this.typed.join('')));
          this.typed = [];
        }
      } else if (cp === 0x1a) {
        this.typed.push('\x1a');
        this.echo('^Z');
      } else if (cp >= 32 || cp === 9) {
        this.typed.push(ch);
        this.echo(ch);
      }
    }
  }

  send(bytes) {
    this.lines.push(bytes);
    if (this.wake) this.wake();
  }

  // Up to `size` bytes of the next line (none at the end of input), waiting
  // for one if none is queued.
  next(size) {
    if (this.pending === null) {
      if (this.lines.length === 0) {
        return new Promise((resolve) => {
          this.wake = () => {
            this.wake = null;
            resolve(this.next(size));
          };
        });
      }
      const line = this.lines.shift();
      if (line === null) return Promise.resolve(new Uint8Array(0));
      this.pending = line;
    }
    const part = this.pending.subarray(0, size);
    this.pending = this.pending.length > size ? this.pending.subarray(size) : null;
    return Promise.resolve(part);
  }

  static encode(text) {
    return new TextEncoder().encode(text);
  }
}

// Bytes as a string of char codes 0..255.
function byteString(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  return text;
}

if (typeof module === 'object') module.exports = { LineInput, byteString };

// The page itself (absent where the line mode is tested alone).
if (typeof document === 'object') {
(function () {
  const statusLine = document.getElementById('status');
  const runAgain = document.getElementById('run-again');
  const fileList = document.getElementById('files');
  const viewer = document.getElementById('viewer');
  const clearFolder = document.getElementById('clear-folder');

  const term = new Terminal({
    convertEol: false,
    cursorBlink: true,
    fontFamily: 'ui-monospace, "DejaVu Sans Mono", "Liberation Mono", Consolas, monospace',
    fontSize: 15,
    scrollback: 5000,
  });
  const fit = new FitAddon.FitAddon();
  term.loadAddon(fit);
  term.open(document.getElementById('terminal'));
  // Tab moves the focus out of the terminal, as everywhere else on the page.
  term.attachCustomKeyEventHandler((event) => event.key !== 'Tab');
  const refit = () => {
    try {
      fit.fit();
    } catch (e) {
      // not laid out yet
    }
  };
  refit();
  window.addEventListener('resize', refit);
  term.focus();

  // The compiled program, fetched once (compiled while it arrives where the
  // server names its type application/wasm).
  const compileWhole = () =>
    fetch('zorvandrel.wasm')
      .then((response) => response.arrayBuffer())
      .then((bytes) => WebAssembly.compile(bytes));
  const compiled = WebAssembly.compileStreaming
    ? WebAssembly.compileStreaming(fetch('zorvandrel.wasm')).catch(compileWhole)
    : compileWhole();

  // ---- the current run ------------------------------------------------
  let run = null;
  // The last write of the folder to IndexedDB: a new run loads the folder
  // only after it, so a file deleted just before "Run again" stays deleted.
  let lastStore = Promise.resolve();
  const store = (f) => {
    const done = f.store();
    lastStore = done.catch(() => {});
    return done;
  };

  function startRun() {
    const state = {
      module: null,
      output: [], // chunks of the transcript, strings of char codes 0..255
      exitCode: null,
      waiting: false, // the program has asked for input at least once
      ended: false,
      input: new LineInput((text) => term.write(text)),
    };
    run = state;
    runAgain.disabled = true;
    statusLine.textContent = 'Running';
    term.reset();
    refit();

    const module = {
      instantiateWasm(imports, receive) {
        compiled
          .then((code) => WebAssembly.instantiate(code, imports).then((instance) => receive(instance, code)))
          .catch((error) => failed(state, error));
        return {};
      },
      zvFolderLoaded() {
        state.module = module;
        showFolder();
      },
      zvStorageError(error) {
        statusLine.textContent = 'The browser refused to keep the folder: ' + error;
      },
      zvReadInput(size) {
        state.waiting = true;
        // Whatever the program wrote so far is safe from a reload while it waits.
        store(module.zvFolder).then(showFolder, () => {});
        return state.input.next(size);
      },
      zvWriteOutput(bytes) {
        state.output.push(byteString(bytes));
        term.write(bytes);
      },
      zvExit(code) {
        state.ended = true;
        state.input.closed = true;
        store(module.zvFolder).then(
          () => ended(state, code, ''),
          (error) => ended(state, code, ' (the folder could not be stored: ' + error + ')')
        );
      },
      print() {},
      printErr() {},
    };
    lastStore.then(() => createZorvandrel(module)).catch((error) => failed(state, error));
  }

  function ended(state, code, note) {
    state.exitCode = code;
    if (run !== state) return;
    statusLine.textContent = 'Run ended with exit code ' + code + note;
    runAgain.disabled = false;
    showFolder();
  }

  function failed(state, error) {
    if (run !== state) return;
    statusLine.textContent = 'The program could not start: ' + error;
    runAgain.disabled = false;
  }

  // ---- the folder -------------------------------------------------------
  function folder() {
    return run && run.module ? run.module.zvFolder : null;
  }

  function formatSize(size) {
    return size === 1 ? '1 byte' : size + ' bytes';
  }

  let viewed = null;

  function showFolder() {
    const f = folder();
    if (!f) return;
    const files = f.list().sort((a, b) => b.time - a.time || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
    for (const link of fileList.querySelectorAll('a.download')) URL.revokeObjectURL(link.href);
    fileList.replaceChildren();
    for (const file of files) {
      const item = document.createElement('li');
      item.dataset.name = file.name;
      const name = document.createElement('span');
      name.className = 'name';
      name.textContent = file.name;
      const size = document.createElement('span');
      size.className = 'size';
      size.textContent = formatSize(file.size);
      const view = document.createElement('button');
      view.type = 'button';
      view.className = 'view';
      view.textContent = 'View';
      view.setAttribute('aria-label', 'View ' + file.name);
      view.addEventListener('click', () => showFile(file.name));
      const download = document.createElement('a');
      download.className = 'download';
      download.textContent = 'Download';
      download.setAttribute('aria-label', 'Download ' + file.name);
      download.download = file.name.split('/').pop();
      download.href = URL.createObjectURL(new Blob([f.read(file.name)], { type: 'application/octet-stream' }));
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.className = 'delete';
      remove.textContent = 'Delete';
      remove.setAttribute('aria-label', 'Delete ' + file.name);
      remove.addEventListener('click', () => {
        const hadFocus = document.activeElement === remove;
        const next = item.nextElementSibling ? item.nextElementSibling.dataset.name : null;
        f.remove(file.name);
        if (viewed === file.name) hideFile();
        store(f).catch(() => {});
        showFolder();
        // The keyboard goes on from the next file's Delete (or Clear folder).
        if (hadFocus) {
          const after = next === null ? null : fileList.querySelector(`li[data-name="${CSS.escape(next)}"] button.delete`);
          (after || clearFolder).focus();
        }
      });
      item.append(name, ' ', size, ' ', view, ' ', download, ' ', remove);
      fileList.append(item);
    }
    if (viewed !== null) {
      if (files.some((file) => file.name === viewed)) showFile(viewed, true);
      else hideFile();
    }
  }

  function showFile(name, quiet) {
    const f = folder();
    if (!f) return;
    // Shown as UTF-8, as the terminal shows the program's bytes.
    const text = new TextDecoder().decode(f.read(name));
    viewed = name;
    viewer.hidden = false;
    viewer.dataset.name = name;
    viewer.textContent = text;
    if (!quiet) viewer.focus();
  }

  function hideFile() {
    viewed = null;
    viewer.hidden = true;
    viewer.textContent = '';
    delete viewer.dataset.name;
  }

  clearFolder.addEventListener('click', () => {
    const f = folder();
    if (!f) return;
    f.clear();
    hideFile();
    store(f).catch(() => {});
    showFolder();
  });

  runAgain.addEventListener('click', () => {
    startRun();
    term.focus();
  });

  // ---- the hook for scripts and tests -------------------------------------
  window.zorvandrel = Object.freeze({
    transcript: () => (run ? run.output.join('') : ''),
    exitCode: () => (run ? run.exitCode : null),
    files: () => {
      const f = folder();
      const result = {};
      if (!f) return result;
      for (const file of f.list()) {
        result[file.name] = byteString(f.read(file.name));
      }
      return result;
    },
    ready: () => (run ? run.waiting : false),
  });

  term.onData((data) => {
    if (run) run.input.feed(data);
  });

  startRun();
})();
}
