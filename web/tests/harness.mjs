// What the browser tests and the measurements share: a static server on a
// free loopback port, Debian's Chromium driven by playwright-core, a panel
// page whose session is recorded, and kvr9-headless replaying that session.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, statSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join, normalize, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";
import { after, before } from "node:test";
import { chromium } from "playwright-core";

const root = resolve(fileURLToPath(new URL("../..", import.meta.url)));
export const distDir = process.env.KVR9_WEB_DIST ?? join(root, "build", "web", "dist");
// The LCD text decoder over a text-art frame (not installed).
export const textReader =
  process.env.KVR9_READ_TEXT ?? join(root, "build", "dev", "tests", "kvr9_read_text");
export const headlessDriver =
  process.env.KVR9_HEADLESS ?? join(root, "build", "dev", "tools", "headless", "kvr9-headless");

const kTypes = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".webp": "image/webp",
  ".png": "image/png",
  ".webmanifest": "application/manifest+json",
};

// Serves a folder on 127.0.0.1 at a port the system picks, so that runs in
// parallel never meet.
export async function startServer(folder = distDir) {
  const base = resolve(folder) + sep;
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const file = normalize(join(base, path.endsWith("/") ? path + "index.html" : path));
    let body;
    try {
      if (!file.startsWith(base) || !statSync(file).isFile()) throw new Error("not found");
      body = readFileSync(file);
    } catch {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": kTypes[extname(file)] ?? "application/octet-stream" });
    response.end(body);
  });
  await new Promise((done) => server.listen(0, "127.0.0.1", done));
  const close = () => {
    if (!server.listening) return;
    server.close();
    server.closeAllConnections();
  };
  return { url: `http://127.0.0.1:${server.address().port}/`, close };
}

export const kChromiumFlags = [
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

// Headless Chromium with a profile folder of its own, removed on close;
// `device` adds context options (viewport, hasTouch, isMobile, ...). The
// page's service worker is blocked unless `device` allows it: requests it
// answers from its cache pass by page.route, and a test means the network.
export async function launchBrowser(device = {}) {
  const profile = mkdtempSync(join(tmpdir(), "kvr9-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.KVR9_CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args: kChromiumFlags,
    viewport: { width: 800, height: 600 },
    serviceWorkers: "block",
    ...device,
  });
  // The session copy goes to the clipboard, as a person's would.
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  // A page that throws is broken, whatever the test looked at: any error
  // no script caught, and any move of the form while in use, fails the
  // test that closes the browser.
  const uncaught = [];
  context.on("weberror", (error) => uncaught.push(`${error.page()?.url() ?? "a page"}: ${error.error()}`));
  context.on("console", (message) => {
    if (message.type() === "error" && message.text().startsWith("kvr9: the form moved")) uncaught.push(message.text());
  });
  return {
    context,
    uncaught,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
      assert.deepEqual(uncaught, [], "errors the pages threw");
    },
  };
}

