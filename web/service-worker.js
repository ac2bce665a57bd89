// Keeps the page's files, so that once opened from a web server the page opens and converts
// with no network. The cache's name carries a digest of the files (written by scripts/web.sh),
// so that a new build replaces the old files as a whole; answers come from the cache first and
// the network fills in what it lacks.
"use strict";

const CACHE = "ruruzir-dewpoint-@FILES_DIGEST@";
const FILES = ["./", "index.html", "ruruzir.css", "ruruzir.js", "ruruzir-page.js",
  "manifest.webmanifest", "icon-180.png", "icon-192.png", "icon-512.png",
  "icon-maskable-512.png"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith("ruruzir-dewpoint-") && name !== CACHE)
    .map((name) => caches.delete(name)))).then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  // The address's fragment and query never reach here as other files: the page is one file.
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(request, { ignoreSearch: true }).then((kept) => kept || fetch(request))));
});
