// The program, on its way while the page is still parsed: this script is not
// deferred, so the WebAssembly compiles while xterm.js and the page's own
// scripts load and run. Served, the page fetches the wasm (named in
// index.html's preload link) and compiles it while it arrives; opened from
// disk, where a page may not fetch, it loads the same bytes as a script (named
// in this script's data-from-disk, zorvandrel-wasm.js) and compiles them as
// soon as that has run. Both names carry their content's hash in the built
// site. The program's JavaScript (zorvandrel.js) is the same either way.
// Bundled into a classic script of its own (it reads document.currentScript),
// it hands the page's bundle ZV_PROGRAM, its one global (outside.d.ts).
globalThis.ZV_PROGRAM = (() => {
  if (location.protocol === 'file:') {
    const script = document.createElement('script');
    const self = /** @type {HTMLScriptElement} */ (document.currentScript);
    script.src = self.dataset.fromDisk || '';
    /** @type {Promise<WebAssembly.Module>} */
    const compiled = new Promise((resolve, reject) => {
      script.onload = () => {
        const bytes = Uint8Array.fromBase64
          ? Uint8Array.fromBase64(ZV_WASM_BASE64)
          : Uint8Array.from(atob(ZV_WASM_BASE64), (c) => c.charCodeAt(0));
        // At once where the browser compiles this much on the page's thread
        // (its functions are compiled when first called), else in the background.
        try {
          resolve(new WebAssembly.Module(bytes));
        } catch {
          resolve(WebAssembly.compile(bytes));
        }
      };
      script.onerror = () => reject(new Error('could not load ' + script.src));
    });
    document.head.append(script);
    return { compiled };
  }
  const preload = /** @type {HTMLLinkElement} */ (
    document.querySelector('link[rel="preload"][type="application/wasm"]')
  );
  const wasm = preload.href;
  const whole = () =>
    fetch(wasm)
      .then((response) => response.arrayBuffer())
      .then((bytes) => WebAssembly.compile(bytes));
  const compiled = WebAssembly.compileStreaming ? WebAssembly.compileStreaming(fetch(wasm)).catch(whole) : whole();
  return { compiled };
})();
