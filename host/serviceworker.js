// The game for playing without the network: every file of one build in a
// cache of its own, named by the digest of the build's files. A new build
// is fetched whole beside the old one and takes over only when no page of
// the old one is open, so that a page never gets files of two builds; the
// old files go then. The saved settings and scores live in the page's
// storage, not here, and are never touched.
"use strict";

var BUILD = "@BUILD@";
var CACHE = "glimmerdeep-" + BUILD;
var FILES = [@FILES@];

self.addEventListener("install", function (event) {
  // Past any HTTP cache: what is kept must be this build's.
  event.waitUntil(caches.open(CACHE).then(function (cache) {
    return cache.addAll(FILES.map(function (file) { return new Request(file, { cache: "reload" }); }));
  }));
});

self.addEventListener("activate", function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf("glimmerdeep-") === 0 && name !== CACHE;
    }).map(function (name) { return caches.delete(name); }));
  }));
});

// The query (?pacing=1 and the like) chooses nothing among the files.
self.addEventListener("fetch", function (event) {
  var request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE).then(function (cache) {
    return cache.match(request, { ignoreSearch: true }).then(function (kept) {
      return kept || fetch(request);
    });
  }));
});
