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

export class Folder {
  static ROOT = '/store/folder';
  static FILE = 0o100666;
  static DIRECTORY = 0o40777;

  constructor() {
    this.entries = new Map(); // name -> {timestamp: Date, mode, contents?}
    this.db = null; // null where the browser keeps nothing: the folder lives in the page
    this.refused = null; // why the browser keeps nothing, where it does not
    this.listeners = [];
    this.reading = 0; // the number of the newest read of the whole folder
    this.newest = null; // and its promise
    this.channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('zorvandrel-folder') : null;
    if (this.channel) this.channel.onmessage = () => this.refreshLater();
  }

  // Opens the stored folder (a new one holds one empty logfile.txt); where
  // the browser refuses storage, a folder in the page only (`refused` says
  // why).
  async open() {
    try {
      this.db = await new Promise((resolve, reject) => {
        const request = indexedDB.open('/store', 21);
        request.onupgradeneeded = () => {
          const store = request.result.createObjectStore('FILE_DATA');
          store.createIndex('timestamp', 'timestamp', { unique: false });
        };
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      });
      this.db.onversionchange = () => this.db.close();
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

  static entry(mode, contents) {
    return contents === undefined ? { timestamp: new Date(), mode } : { timestamp: new Date(), mode, contents };
  }

  static key(name) {
    return Folder.ROOT + '/' + name;
  }

  // Every key that starts with `prefix`.
  static under(prefix) {
    return IDBKeyRange.bound(prefix, prefix + '\uffff');
  }

  // Reads the whole folder again (another tab changed it). Reads may end
  // in any order: only the newest one is taken, and an older one resolves
  // once that one has (a run started on it must not see an older folder).
  async refresh() {
    if (!this.db) return;
    const reading = ++this.reading;
    const read = this.readAll().then((entries) => {
      if (reading !== this.reading) return this.newest;
      // Unchanged (this tab's own change, read back): the pane stays as it is.
      if (Folder.same(entries, this.entries)) return;
      this.entries = entries;
      this.notify();
    });
    this.newest = read;
    return read;
  }

  async readAll() {
    const entries = new Map();
    const prefix = Folder.ROOT + '/';
    await this.transaction('readonly', (store) => {
      const cursor = store.openCursor(Folder.under(prefix));
      cursor.onsuccess = () => {
        const at = cursor.result;
        if (!at) return;
        entries.set(at.key.slice(prefix.length), at.value);
        at.continue();
      };
    });
    return entries;
  }

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
  transaction(mode, body) {
    return new Promise((resolve, reject) => {
      const transaction = this.db.transaction(['FILE_DATA'], mode);
      let result;
      transaction.oncomplete = () => resolve(result);
      transaction.onerror = () => reject(transaction.error);
      transaction.onabort = () => reject(transaction.error || new Error('the browser did not store the folder'));
      body(transaction.objectStore('FILE_DATA'), (value) => (result = value));
    });
  }

  // A read-write transaction; once the browser has it, the other tabs hear,
  // and this tab reads the folder again (what it read before may be older).
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

  isFile(name) {
    const entry = this.entries.get(name);
    return entry !== undefined && Folder.isFileMode(entry.mode);
  }

  static isFileMode(mode) {
    return (mode & 0o170000) === 0o100000;
  }

  // The files, newest first ({name, size, time}).
  files() {
    const files = [];
    for (const [name, entry] of this.entries) {
      if (Folder.isFileMode(entry.mode)) {
        files.push({ name, size: entry.contents.length, time: entry.timestamp.getTime() });
      }
    }
    return files.sort((a, b) => b.time - a.time || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
  }

  read(name) {
    return this.entries.get(name).contents;
  }

  // The file `name` now holds `bytes` (the later of two writes wins).
  async put(name, bytes) {
    const entry = Folder.entry(Folder.FILE, bytes);
    if (this.db) await this.change((store) => store.put(entry, Folder.key(name)));
    this.entries.set(name, entry);
    this.notify();
  }

  // Adds `bytes` at the end of the stored file `name`; resolves to what it
  // then holds.
  async append(name, bytes) {
    const join = (before) => {
      const whole = new Uint8Array(before.length + bytes.length);
      whole.set(before);
      whole.set(bytes, before.length);
      return Folder.entry(Folder.FILE, whole);
    };
    let entry;
    if (this.db) {
      entry = await this.change((store, give) => {
        const request = store.get(Folder.key(name));
        request.onsuccess = () => {
          const stored = request.result;
          const joined = join(stored && Folder.isFileMode(stored.mode) ? stored.contents : new Uint8Array(0));
          store.put(joined, Folder.key(name));
          give(joined);
        };
      });
    } else {
      entry = join(this.isFile(name) ? this.read(name) : new Uint8Array(0));
    }
    this.entries.set(name, entry);
    this.notify();
    return entry.contents;
  }

  async remove(name) {
    if (this.db) await this.change((store) => store.delete(Folder.key(name)));
    this.entries.delete(name);
    this.notify();
  }

  // Every file and folder gone, and one empty logfile.txt.
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
  lacksLog() {
    return !this.isFile(LOG_NAME) && ![...this.entries.keys()].some((name) => name.startsWith(LOG_NAME + '/'));
  }

  // An empty logfile.txt where the folder lacks one.
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
