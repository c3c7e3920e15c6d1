// Names the site's files by their content (run at build time by Node.js:
// node name-by-content.js SITE_DIR, once the site is assembled and before its
// service worker is written). Each file the page loads gets the first eight
// hex digits of its content's SHA-256 in its name (page.js becomes
// page.3f2a9c1b.js), and index.html, the one file that names them, is
// rewritten to match (run.js takes the program's names from it). So a
// browser never mixes two releases, whatever a server says about caching: a
// file it takes from its cache is the very file the page asks for, and a
// page of a new release asks for new names. Only the files asked for by a
// name known outside the page keep theirs: index.html, sw.js, the manifest
// and its icons, and the help texts (.txt).
//
// A site already named can be named again (after a file in it was changed):
// a name's old hash is dropped first, and index.html follows.
//
// Then the release itself is named: eight hex digits of a SHA-256 over every
// file's name and content (index.html with its id blanked; sw.js, written
// later from these files, and release.txt left out), written into
// index.html's title, header and <meta name="release">, and alone into
// release.txt, which the page asks for to learn which release the server has.
'use strict';
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');

/** @param {string} name */
const keepsItsName = (name) =>
  ['index.html', 'sw.js', 'manifest.webmanifest'].includes(name) || /^icon\b|\.txt$/.test(name);
const named = /^(.+)\.[0-9a-f]{8}(\.\w+)$/; // page.3f2a9c1b.js
const plain = /^(.+)(\.\w+)$/; // page.js

const site = process.argv[2];
const index = path.join(site, 'index.html');
let html = fs.readFileSync(index, 'utf8');
for (const name of fs.readdirSync(site).sort()) {
  if (keepsItsName(name)) continue;
  const [, stem, extension] = named.exec(name) || plain.exec(name) || [];
  if (!stem) throw new Error(`${name}: a file the page loads needs an extension`);
  const hash = crypto
    .createHash('sha256')
    .update(fs.readFileSync(path.join(site, name)))
    .digest('hex');
  const newName = `${stem}.${hash.slice(0, 8)}${extension}`;
  const quoted = `"${name}"`;
  // Every such file is named by index.html: a file it does not name is
  // either never loaded or loaded by a name that would now be wrong.
  if (!html.includes(quoted)) throw new Error(`index.html does not name ${name}`);
  html = html.split(quoted).join(`"${newName}"`);
  if (newName !== name) fs.renameSync(path.join(site, name), path.join(site, newName));
}

const release = 'release.txt';
const places = [
  /(<meta name="release" content=")[0-9a-f]{8}/,
  /(<title>[^<]* · )[0-9a-f]{8}/,
  /(id="release">· )[0-9a-f]{8}/,
];
/** @param {string} id */
const stamped = (id) => places.reduce((text, place) => text.replace(place, `$1${id}`), html);
if (places.some((place) => !place.test(html))) throw new Error('index.html has no place for the release id');
const whole = crypto.createHash('sha256');
for (const name of fs.readdirSync(site).sort()) {
  if (name === 'sw.js' || name === release) continue;
  const content = name === 'index.html' ? Buffer.from(stamped('00000000')) : fs.readFileSync(path.join(site, name));
  whole.update(`${name}\0${content.length}\0`).update(content);
}
const id = whole.digest('hex').slice(0, 8);
fs.writeFileSync(index, stamped(id));
fs.writeFileSync(path.join(site, release), id + '\n');
