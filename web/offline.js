// Offline: the site's service worker (written at build time) keeps the page
// working once visited.
'use strict';
