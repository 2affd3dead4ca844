// Quorvane as an app: on the first visit this worker keeps the app's files,
// and from then on serves them from what it kept, so that the app opens
// without the network. The build names its cache by the release, from what
// the release holds, so a new release's worker keeps its own files and
// drops the old.
const kept = 'quorvane-RELEASE';
const files = ['./', 'index.html', 'manifest.webmanifest', 'ICONS']; // the icons the manifest names, put in by the build

// The files straight from the host, not from the browser's HTTP cache,
// which may still hold the last release's.
self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(kept)
      .then((cache) => cache.addAll(files.map((file) => new Request(file, { cache: 'reload' }))))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(names.filter((name) => name !== kept).map((name) => caches.delete(name))),
      )
      .then(() => self.clients.claim()),
  );
});

self.addEventListener('fetch', (event) => {
  event.respondWith(
    caches
      .match(event.request, { cacheName: kept, ignoreSearch: true })
      .then((file) => file ?? fetch(event.request)),
  );
});
