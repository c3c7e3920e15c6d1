// The program, on its way while the page is still parsed: this script is not
// deferred, so the WebAssembly compiles while xterm.js and the page's own
// scripts load and run. Served, the page fetches the wasm (named in
// index.html's preload link) and compiles it while it arrives; opened from
// disk, where a page may not fetch, it loads the program's single-file form
// (named in the program script's data-single-file), which holds the same
// code. Both names carry their content's hash in the built site.
'use strict';
/* exported ZV_PROGRAM */

const ZV_PROGRAM = (() => {
  if (location.protocol === 'file:') {
    const script = document.createElement('script');
    script.src = document.querySelector('script[data-single-file]').dataset.singleFile;
    const factory = new Promise((resolve, reject) => {
      script.onload = () => resolve(createZorvandrelFile);
      script.onerror = () => reject(new Error('could not load ' + script.src));
    });
    document.head.append(script);
    return { factory, compiled: null };
  }
  const wasm = document.querySelector('link[rel="preload"][type="application/wasm"]').getAttribute('href');
  const whole = () =>
    fetch(wasm)
      .then((response) => response.arrayBuffer())
      .then((bytes) => WebAssembly.compile(bytes));
  const compiled = WebAssembly.compileStreaming ? WebAssembly.compileStreaming(fetch(wasm)).catch(whole) : whole();
  return { factory: null, compiled };
})();
