// The service worker: the page and its module are kept on the first visit and served from the
// browser afterwards, with or without a network; the schedule module, the first time a schedule is
// opened. A new build (another cache name) is fetched in the background and takes effect when the
// page is next started.
const CACHE = "kelvo-@KELVO_WEB_STAMP@";
const FILES = [@KELVO_WEB_FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys().then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
  );
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches.open(CACHE).then((cache) =>
      cache.match(event.request, { ignoreSearch: true }).then(
        (kept) =>
          kept ||
          fetch(event.request).then((response) => {
            if (response.ok && new URL(event.request.url).origin === location.origin)
              cache.put(event.request, response.clone());
            return response;
          })
      )
    )
  );
});