// Installed before the page's own script: records, in order, every event
// the page's handlers deliver and every frame it presents, the frame read
// back from the LCD canvas as 128 x 64 dots ('#' dark, '.' blank, '?' a
// block that is not one whole dark or blank 2 x 2 square).
function RecordSession() {
  // Each page starts as a new visitor's would, with nothing kept by an
  // earlier page of the same browser; a reload of the page keeps it.
  try {
    if (window.name !== "kvr9-test-page") {
      localStorage.removeItem("kvr9-instrument");
      localStorage.removeItem("kvr9-flight-log");
      localStorage.removeItem("kvr9-stand");
      localStorage.removeItem("kvr9-own-lessons");
      window.name = "kvr9-test-page";
    }
  } catch {
    // A frame without storage of its own.
  }
  const log = [];
  window.kvr9Session = log;
  // Once a person has used the page, nothing may move the form under their
  // pointer but a new window size or layout: each frame its place in the
  // page is compared with the last, and a move is told as an error.
  let used = false;
  for (const kind of ["pointerdown", "keydown"]) {
    window.addEventListener(kind, () => (used = true), { capture: true, passive: true });
  }
  let last = null;
  const watch = () => {
    const form = document.getElementById("Form1");
    if (form !== null) {
      const box = form.getBoundingClientRect();
      // A new window size, or a layout the person asked for (the lessons
      // panel beside the form), places the form anew.
      const root = document.documentElement;
      const size = `${window.innerWidth}x${window.innerHeight} ${root.dataset.layout} ${root.className}`;
      const now = { x: box.x + window.scrollX, y: box.y + window.scrollY, size };
      if (used && last !== null && last.size === now.size && (Math.abs(now.x - last.x) > 0.5 || Math.abs(now.y - last.y) > 0.5)) {
        console.error(`kvr9: the form moved from ${last.x},${last.y} to ${now.x},${now.y} while in use`);
      }
      last = now;
    }
    requestAnimationFrame(watch);
  };
  requestAnimationFrame(watch);
  const blank = [184, 184, 184];
  window.kvr9Observer = (kind, detail) => {
    if (kind !== "frame") {
      log.push({ kind, detail });
      return;
    }
    const canvas = document.getElementById("Image1");
    const pixels = canvas.getContext("2d").getImageData(0, 0, 256, 128).data;
    let art = "";
    for (let y = 0; y < 64; ++y) {
      for (let x = 0; x < 128; ++x) {
        const at = (dx, dy) => ((2 * y + dy) * 256 + 2 * x + dx) * 4;
        const first = at(0, 0);
        let same = true;
        for (const [dx, dy] of [[1, 0], [0, 1], [1, 1]]) {
          for (let c = 0; c < 4; ++c) same &&= pixels[at(dx, dy) + c] === pixels[first + c];
        }
        const rgb = [pixels[first], pixels[first + 1], pixels[first + 2]];
        const dark = rgb.every((v) => v === 0);
        const isBlank = rgb.every((v, i) => v === blank[i]);
        art += !same || !(dark || isBlank) ? "?" : dark ? "#" : ".";
      }
      art += "\n";
    }
    const led = getComputedStyle(document.getElementById("Shape1")).backgroundColor;
    log.push({ kind: "frame", art, led: led === "rgb(255, 0, 0)" ? "lit" : led === "rgb(128, 0, 0)" ? "unlit" : led });
  };
}

// A page of the panel, loaded and ready, with its session recorded and its
// console errors collected. `whileLoading(page)`, when given, is set up
// before the page loads (prepare) and acts once its document is parsed,
// before the program is ready (act).
export async function openPanel(context, url, whileLoading = null) {
  const page = await context.newPage();
  const errors = [];
  page.on("console", (message) => {
    if (message.type() === "error") errors.push(message.text());
  });
  page.on("pageerror", (error) => errors.push(String(error)));
  await page.addInitScript(RecordSession);
  if (whileLoading !== null) {
    await whileLoading.prepare(page);
    await page.goto(url, { waitUntil: "domcontentloaded" });
    await whileLoading.act(page);
  } else {
    await page.goto(url);
  }
  await page.waitForFunction(() => window.kvr9Session.some((entry) => entry.kind === "ready"));
  return { page, errors };
}

export const session = (page) => page.evaluate(() => window.kvr9Session);

export const entryCount = (page) => page.evaluate(() => window.kvr9Session.length);

// How many frames the page had shown when the log's entry `index` came.
export const framesBefore = (log, index) =>
  log.slice(0, index).filter((entry) => entry.kind === "frame").length;

// The first entry of a kind from the log's entry `from` on.
export const firstFrom = (log, from, kind) => log.findIndex((entry, i) => i >= from && entry.kind === kind);

export const frameCount = (page) =>
  page.evaluate(() => window.kvr9Session.filter((entry) => entry.kind === "frame").length);

