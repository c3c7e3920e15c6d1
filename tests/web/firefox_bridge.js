// Firefox ESR for the browser tests (browser_test.py), driven with
// puppeteer-core over WebDriver BiDi: the installed firefox-esr, a profile of
// its own, no browser downloaded. Commands come as JSON lines on standard
// input, {"id", "op", ...}; each is answered with one JSON line
// {"id", "value"} or {"id", "error"}. Dialogs (confirm) are accepted.
//   open {url}            a new tab at url; value: the tab's number
//   goto {tab, url}       reload {tab}
//   eval {tab, js}        value: what the expression js gives in the page
//   keys {tab, keys}      typed into the terminal: text, "\n" for Enter,
//                         "\u0004" for Ctrl-D
//   press {tab, keys}     keys pressed at the focused element: key names such
//                         as "a", "Enter", "Tab", or "Shift+Tab"
//   click {tab, selector}
'use strict';
const readline = require('node:readline');
const puppeteer = require('puppeteer-core');

(async () => {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.ZV_FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
    // school.test: a plain-http server by name, as at a school (the tests serve it on 127.0.0.1)
    extraPrefsFirefox: { 'network.dns.localDomains': 'school.test' },
  });
  /** @type {import('puppeteer-core').Page[]} */
  const tabs = [];
  /** @typedef {import('puppeteer-core').KeyInput} Key */
  const terminal = '#terminal .xterm-helper-textarea';
  const ops = {
    /** @param {{ url: string }} args */
    async open({ url }) {
      const tab = await browser.newPage();
      tab.on('dialog', (dialog) => dialog.accept());
      await tab.goto(url);
      return tabs.push(tab) - 1;
    },
    goto: (/** @type {{ tab: number, url: string }} */ { tab, url }) => tabs[tab].goto(url).then(() => null),
    close: (/** @type {{ tab: number }} */ { tab }) => tabs[tab].close().then(() => null),
    front: (/** @type {{ tab: number }} */ { tab }) => tabs[tab].bringToFront().then(() => null),
    reload: (/** @type {{ tab: number }} */ { tab }) => tabs[tab].reload().then(() => null),
    eval: (/** @type {{ tab: number, js: string }} */ { tab, js }) => tabs[tab].evaluate(js),
    /** @param {{ tab: number, keys: string }} args */
    async keys({ tab, keys }) {
      const page = tabs[tab];
      await page.focus(terminal);
      for (const part of keys.split(/([\n\cD])/)) {
        if (part === '\n') await page.keyboard.press('Enter');
        else if (part === '\u0004') {
          await page.keyboard.down('Control');
          await page.keyboard.press('d');
          await page.keyboard.up('Control');
        } else if (part) await page.keyboard.type(part);
      }
      return null;
    },
    /** @param {{ tab: number, keys: string[] }} args */
    async press({ tab, keys }) {
      const { keyboard } = tabs[tab];
      for (const key of keys) {
        const [modifier, main] = key.length > 1 && key.includes('+') ? key.split('+') : [null, key];
        if (modifier) await keyboard.down(/** @type {Key} */ (modifier));
        await keyboard.press(/** @type {Key} */ (main));
        if (modifier) await keyboard.up(/** @type {Key} */ (modifier));
      }
      return null;
    },
    click: (/** @type {{ tab: number, selector: string }} */ { tab, selector }) =>
      tabs[tab].click(selector).then(() => null),
  };
  const lines = readline.createInterface({ input: process.stdin });
  for await (const line of lines) {
    const { id, op, ...args } = JSON.parse(line);
    let reply;
    try {
      const value = await ops[/** @type {keyof typeof ops} */ (op)](args);
      reply = { id, value: value === undefined ? null : value };
    } catch (error) {
      reply = { id, error: String(error instanceof Error && error.stack ? error.stack : error) };
    }
    process.stdout.write(JSON.stringify(reply) + '\n');
  }
  await browser.close();
})().catch((error) => {
  process.stdout.write(JSON.stringify({ id: null, error: String(error) }) + '\n');
  process.exit(1);
});
