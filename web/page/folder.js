// The folder: the program's current folder, kept in this browser's IndexedDB
// and shared by every tab and window of the page (storage and messages only;
// folder-pane.js shows it).
// Each file is one record, written alone: a program the run closes replaces
// its record, a line appended to the log is added to the stored log inside
// one read-write transaction (IndexedDB runs those one at a time across
// tabs, so no tab's line is lost and the lines keep their order). After each
// change a tab tells the others on a BroadcastChannel, and they read the
// folder again. The records keep the layout of Emscripten's IDBFS (database
// "/store", store FILE_DATA, keys "/store/folder/NAME"), so a folder kept by
// an earlier version of the page is read as it is.

export const LOG_NAME = 'logfile.txt';

/**
 * A file or folder of the folder, as stored: a file holds its bytes, a folder nothing.
 * @typedef {{ timestamp: Date, mode: number, contents?: Uint8Array }} Entry
 */

/**
 * A file as the pane lists it: its name, its size in bytes, and when it was last written.
 * @typedef {{ name: string, size: number, time: number }} FileInfo
 */

export class Folder {
  static ROOT = '/store/folder';
  static FILE = 0o100666;
  static DIRECTORY = 0o40777;

  constructor() {
    /** @type {Map<string, Entry>} */
    this.entries = new Map(); // name -> {timestamp: Date, mode, contents?}
    /** @type {IDBDatabase | null} */
    this.db = null; // null where the browser keeps nothing: the folder lives in the page
    /** @type {unknown} */
    this.refused = null; // why the browser keeps nothing, where it does not
    /** @type {Array<() => void>} */
    this.listeners = [];
    this.reading = 0; // the number of the newest read of the whole folder
    /** @type {Promise<void> | null} */
    this.newest = null; // and its promise
    this.channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('zorvandrel-folder') : null;
    if (this.channel) this.channel.onmessage = () => this.refreshLater();
  }

  // Opens the stored folder (a new one holds one empty logfile.txt); where
  // the browser refuses storage, a folder in the page only (`refused` says
  // why).
  async open() {
    try {
      this.db = await /** @type {Promise<IDBDatabase>} */ (
        new Promise((resolve, reject) => {
          const request = indexedDB.open('/store', 21);
          request.onupgradeneeded = () => {
            const store = request.result.createObjectStore('FILE_DATA');
            store.createIndex('timestamp', 'timestamp', { unique: false });
          };
          request.onsuccess = () => resolve(request.result);
          request.onerror = () => reject(request.error);
        })
      );
      this.db.onversionchange = () => /** @type {IDBDatabase} */ (this.db).close();
      await this.transaction('readwrite', (store) => {
        const root = store.get(Folder.ROOT);
        root.onsuccess = () => {
          if (root.result !== undefined) return;
          store.put(Folder.entry(Folder.DIRECTORY), Folder.ROOT);
          store.put(Folder.entry(Folder.FILE, new Uint8Array(0)), Folder.key(LOG_NAME));
        };
      });
      await this.refresh();
    } catch (error) {
      this.db = null;
      this.refused = error;
      this.entries = new Map([[LOG_NAME, Folder.entry(Folder.FILE, new Uint8Array(0))]]);
      this.notify();
    }
  }

  /**
   * @param {number} mode
   * @param {Uint8Array} [contents]
   * @returns {Entry}
   */
  static entry(mode, contents) {
    return contents === undefined ? { timestamp: new Date(), mode } : { timestamp: new Date(), mode, contents };
  }

  /**
   * @param {string} name
   * @returns {string}
   */
  static key(name) {
    return Folder.ROOT + '/' + name;
  }

  // Every key that starts with `prefix`.
  /**
   * @param {string} prefix
   * @returns {IDBKeyRange}
   */
  static under(prefix) {
    return IDBKeyRange.bound(prefix, prefix + '\uffff');
  }

