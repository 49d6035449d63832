// Keeping the instrument: on this device between visits, and in a link
// that hands this setup to someone else.
// - Leaving the page (or hiding it) keeps the session's image, and the
//   flight log opened last, in the browser's storage for this page only;
//   the next visit goes on from there. "Start afresh" forgets it.
// - "Share this setup" writes the snapshot's JSON text, compressed, into
//   the link's fragment, which browsers never send to a server. Opening
//   such a link sets the instrument as it was; a link that does not hold
//   one says so and leaves the instrument at its defaults. A lesson's link
//   is made the same way (lessons.js); it opens on top of what is kept.
"use strict";

(function () {
  const kKept = "kvr9-instrument";
  const kKeptLog = "kvr9-flight-log";
  // Past this a log is not kept: the browser's storage holds a few MB.
  const kLargestKeptLog = 1024 * 1024;
  const kLinkKey = "setup=";
  const kLessonKey = "lesson=";
  // A snapshot's text is refused past 64 KB; its link is far shorter.
  const kLongestLink = 64 * 1024;
  const byId = (id) => document.getElementById(id);
  const { text } = window.kvr9Texts;
  let page = null;
  let afresh = false;

  const base64 = (bytes) => btoa(Array.from(bytes, (byte) => String.fromCharCode(byte)).join(""));
  const unbase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
  const base64url = (bytes) => base64(bytes).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
  const unbase64url = (text) => unbase64(text.replace(/-/g, "+").replace(/_/g, "/"));

  async function squeeze(bytes, stream) {
    return new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(stream)).arrayBuffer());
  }

  // A link's text, deflated and written in the letters a fragment keeps.
  const pack = async (bytes) => base64url(await squeeze(bytes, new CompressionStream("deflate-raw")));

  // A link's text back, refused past largest bytes as soon as it is: a few
  // KB of fragment can inflate to many MB.
  async function unpack(fragment, largest) {
    const reader = new Blob([unbase64url(fragment)]).stream().pipeThrough(new DecompressionStream("deflate-raw")).getReader();
    const parts = [];
    let size = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      size += value.length;
      if (size > largest) {
        reader.cancel().catch(() => {});
        throw new Error("it is too long");
      }
      parts.push(value);
    }
    const bytes = new Uint8Array(size);
    let at = 0;
    for (const part of parts) {
      bytes.set(part, at);
      at += part.length;
    }
    return bytes;
  }

  function keep() {
    if (page === null || afresh) return;
    try {
      const firmware = page.program();
      const size = firmware._kvr9_image_capture();
      const at = firmware._kvr9_image_data();
      localStorage.setItem(kKept, base64(firmware.HEAPU8.subarray(at, at + size)));
      const log = page.flightLog();
      if (log !== null && log.bytes.length <= kLargestKeptLog) {
        localStorage.setItem(kKeptLog, JSON.stringify({ name: log.name, bytes: base64(log.bytes) }));
      } else {
        localStorage.removeItem(kKeptLog);
      }
    } catch {
      // Storage refused (private browsing, full): the next visit starts afresh.
    }
  }

  // The image kept by the last visit, set back before the first pass.
  function restore() {
    let image = null;
    try {
      image = localStorage.getItem(kKept);
    } catch {
      return;
    }
    if (image === null) return;
    const firmware = page.program();
    try {
      const log = JSON.parse(localStorage.getItem(kKeptLog) ?? "null");
      if (log !== null) page.reopenLog({ name: log.name, bytes: unbase64(log.bytes) });
      const bytes = unbase64(image);
      firmware.HEAPU8.set(bytes, firmware._kvr9_input_buffer(bytes.length));
    } catch {
      forget();
      return;
    }
    const answer = firmware.UTF8ToString(firmware._kvr9_image_apply());
    if (answer === "") {
      forget();
      page.notice(text("keep.otherVersion"));
      return;
    }
    page.showSetBack(JSON.parse(answer));
    page.notice(text("keep.restored"), { news: true });
    page.observe("restored");
  }

  function forget() {
    try {
      localStorage.removeItem(kKept);
      localStorage.removeItem(kKeptLog);
    } catch {
      // Nothing was kept.
    }
  }

  function startAfresh() {
    afresh = true;
    forget();
    location.replace(location.pathname + location.search);
  }

  // Said beside the buttons the person just used, where they are looking.
  function saySharing(text) {
    byId("ControlsSays").textContent = text;
  }

  async function share() {
    const output = byId("ShareLink");
    const full = await page.full();
    const json = new TextEncoder().encode(full.UTF8ToString(full._kvr9_snapshot_json()));
    const link = `${location.origin}${location.pathname}#${kLinkKey}${await pack(json)}`;
    output.value = link;
    output.hidden = false;
    page.observe("shared", link);
    if (navigator.clipboard && typeof navigator.clipboard.writeText === "function") {
      navigator.clipboard.writeText(link).then(
        () => saySharing(text("keep.copied")),
        () => saySharing(text("keep.copyIt"))
      );
    } else {
      saySharing(text("keep.copyIt"));
    }
    output.select();
  }

  // A link's setup, set back in the full program; the fragment then goes
  // from the address, so a reload goes on from the device's copy.
  async function openLink(fragment) {
    history.replaceState(null, "", location.pathname + location.search);
    const refuse = (why) => {
      page.notice(text("keep.refused", { why }));
      page.observe("linkRefused", why);
    };
    let setup;
    try {
      if (fragment.length > kLongestLink) throw new Error("it is too long");
      setup = await unpack(fragment, kLongestLink);
    } catch (error) {
      refuse(text(error instanceof Error && error.message === "it is too long" ? "keep.tooLong" : "keep.damaged"));
      return;
    }
    let full;
    try {
      full = await page.full();
    } catch {
      page.notice(text("keep.noFullProgram"));
      return;
    }
    const name = new TextEncoder().encode("the link");
    const at = full._kvr9_input_buffer(name.length + setup.length);
    full.HEAPU8.set(name, at);
    full.HEAPU8.set(setup, at + name.length);
    const answer = JSON.parse(full.UTF8ToString(full._kvr9_snapshot_open(name.length)));
    if (answer.error !== undefined) {
      refuse(answer.error);
      return;
    }
    page.showSetBack(answer);
    page.notice(text("keep.opened"), { news: true });
    page.observe("linkOpened");
  }

  window.kvr9Keep = { pack, unpack, lessonLink: (packed) => `${location.origin}${location.pathname}#${kLessonKey}${packed}` };

  window.kvr9Page.whenReady((ready) => {
    page = ready;
    const fragment = location.hash.startsWith("#" + kLinkKey) ? location.hash.slice(1 + kLinkKey.length) : null;
    if (fragment !== null) openLink(fragment);
    else restore();
    if (location.hash.startsWith("#" + kLessonKey)) {
      const lesson = location.hash.slice(1 + kLessonKey.length);
      history.replaceState(null, "", location.pathname + location.search);
      page.lessons().then(
        (lessons) => lessons.openLink(lesson),
        () => page.notice(text("notice.lessonsUnloaded"))
      );
    }
    byId("Share").addEventListener("click", () =>
      share().catch(() => page.notice(text("keep.unmade")))
    );
    byId("Afresh").addEventListener("click", startAfresh);
    document.addEventListener("visibilitychange", () => document.visibilityState === "hidden" && keep());
    window.addEventListener("pagehide", keep);
  });
})();
