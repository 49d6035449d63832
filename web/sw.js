// Keeps the page working without a network: every file of the page in one
// cache named after their contents, so that a new build gets a new cache on
// the next visit and the old one is dropped. package-offline.mjs fills in
// the name and the list when it builds the page.
"use strict";

const kCache = "kvr9-@CACHE_HASH@";
const kFiles = ["./", @FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(kCache)
      .then((cache) => cache.addAll(kFiles))
      .then(() => self.skipWaiting())
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("kvr9-") && name !== kCache).map((name) => caches.delete(name))))
      .then(() => self.clients.claim())
  );
});

// The page's own files from the cache, anything else from the network.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches
      .open(kCache)
      .then((cache) => cache.match(event.request, { ignoreSearch: event.request.mode === "navigate" }))
      .then((cached) => cached || fetch(event.request))
  );
});
