// ESLint for the page's sources and their tests (run from the checkout's root,
// with the web build's npm folder on NODE_PATH; see .ci/run).
//
// The page's sources are ES modules: each imports what it uses from the
// others, so a name used but declared nowhere is an error. The names that
// come from outside them (xterm.js, the program's JavaScript, the early
// script's ZV_PROGRAM, Emscripten's Module and FS) are the ones
// outside.d.ts declares, which TypeScript's checker reads too.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const js = require('@eslint/js');
const globals = require('globals');

/** The global names outside.d.ts declares (its const, var and function lines in `declare global`). */
const declared = fs.readFileSync(path.join(__dirname, 'outside.d.ts'), 'utf8');
const outside = Object.fromEntries(
  [...declared.matchAll(/^ {2}(?:const|var|function) (\w+)/gm)].map(([, name]) => [name, 'readonly'])
);
const inBrowser = { ...globals.browser, ...outside };

module.exports = [
  js.configs.recommended,
  { linterOptions: { reportUnusedDisableDirectives: 'error' } },
  // The page's modules, the early script's and the benchmark's floor, bundled by esbuild.
  {
    files: ['web/page/*.js', 'web/program/program-load.js', 'bench/floor.js'],
    languageOptions: { sourceType: 'module', globals: inBrowser },
  },
  // Part of the program's module (Emscripten's --pre-js), included as it is.
  { files: ['web/program/program-pre.js'], languageOptions: { sourceType: 'script', globals: inBrowser } },
  // Node.js: the build's steps, the tests, this file.
  {
    files: ['web/tools/*.js', 'web/eslint.config.js', 'tests/web/*.js'],
    languageOptions: { sourceType: 'commonjs', globals: globals.node },
  },
];