  // Reads the whole folder again (another tab changed it). Reads may end
  // in any order: only the newest one is taken, and an older one resolves
  // once that one has (a run started on it must not see an older folder).
  /** @returns {Promise<void>} */
  async refresh() {
    if (!this.db) return;
    const reading = ++this.reading;
    const read = this.readAll().then((entries) => {
      if (reading !== this.reading) return /** @type {Promise<void>} */ (this.newest);
      // Unchanged (this tab's own change, read back): the pane stays as it is.
      if (Folder.same(entries, this.entries)) return;
      this.entries = entries;
      this.notify();
    });
    this.newest = read;
    return read;
  }

  /** @returns {Promise<Map<string, Entry>>} */
  async readAll() {
    /** @type {Map<string, Entry>} */
    const entries = new Map();
    const prefix = Folder.ROOT + '/';
    await this.transaction('readonly', (store) => {
      const cursor = store.openCursor(Folder.under(prefix));
      cursor.onsuccess = () => {
        const at = cursor.result;
        if (!at) return;
        entries.set(/** @type {string} */ (at.key).slice(prefix.length), at.value);
        at.continue();
      };
    });
    return entries;
  }

  /**
   * @param {Map<string, Entry>} a
   * @param {Map<string, Entry>} b
   * @returns {boolean}
   */
  static same(a, b) {
    if (a.size !== b.size) return false;
    for (const [name, entry] of a) {
      const other = b.get(name);
      if (!other || other.mode !== entry.mode || other.timestamp.getTime() !== entry.timestamp.getTime()) return false;
      const [x, y] = [entry.contents, other.contents];
      if (x !== y && (!x || !y || x.length !== y.length || x.some((byte, i) => byte !== y[i]))) return false;
    }
    return true;
  }

  // Runs body(store, give) in one transaction; resolves, once the browser
  // has completed it, to the value body gave.
  /**
   * @template T
   * @param {IDBTransactionMode} mode
   * @param {(store: IDBObjectStore, give: (value: T) => void) => void} body
   * @returns {Promise<T | undefined>}
   */
  transaction(mode, body) {
    return new Promise((resolve, reject) => {
      const transaction = /** @type {IDBDatabase} */ (this.db).transaction(['FILE_DATA'], mode);
      /** @type {T | undefined} */
      let result;
      transaction.oncomplete = () => resolve(result);
      transaction.onerror = () => reject(transaction.error);
      transaction.onabort = () => reject(transaction.error || new Error('the browser did not store the folder'));
      body(transaction.objectStore('FILE_DATA'), (value) => (result = value));
    });
  }

  // A read-write transaction; once the browser has it, the other tabs hear,
  // and this tab reads the folder again (what it read before may be older).
  /**
   * @template T
   * @param {(store: IDBObjectStore, give: (value: T) => void) => void} body
   * @returns {Promise<T | undefined>}
   */
  async change(body) {
    const result = await this.transaction('readwrite', body);
    if (this.channel) this.channel.postMessage('changed');
    this.refreshLater();
    return result;
  }

  // A read of the folder that nobody waits for; a failure is told on the
  // console, the folder shown stays as it was.
  refreshLater() {
    this.refresh().catch((error) => console.error('The folder could not be read again:', error));
  }

  // The folder's root in the program's file system, as in the stored keys.
  get root() {
    return Folder.ROOT;
  }

  notify() {
    for (const listener of this.listeners) listener();
  }

  /**
   * @param {string} name
   * @returns {boolean}
   */
  isFile(name) {
    const entry = this.entries.get(name);
    return entry !== undefined && Folder.isFileMode(entry.mode);
  }

  /**
   * @param {number} mode
   * @returns {boolean}
   */
  static isFileMode(mode) {
    return (mode & 0o170000) === 0o100000;
  }