// Waits until the page has presented `count` frames in all (no clock: the
// page's own passes are counted).
export async function waitForFrames(page, count) {
  await page.waitForFunction(
    (n) => window.kvr9Session.filter((entry) => entry.kind === "frame").length >= n,
    count,
    { timeout: 0, polling: 50 }
  );
}

// Waits for `count` more frames than the page has presented so far.
export async function waitForMoreFrames(page, count) {
  await waitForFrames(page, (await frameCount(page)) + count);
}

// Waits for `count` more ticks of the page's 100 ms timer.
export async function waitForTicks(page, count) {
  const ticks = () => window.kvr9Session.filter((entry) => entry.kind === "tick").length;
  const target = (await page.evaluate(ticks)) + count;
  await page.waitForFunction(
    (n) => window.kvr9Session.filter((entry) => entry.kind === "tick").length >= n,
    target,
    { timeout: 0, polling: 50 }
  );
}

// A click at a point of the form, in its own client coordinates. A window
// shorter than the page keeps the flight bar at its foot, over the form's
// lower controls: the page is scrolled first, as a person would, until the
// point is clear of it.
export async function clickForm(page, left, top) {
  await page.evaluate((top) => {
    const y = document.getElementById("Form1").getBoundingClientRect().y + top;
    const bar = document.getElementById("FlightBar").getBoundingClientRect().y;
    if (y > bar - 24) window.scrollBy(0, y - bar + 24);
  }, top);
  const form = await page.locator("#Form1").boundingBox();
  await page.mouse.click(form.x + left, form.y + top);
}

// The fields the tests look at, shown after every frame of a replay.
const kFields = [
  "currentScreen",
  "cursor",
  "editing",
  "keyStep",
  "highAlarmSpeed",
  "altAdcRaw",
  "asiAdcRaw",
  "alarmActive",
  "alarmAcknowledged",
];

// A session as the page copies it, with the LCD, the LED and the fields
// shown after every frame: each "on" and each pass presents one.
export function withEveryFrameShown(scenario) {
  const show = ["show-lcd", "show-led", ...kFields.map((field) => `show ${field}`)];
  const steps = [];
  for (const line of scenario.split("\n")) {
    const words = line.replace(/#.*/, "").trim().split(/\s+/);
    if (words[0] === "pass") {
      for (let n = Number(words[1] ?? 1); n > 0; --n) steps.push("pass", ...show);
    } else if (words[0] === "on") {
      steps.push("on", ...show);
    } else if (words[0] !== "") {
      steps.push(line);
    }
  }
  return steps.join("\n") + "\n";
}

// Runs a scenario through kvr9-headless; one record per shown frame:
// { art, led, fields }.
export function replay(scenario) {
  const run = spawnSync(headlessDriver, [], { input: scenario, encoding: "utf8", maxBuffer: 1 << 28 });
  if (run.status !== 0) throw new Error(`kvr9-headless failed (${run.status}): ${run.stderr}`);
  const lines = run.stdout.split("\n");
  const frames = [];
  for (let i = 0; i + 64 < lines.length; ) {
    const art = lines.slice(i, i + 64).join("\n") + "\n";
    const led = lines[i + 64].replace("led=", "");
    const fields = {};
    for (let f = 0; f < kFields.length; ++f) {
      const [name, value] = lines[i + 65 + f].split("=");
      fields[name] = value;
    }
    frames.push({ art, led, fields });
    i += 65 + kFields.length;
  }
  return frames;
}

// The page's frames beside kvr9-headless's for the session the page itself
// copies (Ctrl+Shift+C), taken between two passes with the page's log.
export async function pageAndHeadless(page) {
  const log = await page.evaluate(() => {
    const copy = { key: "C", ctrlKey: true, shiftKey: true, bubbles: true };
    document.dispatchEvent(new KeyboardEvent("keydown", copy));
    return window.kvr9Session;
  });
  const shown = log.filter((entry) => entry.kind === "frame");
  const copied = log.filter((entry) => entry.kind === "session").pop().detail;
  const expected = replay(withEveryFrameShown(copied));
  // A restart asked for in the pass now ending has not shown its frame yet.
  if (/\non\n$/.test(copied) && expected.length === shown.length + 1) expected.pop();
  return { log, shown, expected, copied };
}

// A server and a phone's browser shared by the tests of one file: opened
// before them, closed after them; `.server` and `.browser` while they run.
export function servedToAPhone() {
  const served = { server: null, browser: null };
  before(async () => {
    served.server = await startServer();
    served.browser = await launchBrowser(kPhone);
  });
  after(async () => {
    await served.browser.close();
    served.server.close();
  });
  return served;
}

// A phone held upright, as the phone tests and the screenshots use it.
export const kPhone = {
  viewport: { width: 390, height: 844 },
  deviceScaleFactor: 3,
  hasTouch: true,
  isMobile: true,
};

// The page loaded again, its session recorded afresh.
export async function reloadPanel(page) {
  await page.reload();
  await page.waitForFunction(() => window.kvr9Session.some((entry) => entry.kind === "ready"));
}

// A finger along a path of page points: down on the first, up after the
// last, as the touch screen reports it.
export async function touchPath(page, points) {
  const cdp = await page.context().newCDPSession(page);
  const at = ([x, y]) => [{ x, y, id: 1 }];
  await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: at(points[0]) });
  for (const point of points.slice(1)) {
    await cdp.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: at(point) });
  }
  await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  await cdp.detach();
}

