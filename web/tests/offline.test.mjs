// The page installed and offline: Chromium finds it installable, after one
// visit it loads and runs with the network off and its server gone, and a
// new build replaces the old cache on the next visit.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { appendFileSync, cpSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, test } from "node:test";

import {
  browserPool,
  distDir,
  openPanel,
  pageAndHeadless,
  reloadPanel,
  startServer,
  waitForFrames,
} from "./harness.mjs";

const kSplashPasses = 80;
const kWorkers = { serviceWorkers: "allow" };
const browsers = browserPool();
const servers = [];
after(async () => {
  await browsers.closeAll();
  for (const server of servers) server.close();
});

async function serve(folder) {
  const server = await startServer(folder);
  servers.push(server);
  return server;
}

const packager = new URL("../package-offline.mjs", import.meta.url).pathname;

// Waits until the service worker controls the page; its cache's name.
async function controlled(page) {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 0, polling: 50 });
  return page.evaluate(() => caches.keys());
}

test("Chromium finds the page installable: manifest, icons, service worker", async () => {
  const server = await serve();
  const browser = await browsers.launch(kWorkers);
  const { page } = await openPanel(browser.context, server.url);
  await controlled(page);
  const cdp = await browser.context.newCDPSession(page);
  const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
  assert.deepEqual(installabilityErrors, []);
  const { url, errors } = await cdp.send("Page.getAppManifest");
  assert.equal(url, `${server.url}manifest.webmanifest`);
  assert.deepEqual(errors, []);
  await browser.close();
  server.close();
});

test("after one visit the page loads and runs with the network off and its server gone", async () => {
  const server = await serve();
  const browser = await browsers.launch(kWorkers);
  const { page, errors } = await openPanel(browser.context, server.url);
  const names = await controlled(page);
  assert.equal(names.length, 1);
  assert.match(names[0], /^kvr9-[0-9a-f]{16}$/);
  await browser.context.setOffline(true);
  server.close();
  // A later visit, in a tab of its own (a reload would go on with the
  // instrument this one kept).
  const { page: later, errors: laterErrors } = await openPanel(browser.context, server.url);
  await later.locator("#Button1").click();
  await waitForFrames(later, kSplashPasses + 2);
  const { shown, expected } = await pageAndHeadless(later);
  assert.equal(shown.length, expected.length, "frames shown by the page and by kvr9-headless");
  shown.forEach((frame, i) => assert.equal(frame.art, expected[i].art, `LCD dots of frame ${i + 1}`));
  assert.equal(expected.at(-1).fields.currentScreen, "MainScreen", "the splash, then the main display");
  assert.deepEqual([...errors, ...laterErrors], [], "errors in the browser console");
  await browser.close();
});

test("a new build is a new cache, taken on the next visit; the old cache is deleted", async () => {
  const folder = mkdtempSync(join(tmpdir(), "kvr9-dist-"));
  cpSync(distDir, folder, { recursive: true });
  const server = await serve(folder);
  const browser = await browsers.launch(kWorkers);
  try {
    const { page } = await openPanel(browser.context, server.url);
    const [before] = await controlled(page);
    // A build that changes the page, packaged as the web preset does (which
    // minifies scripts and styles, so the change is in the HTML).
    appendFileSync(join(folder, "index.html"), "<!-- a new build -->\n");
    execFileSync(process.execPath, [packager, folder]);
    await reloadPanel(page);
    // The update installs beside the running page; wait until it has taken over.
    let names = [before];
    for (let tries = 0; names.length !== 1 || names[0] === before; ++tries) {
      assert.ok(tries < 300, `still the caches ${names.join(", ")} after 30 s`);
      await new Promise((done) => setTimeout(done, 100));
      names = await page.evaluate(() => caches.keys());
    }
    const [after] = names;
    assert.match(after, /^kvr9-[0-9a-f]{16}$/);
    assert.notEqual(after, before);
    const cached = await page.evaluate((name) => caches.open(name).then((c) => c.match("index.html")).then((r) => r.text()), after);
    assert.ok(cached.endsWith("<!-- a new build -->\n"), "the new cache holds the new file");
  } finally {
    await browser.close();
    server.close();
    rmSync(folder, { recursive: true, force: true });
  }
});
