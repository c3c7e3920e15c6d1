// A new release reaches an open or cached page: once the program waits for
// its first answer, and each time the tab is shown again, the page asks the
// server which release it has, and takes another one at the next safe
// moment. A browser may keep a page served without caching headers (plain
// http) for days, and a service worker answers it from its own copy, so the
// question goes where neither answers: the page's own address (as the tab
// shows it, without its #) asked again unconditionally, which also replaces
// the copy the browser's next load would take; under a service worker,
// release.txt, which it never keeps, and the worker's own update check: the
// page reloads once the new release's worker has taken over, so the reload
// is that release.
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
    const worker = !!(navigator.serviceWorker && navigator.serviceWorker.controller);
    let id;
    try {
      id = await Release.served(worker);
    } catch {
      return; // offline, or refused
    }
    if (id === null || id === this.id) return;
    // Under a service worker, a reload shows what the worker keeps: the new
    // release once its worker has taken over.
    if (worker && !(await Release.workerTakesOver())) return;
    this.found = id;
    if (this.idle()) this.take();
  }

  // Asks the worker to update itself; true once a new worker controls the
  // page (or none was to come), false where the update fails.
  static async workerTakesOver() {
    const workers = navigator.serviceWorker;
    try {
      const registration = await workers.getRegistration();
      if (!registration) return true;
      const taken = new Promise((resolve) => workers.addEventListener('controllerchange', resolve, { once: true }));
      await registration.update();
      const coming = registration.installing || registration.waiting;
      if (!coming) return true; // nothing newer to install: it took over already
      await taken;
      return true;
    } catch {
      return false;
    }
  }

  // The id of the release the server has, or null if it does not say;
  // `worker`: a service worker answers this page.
  /** @param {boolean} worker */
  static async served(worker) {
    if (worker) {
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
