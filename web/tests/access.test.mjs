// The page for screen readers and the keyboard: axe-core finds no
// violation on a desktop and on a phone, the picture's keys and knob are
// named buttons that Enter and Space work and that show their focus, and the
// LCD has a name and a live region beside it.
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { after, before, test } from "node:test";

import { browserPool, firstFrom, kPhone, openPanel, session, startServer } from "./harness.mjs";

const axePath = createRequire(import.meta.url).resolve("axe-core/axe.min.js");

let server;
const browsers = browserPool();

before(async () => {
  server = await startServer();
});

after(async () => {
  await browsers.closeAll();
  server.close();
});

// [name, device]
const kDevices = [
  ["a desktop, 1280 x 800", { viewport: { width: 1280, height: 800 } }],
  ["a phone, 390 x 844", kPhone],
  ["a phone on its side, 844 x 390", { ...kPhone, viewport: { width: 844, height: 390 } }],
];

for (const [name, device] of kDevices) {
  test(`axe-core finds no violation on ${name}, instrument on`, async () => {
    const browser = await browsers.launch(device);
    const { page } = await openPanel(browser.context, server.url);
    await page.locator("#Button1").click();
    await page.waitForFunction(() => window.kvr9Session.some((entry) => entry.kind === "frame"));
    await page.addScriptTag({ path: axePath });
    const results = await page.evaluate(() => window.axe.run());
    const found = results.violations.map(
      (v) => `${v.id}: ${v.help} (${v.nodes.map((n) => n.target.join(" ")).join(", ")})`
    );
    assert.deepEqual(found, []);
    await browser.close();
  });
}

// [area, its name, the key it stores, the keyboard key that clicks it]
const kAreas = [
  ["Image3", "F1 key, up", "f1", "Enter"],
  ["Image5", "Knob: press", "press", " "],
  ["Image6", "F2 key, down", "f2", "Enter"],
];

test("the keys and the knob of the picture: named buttons, reached by Tab, clicked by Enter and Space, focus shown", async () => {
  const browser = await browsers.launch();
  const { page, errors } = await openPanel(browser.context, server.url);
  const canvas = await page.locator("#Image1").evaluate((e) => [e.getAttribute("role"), e.getAttribute("aria-label")]);
  assert.equal(canvas[0], "img");
  assert.ok(canvas[1], "the LCD has a name");
  const live = await page.locator("#LcdText").evaluate((e) => [e.getAttribute("role"), e.getAttribute("aria-live"), e.textContent]);
  assert.deepEqual(live, ["status", "polite", ""]);
  // Tab from the start of the page to each area in turn.
  await page.locator("body").focus();
  for (const [id, label, key, keyboardKey] of kAreas) {
    for (let tabs = 0; tabs < 20 && (await page.evaluate(() => document.activeElement.id)) !== id; ++tabs) {
      await page.keyboard.press("Tab");
    }
    const focused = await page.evaluate(() => {
      const e = document.activeElement;
      const s = getComputedStyle(e);
      return { id: e.id, role: e.getAttribute("role"), name: e.getAttribute("aria-label"), outline: s.outlineStyle, width: s.outlineWidth };
    });
    assert.deepEqual([focused.id, focused.role, focused.name], [id, "button", label], `${id} reached by Tab`);
    assert.ok(focused.outline !== "none" && parseFloat(focused.width) >= 2, `${id} shows its focus`);
    const from = (await session(page)).length;
    await page.keyboard.press(keyboardKey);
    const log = await session(page);
    const stored = firstFrom(log, from, "key");
    assert.ok(stored >= 0, `${JSON.stringify(keyboardKey)} on ${id} stores a key`);
    assert.equal(log[stored].detail, key);
  }
  assert.deepEqual(errors, []);
  await browser.close();
});
