// The site's offline copy: every file of it, kept at the first visit in a
// cache named after this build, and served from there before the network.
// A new build is a new worker; it drops the old build's cache.
const cacheName = "koren-@BUILD@";
const files = @FILES@;

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(
        caches.keys()
            .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
            .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
    event.respondWith(caches.match(event.request, {ignoreSearch: true}).then((kept) => kept || fetch(event.request)));
});
