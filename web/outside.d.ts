// The names the page's sources use that none of them defines: xterm.js and its add-ons (scripts of
// their own in the site), the program's JavaScript (Emscripten's zorvandrel.js, createZorvandrel),
// the early script program-load.js (ZV_PROGRAM) and the wasm as a script (ZV_WASM_BASE64); for
// program-pre.js, which Emscripten includes as it is, the Module and FS it sees; and the page's hook
// for scripts and tests.
import type * as Xterm from '@xterm/xterm';
import type * as Fit from '@xterm/addon-fit';
import type * as Unicode11 from '@xterm/addon-unicode11';

declare global {
  const Terminal: typeof Xterm.Terminal;
  const FitAddon: typeof Fit;
  const Unicode11Addon: typeof Unicode11;
  function createZorvandrel(module: object): Promise<unknown>;
  var ZV_PROGRAM: { compiled: Promise<WebAssembly.Module> };
  const ZV_WASM_BASE64: string;

  /** The program's module as program-pre.js uses it (the page's part: run.js). */
  const Module: {
    zvFolder: import('./page/folder.js').Folder;
    zvFolderReady: Promise<unknown>;
    zvStore(name: string, bytes: Uint8Array, append: boolean): Promise<Uint8Array>;
    zvLoadFolder?: () => Promise<void>;
    zvStoreFile?: (path: string, from: number) => Promise<number>;
  };
  /** Emscripten's file system, as much as program-pre.js uses. */
  const FS: {
    mkdirTree(path: string): void;
    isDir(mode: number): boolean;
    writeFile(path: string, data: Uint8Array): void;
    readFile(path: string): Uint8Array;
    utime(path: string, atime: number, mtime: number): void;
    chdir(path: string): void;
  };

  /** Decoding base64, where the browser has it (newer than this library's lib files). */
  interface Uint8ArrayConstructor {
    fromBase64?(text: string): Uint8Array<ArrayBuffer>;
  }

  interface Window {
    zorvandrel: Readonly<Record<string, () => unknown>>;
  }
}
export {};
