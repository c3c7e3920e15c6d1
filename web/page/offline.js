// Offline: the site's service worker (sw.js, written at build time) keeps
// every file of the page once visited, so that the page opens without the
// network; release.js has it update itself when a new release is
// published.
// Browsers run service workers only on HTTPS and localhost pages; elsewhere
// (opened from disk, plain http on a school's network) the page works as
// before, from the network. The worker is registered once the program waits
// for its first line (or at most 10 s after the page has loaded): its first
// download of the whole site would otherwise hold up the program's start on
// a first visit.
/** @param {Promise<unknown>} firstPrompt */
export function offerOffline(firstPrompt) {
  const served = location.protocol === 'https:' || location.protocol === 'http:';
  if (!served || !window.isSecureContext || !('serviceWorker' in navigator)) return;
  let registered = false;
  const register = () => {
    if (registered) return;
    registered = true;
    navigator.serviceWorker.register('sw.js').catch((error) => {
      // refused (a private window, storage turned off): the page needs the network
      console.warn('The page will not open offline:', error);
    });
  };
  firstPrompt.then(register);
  window.addEventListener('load', () => setTimeout(register, 10000));
}
