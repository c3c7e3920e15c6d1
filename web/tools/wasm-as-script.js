// Writes the program's WebAssembly as a script (run at build time by Node.js:
// node wasm-as-script.js zorvandrel.wasm zorvandrel-wasm.js), for the page
// opened from disk, where a page may not fetch: the script holds the same
// bytes in base64, and program-load.js compiles them once it has loaded.
'use strict';
const fs = require('node:fs');

const [input, output] = process.argv.slice(2);
const base64 = fs.readFileSync(input).toString('base64');
fs.writeFileSync(
  output,
  `// zorvandrel.wasm in base64, for the page opened from disk (program-load.js).
'use strict';
/* exported ZV_WASM_BASE64 */
const ZV_WASM_BASE64 = '${base64}';
`
);
