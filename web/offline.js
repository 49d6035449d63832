// Installs the service worker (sw.js) once the page has loaded, so that it
// never competes with the page's own files on the first visit.
"use strict";

if ("serviceWorker" in navigator && location.protocol !== "file:") {
  window.addEventListener("load", () => {
    navigator.serviceWorker.register("sw.js").catch(() => {
      // Without it the page still works, only not offline.
    });
  });
}