// The page boxes of elements by id, in CSS pixels.
export async function boxesOf(page, ids) {
  const boxes = {};
  for (const id of ids) boxes[id] = await page.locator(`#${id}`).boundingBox();
  return boxes;
}

// The browsers a test file launches, all closed when the file ends, so that
// a failed assertion cannot leave one running (and the file never ending).
export function browserPool() {
  const running = new Set();
  return {
    async launch(device) {
      const browser = await launchBrowser(device);
      running.add(browser);
      return {
        context: browser.context,
        async close() {
          if (running.delete(browser)) await browser.close();
        },
      };
    },
    async closeAll() {
      for (const browser of running) await browser.close();
      running.clear();
    },
  };
}

// The text the decoder reads from a frame taken from the page's canvas.
export function readText(art) {
  const run = spawnSync(textReader, [], { input: art, encoding: "utf8" });
  if (run.status !== 0) throw new Error(`kvr9_read_text failed (${run.status}): ${run.stderr}`);
  return run.stdout;
}

// The flight bar's buttons a pilot needs in view beside the LCD.
export const kFlightBar = ["FlightDemo", "FlightOpen", "FlightPlay"];

// The element on top at the middle of a box, as a finger would meet it.
export const onTop = (page, id) =>
  page.evaluate((id) => {
    const element = document.getElementById(id);
    const box = element.getBoundingClientRect();
    const hit = document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2);
    return hit !== null && (hit === element || element.contains(hit));
  }, id);

// The LCD and the flight bar's buttons in view together, nothing over them.
export async function assertLcdAndBarInView(page, height) {
  const boxes = await boxesOf(page, ["Image1", "FlightBar", ...kFlightBar]);
  const [lcd, bar] = [boxes.Image1, boxes.FlightBar];
  assert.ok(lcd.y >= 0 && lcd.y + lcd.height <= height + 0.5, `the LCD from ${lcd.y} to ${lcd.y + lcd.height}`);
  const apart = (a, b) => a.x + a.width <= b.x + 0.5 || b.x + b.width <= a.x + 0.5 || a.y + a.height <= b.y + 0.5 || b.y + b.height <= a.y + 0.5;
  assert.ok(apart(lcd, bar), `the bar at ${bar.x}, ${bar.y} over the LCD at ${lcd.x}, ${lcd.y}`);
  for (const id of kFlightBar) {
    assert.ok(boxes[id].y >= 0 && boxes[id].y + boxes[id].height <= height + 0.5, `${id} at ${boxes[id].y}`);
    assert.ok(await onTop(page, id), `${id} under something`);
  }
}

