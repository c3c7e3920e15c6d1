// The service worker's answer for the page itself (write-service-worker.js
// puts this first in sw.js, before Workbox's own listener): a navigation to
// the page (its folder, index.html) asks the server first, unconditionally,
// so that the load after a new release is published is that release even
// while its worker still installs, and takes the kept copy only when the
// server does not answer within three seconds (offline). Every other file,
// the help texts opened from the page too, is Workbox's: kept under its content's hash, so a page of either release
// loads only its own files. (No 'use strict' here: it would hold for the
// whole of sw.js.)

self.addEventListener('fetch', (fetched) => {
  const event = /** @type {FetchEvent} */ (fetched);
  const { request } = event;
  const { pathname } = new URL(request.url);
  if (request.mode !== 'navigate' || request.method !== 'GET' || !/\/(index\.html)?$/.test(pathname)) return;
  const page = new URL('index.html', request.url);
  event.stopImmediatePropagation(); // Workbox's precache would answer it from the old copy
  const kept = () => caches.match(page.href, { ignoreSearch: true }).then((response) => response || Response.error());
  // A redirect goes back to the browser as it came.
  /** @type {RequestInit} */
  const fresh = { cache: 'reload', credentials: 'same-origin', redirect: 'manual' };
  const served = fetch(request.url, fresh).then((response) =>
    response.ok || response.type === 'opaqueredirect' ? response : kept()
  );
  const late = new Promise((resolve) => setTimeout(resolve, 3000)).then(kept);
  event.respondWith(Promise.race([served.catch(kept), late]));
});
