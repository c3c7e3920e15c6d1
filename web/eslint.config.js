// ESLint for the page's scripts and their tests (run from the checkout's root,
// with the web build's npm folder on NODE_PATH; see .ci/run).
//
// The page's scripts are classic scripts, not modules (a page opened from
// disk refuses module scripts): each declares its names in the page's one
// global scope, and the scripts loaded with it use them. Each script is told
// the names the others declare, never its own, so that a name used but
// declared nowhere, or declared twice, is still an error.
'use strict';
const js = require('@eslint/js');
const globals = require('globals');

// The page's scripts and the names each declares for the others.
const declares = {
  'web/terminal-options.js': ['ZV_TERMINAL_OPTIONS'],
  'web/lang-en.js': ['ZV_TEXTS'],
  'web/lang-ru.js': ['ZV_TEXTS'],
  'web/language.js': ['Language', 'tr'],
  'web/line-editor.js': ['LineEditor', 'LineEditorAddon', 'byteString'],
  'web/folder.js': ['LOG_NAME', 'Folder'],
  'web/folder-pane.js': ['FolderPane', 'setDownload'],
  'web/program-load.js': ['ZV_PROGRAM'],
  'web/run.js': ['Runner'],
  'web/offline.js': [],
  'web/release.js': ['Release'],
  'web/page.js': [],
};
// The libraries' names: xterm.js and its add-ons, the program (zorvandrel.js)
// and its WebAssembly as a script for the page opened from disk (zorvandrel-wasm.js,
// written at build time by wasm-as-script.js).
const libraries = ['Terminal', 'FitAddon', 'Unicode11Addon', 'createZorvandrel', 'ZV_WASM_BASE64'];

const readonly = (names) => Object.fromEntries(names.map((name) => [name, 'readonly']));
const others = (file) =>
  Object.entries(declares)
    .filter(([other]) => other !== file)
    .flatMap(([, names]) => names)
    .filter((name) => !declares[file].includes(name));

module.exports = [
  js.configs.recommended,
  { linterOptions: { reportUnusedDisableDirectives: 'error' } },
  ...Object.keys(declares).map((file) => ({
    files: [file],
    languageOptions: {
      sourceType: 'script',
      globals: { ...globals.browser, ...readonly(libraries), ...readonly(others(file)) },
    },
  })),
  // The line editor is also a CommonJS module for its tests under Node.js.
  { files: ['web/line-editor.js'], languageOptions: { globals: { module: 'readonly' } } },
  // Part of the program's module (Emscripten's --pre-js): the names of
  // Emscripten's JavaScript around it.
  {
    files: ['web/program-pre.js'],
    languageOptions: {
      sourceType: 'script',
      globals: { ...globals.browser, ...readonly(['Module', 'FS']) },
    },
  },
  // The service worker's own listener, put first in sw.js.
  { files: ['web/sw-pages.js'], languageOptions: { sourceType: 'script', globals: globals.serviceworker } },
  // Node.js: the build's steps (the wasm as a script, the file namer, the service-worker writer),
  // the tests, this file.
  {
    files: [
      'web/wasm-as-script.js',
      'web/name-by-content.js',
      'web/write-service-worker.js',
      'web/eslint.config.js',
      'tests/web/*.js',
    ],
    languageOptions: { sourceType: 'commonjs', globals: globals.node },
  },
];