// What one of a scenario's steps asks of the form, as the page's full
// program reads the line with the host library's own parser: the control
// to work, and for a slider the position the driver would choose with the
// instrument's settings now.
async function stepOnForm(page, line) {
  const form = await page.evaluate((line) => {
    const full = window.kvr9Page.program();
    const bytes = new TextEncoder().encode(line);
    full.HEAPU8.set(bytes, full._kvr9_input_buffer(bytes.length));
    return JSON.parse(full.UTF8ToString(full._kvr9_step_on_form()));
  }, line);
  assert.equal(form.error, undefined, `${line}: ${form.error}`);
  return form;
}

// A finger on the slider's thumb, moved along the track to the count, as a
// person does: a second, shorter move mends where the first one landed.
async function slideTo(page, selector, count) {
  const slider = page.locator(selector);
  await slider.scrollIntoViewIfNeeded();
  const box = await slider.boundingBox();
  const max = Number(await slider.getAttribute("max"));
  const thumb = 16;
  const xOf = (value) => box.x + thumb / 2 + (value / max) * (box.width - thumb);
  const y = box.y + box.height / 2;
  let at = Number(await slider.inputValue());
  let x = xOf(at);
  let target = xOf(count);
  for (let move = 0; move < 4 && at !== count; ++move) {
    const points = [[x, y]];
    for (let step = 1; step <= 8; ++step) points.push([x + ((target - x) * step) / 8, y]);
    await touchPath(page, points);
    const landed = Number(await slider.inputValue());
    x = target;
    target += ((count - landed) / max) * (box.width - thumb);
    at = landed;
  }
  assert.equal(at, count, `${selector} at ${count}`);
}

// A kvr9-headless scenario's steps done on the page by a person's finger,
// each read by the page's full program (load it first):
// ON, OFF, the keys and the boxes tapped, a slider moved by the finger to
// the count the driver would choose, passes and ticks waited for.
// afterStep(word), when given, runs after each step.
export async function performScenario(page, scenario, afterStep = null) {
  // While off there are no passes to wait for, as in the driver.
  let off = false;
  for (const line of scenario.split("\n")) {
    const text = line.replace(/#.*/, "").trim();
    const word = text.split(/\s+/)[0];
    if (word === "" || word === "lesson") continue;
    const form = await stepOnForm(page, text);
    const control = `#${form.control}`;
    if (word === "on" || word === "off") off = word === "off";
    if (word === "on") {
      // ON presents its frame with the next pass when the instrument runs;
      // the page's timer may present others before the tap arrives.
      const from = await entryCount(page);
      await page.locator(control).tap();
      await page.waitForFunction(
        (from) => {
          const on = window.kvr9Session.findIndex((entry, i) => i >= from && entry.kind === "on");
          return on >= 0 && window.kvr9Session.some((entry, i) => i > on && entry.kind === "frame");
        },
        from,
        { timeout: 0, polling: 20 }
      );
    } else if (word === "off" || word === "key") await page.locator(control).tap();
    else if (word === "pass") await (off ? null : waitForMoreFrames(page, form.count));
    else if (word === "tick") await waitForTicks(page, form.count);
    else if (word === "slider") await slideTo(page, control, form.position);
    else if (word === "box") {
      const box = page.locator(control);
      if (!(await box.isVisible())) await page.locator("#Engineer > summary").tap();
      if ((await box.locator("input").isChecked()) !== form.checked) await box.tap();
    } else assert.fail(`a scenario step the page cannot do: ${line}`);
    if (afterStep !== null) await afterStep(word);
  }
}

