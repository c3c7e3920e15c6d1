// The built site (cmake --workflow --preset web): its files, sizes, zip, service
// worker, manifest, Content-Security-Policy, the page's elements and texts. Usage:
//   node --test site.test.js   with ZV_WEB_SITE=<build/web/site>
// Exits 77 (skipped) where the site is not built, unless ZV_WEB_REQUIRED=1.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');
const { execFileSync } = require('node:child_process');

const site = process.env.ZV_WEB_SITE;
if (!site || !fs.existsSync(path.join(site, 'index.html'))) {
  console.log(`no site at ${site}: build it with cmake --workflow --preset web`);
  process.exit(process.env.ZV_WEB_REQUIRED === '1' ? 1 : 77);
}
// The files the page loads carry their content's hash in their names
// (page.3f2a9c1b.js); the lists below give them without it.
/** @param {string} name */
const plain = (name) => name.replace(/\.[0-9a-f]{8}(\.\w+)$/, '$1');
const files = fs.readdirSync(site).sort();
/** @param {string} name */
const named = (name) => files.find((file) => plain(file) === name) || name;
/** @param {string} name */
const size = (name) => fs.statSync(path.join(site, named(name))).size;
/** @param {string} name */
const text = (name) => fs.readFileSync(path.join(site, named(name)), 'latin1');
// Asked for by names known outside the page: these keep theirs.
const fixed = [
  'FAQ.ru.txt',
  'FAQ.txt',
  'README.ru.txt',
  'README.txt',
  'icon-192.png',
  'icon-512.png',
  'icon.svg',
  'index.html',
  'manifest.webmanifest',
  'release.txt',
  'sw.js',
  'xterm-LICENSE.txt',
];
const served = [
  'FAQ.ru.txt',
  'FAQ.txt',
  'README.ru.txt',
  'README.txt',
  'addon-fit.js',
  'addon-unicode11.js',
  'icon-192.png',
  'icon-512.png',
  'icon.svg',
  'index.html',
  'manifest.webmanifest',
  'page.css',
  'page.js',
  'program-load.js',
  'xterm-LICENSE.txt',
  'xterm.css',
  'xterm.js',
  'zorvandrel.js',
  'zorvandrel.wasm',
];
// and the program's WebAssembly as a script, for the page opened from disk
const expected = [...served, 'release.txt', 'sw.js', 'zorvandrel-wasm.js'].sort();
// The page's modules (web/page/*.js), bundled from page.js into the site's page.js: what esbuild read
// for it, as its metafile (page-bundle.json, beside the site) tells.
const web = path.join(__dirname, '..', '..', 'web');
const modules = fs.readdirSync(path.join(web, 'page')).filter((name) => name.endsWith('.js'));
const bundle = () => JSON.parse(fs.readFileSync(path.join(site, '..', 'page-bundle.json'), 'utf8'));

test('the site holds its files, within the size budget', () => {
  assert.deepStrictEqual(files.map(plain).sort(), expected);
  const program = size('zorvandrel.js') + size('zorvandrel.wasm');
  const whole = expected.reduce((sum, name) => sum + size(name), 0);
  console.log(
    `program ${program} bytes, its wasm as a script ${size('zorvandrel-wasm.js')} bytes, site ${whole} bytes`
  );
  assert.ok(program < 400 * 1024, `program ${program} bytes`);
  assert.ok(size('zorvandrel-wasm.js') < 1.4 * size('zorvandrel.wasm'), 'zorvandrel-wasm.js');
  assert.ok(whole < 1.5 * 1024 * 1024, `site ${whole} bytes`);
  // page.js: every module of the page, and nothing else, bundled from page.js; the site's page.js is
  // that bundle (named by its content since).
  const { inputs, outputs } = bundle();
  assert.deepStrictEqual(
    Object.keys(inputs)
      .map((input) => path.relative(web, path.resolve(site, '..', input)))
      .sort(),
    modules.map((name) => path.join('page', name)).sort()
  );
  const [output] = Object.values(outputs);
  assert.strictEqual(output.entryPoint && path.basename(output.entryPoint), 'page.js');
  assert.strictEqual(size('page.js'), output.bytes);
});

test('the zip holds the same files in one folder', () => {
  const zip = path.join(site, '..', 'zorvandrel-0.3-web.zip');
  const names = execFileSync('unzip', ['-Z1', zip], { encoding: 'utf8' }).split('\n');
  const zipped = names.filter((n) => n !== '' && !n.endsWith('/'));
  const inFolder = files.map((n) => 'zorvandrel-0.3-web/' + n);
  assert.deepStrictEqual(zipped.sort(), inFolder);
});

test('the help texts end their lines with CR LF; the Russian ones start with a BOM', () => {
  for (const name of ['FAQ.txt', 'README.txt', 'FAQ.ru.txt', 'README.ru.txt']) {
    const content = text(name);
    assert.ok(content.endsWith('\r\n'), name);
    assert.strictEqual(content.replace(/\r\n/g, '').match(/[\r\n]/), null, name);
    assert.strictEqual(content.startsWith('\xef\xbb\xbf'), name.endsWith('.ru.txt'), `${name}: the BOM`);
  }
});

