// The greeting at the floor: the page's terminal, with the same xterm.js,
// add-ons, styles and options, writing the program's greeting at once. What
// the page adds on top of this (the program, its folder, the line editor) is
// what bench/page_floor.py measures. Bundled by the web build (into
// build/web/bench/floor.js) as the page's own modules are.
import { ZV_TERMINAL_OPTIONS } from '../web/page/terminal-options.js';

{
  const term = new Terminal(ZV_TERMINAL_OPTIONS);
  const fit = new FitAddon.FitAddon();
  term.loadAddon(fit);
  term.loadAddon(new Unicode11Addon.Unicode11Addon());
  term.unicode.activeVersion = '11';
  term.open(document.getElementById('terminal'));
  fit.fit();
  term.write('\r\nWelcome to Zorvandrel! Please, read FAQ & README files.\r\n\r\n');
  term.focus();
}
