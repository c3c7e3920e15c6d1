// A new release reaches an open or cached page: once the program waits for
// its first answer, and each time the tab is shown again, the page asks the
// server which release it has, and takes another one at the next safe
// moment. A browser may keep a page served without caching headers (plain
// http) for days, and a service worker answers it from its own copy, so the
// question goes where neither answers: the page's own address (as the tab
// shows it, without its #) asked again unconditionally, which also replaces
// the copy the browser's next load would take; under a service worker,
// release.txt, which it never keeps, and the worker's own update check.
//
// Safe moments: at once while the run has had no key; otherwise when the next
// run would start (Run again reloads instead). Never at a run's end, whose
// report would go. At most one reload per release in a tab's session, so that
// no server can make the page reload forever. Offline, or when the server
// does not answer, nothing changes and nothing is said.

export class Release {
  // `idle()`: no key has reached the current run, which has not ended;
  // `leaving()`: called just before the page reloads.
  /** @param {{ idle: () => boolean, leaving: () => void }} hooks */
  constructor({ idle, leaving }) {
    const meta = /** @type {HTMLMetaElement | null} */ (document.querySelector('meta[name="release"]'));
    this.id = meta ? meta.content : null;
    this.idle = idle;
    this.leaving = leaving;
    /** @type {string | null} */
    this.found = null; // another release's id, on the server
  }

  // From the program's first prompt on.
  watch() {
    if (!/^https?:$/.test(location.protocol) || this.id === null) return;
    this.check();
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'visible') this.check();
    });
  }

  async check() {
    let id;
    try {
      id = await Release.served();
    } catch {
      return; // offline, or refused
    }
    if (id === null || id === this.id) return;
    this.found = id;
    if (this.idle()) this.take();
  }

  // The id of the release the server has, or null if it does not say.
  static async served() {
    const workers = navigator.serviceWorker;
    if (workers && workers.controller) {
      workers
        .getRegistration()
        .then((registration) => registration && registration.update())
        .catch(() => {});
      const response = await fetch('release.txt', { cache: 'reload' });
      const id = response.ok ? (await response.text()).trim() : '';
      return /^[0-9a-f]{8}$/.test(id) ? id : null;
    }
    const response = await fetch(location.href.split('#')[0], { cache: 'reload' });
    const found = response.ok && /<meta name="release" content="([0-9a-f]{8})">/.exec(await response.text());
    return found ? found[1] : null;
  }

  // Reloads into the release found, unless this tab has done so for it
  // before; true if it does.
  take() {
    if (this.found === null) return false;
    const key = 'zorvandrel-release';
    try {
      if (sessionStorage.getItem(key) === this.found) return false;
      sessionStorage.setItem(key, this.found);
    } catch {
      return false; // storage refused: it could not stop a second reload
    }
    this.leaving();
    location.reload();
    return true;
  }
}