test('the service worker keeps every served file; the manifest names the page and its icons', () => {
  const kept = [...text('sw.js').matchAll(/\{url:"([^"]+)",revision:("\w+"|null)\}/g)];
  assert.deepStrictEqual(kept.map(([, url]) => plain(url)).sort(), served);
  // A hashed name is its own revision.
  for (const [, url, revision] of kept) assert.strictEqual(revision === 'null', !fixed.includes(url), url);
  const { name, start_url, scope, display, icons } = JSON.parse(text('manifest.webmanifest'));
  assert.deepStrictEqual([name, start_url, scope, display], ['Zorvandrel 0.3', '.', '.', 'standalone']);
  for (const icon of icons) assert.ok(served.includes(icon.src), icon.src);
});

test('each file the page loads is named by its content, and index.html names them all', () => {
  const html = text('index.html');
  const names = [...html.matchAll(/(?<![\w-])(?:href|src|data-from-disk)="([^"]+)"/g)].map(([, name]) => name);
  for (const name of names) assert.ok(files.includes(name), `index.html names ${name}, not in the site`);
  for (const name of files.filter((file) => !fixed.includes(file))) {
    /** @type {string} */
    const hash = crypto
      .createHash('sha256')
      .update(fs.readFileSync(path.join(site, name)))
      .digest('hex');
    assert.strictEqual(name, plain(name).replace(/\.\w+$/, `.${hash.slice(0, 8)}$&`));
    assert.ok(names.includes(name), `index.html does not name ${name}`);
  }
  // The release's one id in the title, the header, the page's meta and release.txt.
  const ids = [/<title>Zorvandrel 0\.3 \S+ (\w+)</, /id="release">\S+ (\w+)</, /name="release" content="(\w+)"/];
  const id = text('release.txt');
  assert.match(id, /^[0-9a-f]{8}\n$/);
  assert.deepStrictEqual(
    ids.map((place) => (place.exec(html) || [])[1] + '\n'),
    [id, id, id]
  );
});

test('the policy allows only the page itself', () => {
  const meta = /<meta http-equiv="Content-Security-Policy" content="([^"]*)">/.exec(text('index.html'));
  assert.ok(meta, 'no Content-Security-Policy');
  const words = meta[1].split(';').map((d) => d.trim().split(/\s+/));
  const directives = Object.fromEntries(words.map(([k, ...v]) => [k, v]));
  assert.deepStrictEqual(directives['default-src'], ["'self'"]);
  assert.deepStrictEqual(directives['script-src'], ["'self'", "'wasm-unsafe-eval'"]);
  const allowed = new Set(["'self'", "'none'", "'unsafe-inline'", "'wasm-unsafe-eval'", 'blob:', 'data:']);
  for (const [name, sources] of Object.entries(directives)) {
    for (const source of sources) assert.ok(allowed.has(source), `${name} ${source}`);
  }
});

test('the page names no other site and has its elements', () => {
  for (const name of ['index.html', 'page.js', 'page.css']) {
    assert.strictEqual(/(https?:)?\/\/[a-z0-9.-]+\.[a-z]{2,}\//i.exec(text(name)), null, name);
  }
  const html = text('index.html');
  for (const id of ['terminal', 'status', 'run-again', 'files', 'viewer', 'clear-folder', 'faq-link']) {
    assert.match(html, new RegExp(`id="${id}"`), id);
  }
  assert.match(html, /href="FAQ.txt"/);
  assert.match(html, /fpc NAME\.txt/);
});

// The page's text tables, its modules' own.
const texts = () => ({
  ...require(path.join(web, 'page', 'lang-en.js')),
  ...require(path.join(web, 'page', 'lang-ru.js')),
});

test('both languages have the same texts; each plural text has the forms of its language', () => {
  const { en, ru } = texts();
  assert.deepStrictEqual(Object.keys(ru).sort(), Object.keys(en).sort());
  assert.deepStrictEqual(Object.keys(ru.reasons).sort(), Object.keys(en.reasons).sort());
  for (const [language, table] of Object.entries({ en, ru })) {
    const forms = new Intl.PluralRules(language).resolvedOptions().pluralCategories;
    for (const [key, text] of Object.entries(table)) {
      if (typeof text === 'object' && key !== 'reasons') {
        assert.deepStrictEqual(Object.keys(text).sort(), [...forms].sort(), `${language} ${key}`);
      }
    }
  }
});

test('the texts in the page before its scripts run are the English ones', () => {
  const { en } = texts();
  const html = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
  const shown = [...html.matchAll(/<(\w+)\b[^>]*\bdata-text="(\w+)"[^>]*>([^<]*)<\/\1>/g)];
  const labels = [...html.matchAll(/<\w+\b[^>]*\baria-label="([^"]*)"[^>]*\bdata-label="(\w+)"/g)];
  const count = (/** @type {RegExp} */ pattern) => (html.match(pattern) || []).length;
  assert.strictEqual(shown.length, count(/\bdata-text=/g), 'an element with data-text that holds markup');
  assert.strictEqual(labels.length, count(/\bdata-label=/g), 'an element with data-label but no aria-label');
  const collapsed = (/** @type {string} */ text) => text.replace(/\s+/g, ' ').trim();
  for (const [, , key, text] of shown) assert.strictEqual(collapsed(text), collapsed(en[key]), key);
  for (const [, label, key] of labels) assert.strictEqual(label, en[key], key);
});
