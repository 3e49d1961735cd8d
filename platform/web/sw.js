// Keeps the page playable with no network: the page's files are cached when
// the worker is installed, and every later fetch of them goes to the network
// first (so a new build is taken up at once, and index.js never runs with
// another build's index.wasm) and falls back to the cached copy when the
// network is gone.
const CACHE = 'quadrovolt-page';
const FILES = ['./', 'index.html', 'index.js', 'index.wasm', 'board.js', 'manifest.webmanifest', 'icon-128.png',
               'icon-256.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
                      .then((names) => Promise.all(names.filter((n) => n != CACHE).map((n) => caches.delete(n))))
                      .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  // Only the page's own files: the score board's answers (the service
  // serving the page under /play/ has its API beside it) always come fresh.
  if (request.method != 'GET' || !request.url.startsWith(self.registration.scope) ||
      new URL(request.url).pathname.includes('/api/'))
    return;
  event.respondWith(fetch(request)
                        .then((response) => {
                          if (response.ok) {
                            const copy = response.clone();
                            // The page's address carries developer options: keep it as the page.
                            const key = request.mode == 'navigate' ? './' : request;
                            caches.open(CACHE).then((cache) => cache.put(key, copy));
                          }
                          return response;
                        })
                        .catch(() => caches.match(request.mode == 'navigate' ? './' : request, {ignoreSearch: true})
                                         .then((cached) => cached || Response.error())));
});
