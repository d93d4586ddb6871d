// Keeps the page's own files on this computer, so that once the page has
// been visited it opens and converts with no network. Each build names its
// files' version below (web/StampVersion.cmake): a new build is a new
// service worker, which fetches the new files whole before it takes over, so
// the page never runs a mix of two builds. Only the page's own address is
// ever asked; documents never pass through here (they are read from the
// computer by the page itself).
"use strict";

const kVersion = "@PAGE_VERSION@";
const kCache = `maravelundi-${kVersion}`;
const kFiles = ["./", "index.html", "page.css", "page.js", "worker.js", "maravelundi.js", "maravelundi.wasm",
  "fflate.js", "Manjari-Regular.otf", "Manjari-LICENSE.txt", "fflate-LICENSE.txt", "icon.svg", "icon-192.png",
  "icon-512.png", "favicon.ico", "manifest.webmanifest"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== kCache).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The kept copy first; the network only for what was never kept.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(kCache).then(async (cache) => {
    const kept = await cache.match(request, { ignoreSearch: true }) ??
      (request.mode === "navigate" ? await cache.match("index.html") : undefined);
    return kept ?? fetch(request);
  }));
});
