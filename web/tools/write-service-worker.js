// Writes the site's service worker, sw.js, with Workbox (run at build time by
// Node.js: node write-service-worker.js SITE_DIR, with Workbox on NODE_PATH).
// The worker keeps every file of the site in the browser's cache, each under
// its content's hash, and answers the page from there, so that after one
// visit the page opens without the network. A release with other files gives
// another sw.js: the browser installs it on the next load, it takes over at
// once and drops what the old one kept, so the load after that is the new
// release (an open page asks for the update itself and reloads once the new
// worker has taken over: release.js). release.txt, which says which release
// the server has, is never kept; nor is zorvandrel-wasm.js, which is
// only for the page opened from disk, where no worker runs. The files whose
// names carry their content's hash (name-by-content.js) need no revision of
// their own: their name is one.
'use strict';
const path = require('node:path');
const { generateSW } = require('workbox-build');

const site = process.argv[2];
generateSW({
  globDirectory: site,
  globPatterns: ['**/*'],
  globIgnores: ['sw.js', 'release.txt', 'zorvandrel-wasm.*.js'],
  dontCacheBustURLsMatching: /\.[0-9a-f]{8}\.\w+$/,
  swDest: path.join(site, 'sw.js'),
  // A request for the folder itself ("/" or "/sub/path/") is its index.html.
  directoryIndex: 'index.html',
  skipWaiting: true,
  clientsClaim: true,
  cleanupOutdatedCaches: true,
  inlineWorkboxRuntime: true,
  mode: 'production',
  sourcemap: false,
}).then(
  ({ count, size, warnings }) => {
    for (const warning of warnings) console.error(warning);
    console.log(`sw.js keeps ${count} files, ${size} bytes`);
    if (warnings.length > 0) process.exitCode = 1;
  },
  (error) => {
    console.error(error);
    process.exitCode = 1;
  }
);
