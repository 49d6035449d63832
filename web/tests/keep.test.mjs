// Keeping the instrument at a phone's size: a shared link opened in a
// fresh browser shows the same LCD and settings; a reload goes on from
// where the person left it, the flight's speed with it; "Start afresh"
// forgets it; a damaged link says so and leaves the instrument at its
// defaults.
import assert from "node:assert/strict";
import { deflateRawSync } from "node:zlib";
import { test } from "node:test";

import { kPhone, launchBrowser, openPanel, reloadPanel, servedToAPhone, waitForMoreFrames } from "./harness.mjs";

const served = servedToAPhone();

// The LCD's text as a screen reader has it (told at most once a second),
// once it is the one expected or after two seconds.
async function lcdText(page, expected = null) {
  const read = () => document.getElementById("LcdText").textContent;
  if (expected !== null) await page.waitForFunction((want) => document.getElementById("LcdText").textContent === want, expected, { timeout: 2000 }).catch(() => {});
  return page.evaluate(read);
}

// The instrument's settings, read from the full program's snapshot.
async function settings(page) {
  return page.evaluate(async () => {
    const full = await window.kvr9Page.full();
    return JSON.parse(full.UTF8ToString(full._kvr9_snapshot_json())).settings;
  });
}

const logged = (page, kind) => page.waitForFunction((kind) => window.kvr9Session.some((e) => e.kind === kind), kind);

// Switched on, QNH raised twice on the main screen (1015mB): a setup that
// differs from the defaults.
async function setUp(page) {
  await page.tap("#Button1");
  await page.waitForFunction(() => /mB/.test(document.getElementById("LcdText").textContent), null, { timeout: 30000 });
  for (let turn = 0; turn < 2; ++turn) {
    await page.tap("#Button3");
    await waitForMoreFrames(page, 3);
  }
}

test("a phone: a shared link opens the same LCD and settings in a fresh browser; a reload keeps the instrument", async () => {
  const { page, errors } = await openPanel(served.browser.context, served.server.url);
  await setUp(page);
  await page.waitForFunction(() => /1015mB/.test(document.getElementById("LcdText").textContent));
  const text = await lcdText(page);
  const kept = await settings(page);
  assert.equal(kept.qnh, 1015250);
  await page.tap("#Share");
  await logged(page, "shared");
  const link = await page.inputValue("#ShareLink");
  assert.match(link, /#setup=[A-Za-z0-9_-]+$/);

  const other = await launchBrowser(kPhone);
  try {
    const { page: opened, errors: openedErrors } = await openPanel(other.context, link);
    await logged(opened, "linkOpened");
    await waitForMoreFrames(opened, 2);
    assert.equal(await lcdText(opened, text), text);
    assert.deepEqual(await settings(opened), kept);
    assert.equal(new URL(opened.url()).hash, "", "the setup leaves the address once opened");
    assert.deepEqual(openedErrors, []);
  } finally {
    await other.close();
  }

  // The flight's speed is kept with the instrument.
  const x64 = page.locator("#FlightSpeed button", { hasText: "x64" });
  await x64.tap();
  await waitForMoreFrames(page, 2);
  await reloadPanel(page);
  await logged(page, "restored");
  await waitForMoreFrames(page, 2);
  assert.equal(await lcdText(page, text), text);
  assert.deepEqual(await settings(page), kept);
  assert.equal(await x64.getAttribute("aria-pressed"), "true", "x64 kept");

  await page.tap("#Afresh");
  await page.waitForFunction(() => window.kvr9Session.some((e) => e.kind === "ready"));
  assert.ok(!(await page.evaluate(() => window.kvr9Session.some((e) => e.kind === "restored"))));
  assert.deepEqual(errors, []);
});

test("ten minutes on: the page's own link opens in a fresh browser, and its kept copy after a reload", async () => {
  // A browser of its own: the clock is the whole browser's, and ten minutes
  // of the page's timers run in a moment.
  const own = await launchBrowser(kPhone);
  const other = await launchBrowser(kPhone);
  try {
    await own.context.clock.install();
    const { page, errors } = await openPanel(own.context, served.server.url);
    await setUp(page);
    // Ten minutes of frames are not read back from the canvas.
    await page.evaluate(() => {
      const record = window.kvr9Observer;
      window.kvr9Observer = (kind, detail) => kind !== "frame" && record(kind, detail);
    });
    await own.context.clock.runFor("10:00");
    const passes = await page.evaluate(async () => {
      const full = await window.kvr9Page.full();
      return JSON.parse(full.UTF8ToString(full._kvr9_snapshot_json())).panel.commLines.count;
    });
    assert.ok(passes >= 6000, `${passes} passes in ten minutes`);
    const kept = await settings(page);
    await page.tap("#Share");
    await logged(page, "shared");
    const link = await page.inputValue("#ShareLink");

    const { page: opened, errors: openedErrors } = await openPanel(other.context, link);
    await logged(opened, "linkOpened");
    assert.deepEqual(await settings(opened), kept);
    assert.deepEqual(openedErrors, []);

    await reloadPanel(page);
    await logged(page, "restored");
    assert.deepEqual(await settings(page), kept);
    assert.deepEqual(errors, []);
  } finally {
    await other.close();
    await own.close();
  }
});

// A link's setup as the page writes it: the JSON text, deflated, base64url.
const linked = (json) => deflateRawSync(Buffer.from(json)).toString("base64url");

test("a link that holds no setup says why and leaves the instrument at its defaults", async () => {
  const cases = [
    { fragment: "AAAA", why: "it is damaged or cut short" },
    // A KB of fragment that inflates to a MB stops inflating at the cap.
    { fragment: linked(" ".repeat(1 << 20)), why: "it is too long" },
    { fragment: linked('{"format": "kvr8-snapshot", "version": 1}'), why: 'the link: format: "kvr8-snapshot" is not one of "kvr9-snapshot"' },
  ];
  const { page } = await openPanel(served.browser.context, served.server.url);
  const defaults = await settings(page);
  for (const { fragment, why } of cases) {
    const fresh = await openPanel(served.browser.context, `${served.server.url}#setup=${fragment}`);
    await logged(fresh.page, "linkRefused");
    assert.equal(
      await fresh.page.textContent("#notice"),
      `This link does not hold a setup the simulator can open (${why}); the instrument is at its defaults.`
    );
    assert.deepEqual(await settings(fresh.page), defaults);
  }
});