  // The files, newest first ({name, size, time}).
  /** @returns {FileInfo[]} */
  files() {
    /** @type {FileInfo[]} */
    const files = [];
    for (const [name, entry] of this.entries) {
      if (Folder.isFileMode(entry.mode)) {
        const size = /** @type {Uint8Array} */ (entry.contents).length;
        files.push({ name, size, time: entry.timestamp.getTime() });
      }
    }
    return files.sort((a, b) => b.time - a.time || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
  }

  // The bytes of the file `name`, one the folder holds.
  /**
   * @param {string} name
   * @returns {Uint8Array}
   */
  read(name) {
    const entry = /** @type {Entry} */ (this.entries.get(name));
    return /** @type {Uint8Array} */ (entry.contents);
  }

  // The file `name` now holds `bytes` (the later of two writes wins).
  /**
   * @param {string} name
   * @param {Uint8Array} bytes
   * @returns {Promise<void>}
   */
  async put(name, bytes) {
    const entry = Folder.entry(Folder.FILE, bytes);
    if (this.db) await this.change((store) => store.put(entry, Folder.key(name)));
    this.entries.set(name, entry);
    this.notify();
  }

  // Adds `bytes` at the end of the stored file `name`; resolves to what it
  // then holds.
  /**
   * @param {string} name
   * @param {Uint8Array} bytes
   * @returns {Promise<Uint8Array>}
   */
  async append(name, bytes) {
    /** @param {Uint8Array} before */
    const join = (before) => {
      const whole = new Uint8Array(before.length + bytes.length);
      whole.set(before);
      whole.set(bytes, before.length);
      return Folder.entry(Folder.FILE, whole);
    };
    /** @type {Entry} */
    let entry;
    if (this.db) {
      // The transaction completes only once the stored file has been read and given back joined.
      entry = /** @type {Entry} */ (
        await this.change((store, give) => {
          const request = store.get(Folder.key(name));
          request.onsuccess = () => {
            const stored = request.result;
            const joined = join(stored && Folder.isFileMode(stored.mode) ? stored.contents : new Uint8Array(0));
            store.put(joined, Folder.key(name));
            give(joined);
          };
        })
      );
    } else {
      entry = join(this.isFile(name) ? this.read(name) : new Uint8Array(0));
    }
    this.entries.set(name, entry);
    this.notify();
    return /** @type {Uint8Array} */ (entry.contents);
  }

  /**
   * @param {string} name
   * @returns {Promise<void>}
   */
  async remove(name) {
    if (this.db) await this.change((store) => store.delete(Folder.key(name)));
    this.entries.delete(name);
    this.notify();
  }

  // Every file and folder gone, and one empty logfile.txt.
  /** @returns {Promise<void>} */
  async clear() {
    const prefix = Folder.ROOT + '/';
    const log = Folder.entry(Folder.FILE, new Uint8Array(0));
    if (this.db) {
      await this.change((store) => {
        store.delete(Folder.under(prefix));
        store.put(log, Folder.key(LOG_NAME));
      });
    }
    this.entries = new Map([[LOG_NAME, log]]);
    this.notify();
  }

  // The folder has no logfile.txt, and one can be made: nothing stands in
  // its way but, at most, an empty folder of that name.
  /** @returns {boolean} */
  lacksLog() {
    return !this.isFile(LOG_NAME) && ![...this.entries.keys()].some((name) => name.startsWith(LOG_NAME + '/'));
  }

  // An empty logfile.txt where the folder lacks one.
  /** @returns {Promise<void>} */
  async createLog() {
    const prefix = Folder.key(LOG_NAME) + '/';
    if (!this.lacksLog()) return;
    const log = Folder.entry(Folder.FILE, new Uint8Array(0));
    if (this.db) {
      await this.change((store) => {
        // As stored now: another tab's run may have made one meanwhile.
        const stored = store.get(Folder.key(LOG_NAME));
        const inside = store.count(Folder.under(prefix));
        inside.onsuccess = () => {
          const file = stored.result !== undefined && Folder.isFileMode(stored.result.mode);
          if (!file && inside.result === 0) store.put(log, Folder.key(LOG_NAME));
        };
      });
    } else {
      this.entries.set(LOG_NAME, log);
      this.notify();
    }
  }
}
