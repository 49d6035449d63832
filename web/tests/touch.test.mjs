// The page on a phone (390 x 844, touch): taps where the phone layout puts
// the controls, swipes around the knob, a finger on a slider, the copy
// button; every frame compared, dot for dot, with kvr9-headless replaying
// the same session.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import {
  boxesOf,
  entryCount,
  firstFrom,
  framesBefore,
  kPhone,
  launchBrowser,
  openPanel,
  pageAndHeadless,
  readText,
  reloadPanel,
  session,
  startServer,
  touchPath,
  waitForFrames,
  waitForMoreFrames,
  waitForTicks,
} from "./harness.mjs";

const kSplashPasses = 80;

let server;
let browser;

before(async () => {
  server = await startServer();
  browser = await launchBrowser(kPhone);
  await browser.context.grantPermissions(["clipboard-read", "clipboard-write"], { origin: server.url });
});

after(async () => {
  await browser.close();
  server.close();
});

// A finger around the knob's centre, from straight above it, through
// `degrees` (clockwise positive), starting on the knob itself.
async function swipeKnob(page, degrees) {
  const box = await page.locator("#Image5").boundingBox();
  const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
  const points = [[x, y - 16]];
  for (let step = 0; step <= Math.abs(degrees); step += 5) {
    const angle = ((-90 + Math.sign(degrees) * step) * Math.PI) / 180;
    points.push([x + 40 * Math.cos(angle), y + 40 * Math.sin(angle)]);
  }
  await touchPath(page, points);
}

// A finger that lands on the knob just right of its centre and goes
// straight up by `pixels`, scrolling the page: no turn, no press.
async function scrollFromKnob(page, pixels) {
  const box = await page.locator("#Image5").boundingBox();
  const [x, y] = [box.x + box.width / 2 + 6, box.y + box.height / 2 + 4];
  const points = [];
  for (let step = 0; step <= pixels; step += 6) points.push([x, y - step]);
  await touchPath(page, points);
}

// A finger from a slider's left end past its right end.
async function dragSlider(page, id) {
  const box = await page.locator(`#${id}`).boundingBox();
  const y = box.y + box.height / 2;
  const points = [];
  for (let x = box.x + 8; x <= box.x + box.width + 20; x += 10) points.push([x, y]);
  await touchPath(page, points);
}

// [what the finger does, key it stores or null, fields after it is taken]
const kSteps = [
  ["tap Image5", "press", { currentScreen: "MainMenuScreen", cursor: "0" }],
  ["tap Button3", "cw", { cursor: "1" }],
  ["tap Image6", "f2", { cursor: "2" }],
  ["tap Button4", "ccw", { cursor: "1" }],
  ["tap Image3", "f1", { cursor: "0" }],
  ["swipe 45", "cw", { cursor: "1" }],
  ["swipe -45", "ccw", { cursor: "0" }],
  ["scroll 120", null, {}],
  ["tap Image5", "press", { currentScreen: "MainScreen" }],
];

test("a phone: taps, swipes around the knob and a finger on a slider work the instrument as kvr9-headless", async () => {
  const { page, errors } = await openPanel(browser.context, server.url);
  await page.locator("#Button1").tap();
  await waitForFrames(page, kSplashPasses + 2);
  const marks = [];
  const scrolled = [];
  for (const [action] of kSteps) {
    marks.push(await entryCount(page));
    if (action.startsWith("scroll")) await page.evaluate(() => window.scrollTo(0, 0));
    const [verb, what] = action.split(" ");
    if (verb === "tap") await page.locator(`#${what}`).tap();
    else if (verb === "scroll") await scrollFromKnob(page, Number(what));
    else await swipeKnob(page, Number(what));
    if (verb === "scroll") scrolled.push(await page.evaluate(() => window.scrollY));
    await waitForMoreFrames(page, 2);
  }
  assert.ok(scrolled.every((y) => y >= 60), `the page scrolled with the finger: ${scrolled}`);
  const sliderMark = await entryCount(page);
  await dragSlider(page, "TrackBar1");
  await waitForMoreFrames(page, 2);
  // The engineer's controls are folded away on a phone; a tap opens them.
  await page.locator("#Engineer > summary").tap();
  await page.locator("#CheckBox2").tap();
  await waitForMoreFrames(page, 2);
  const sliderValue = await page.locator("#TrackBar1").inputValue();

  const { log, shown, expected } = await pageAndHeadless(page);
  assert.equal(shown.length, expected.length, "frames shown by the page and by kvr9-headless");
  shown.forEach((frame, i) => {
    assert.equal(frame.art, expected[i].art, `LCD dots of frame ${i + 1}`);
    assert.equal(frame.led, expected[i].led, `LED of frame ${i + 1}`);
  });
  kSteps.forEach(([action, key, fields], i) => {
    const end = i + 1 < kSteps.length ? marks[i + 1] : sliderMark;
    const keys = log.slice(marks[i], end).filter((entry) => entry.kind === "key").map((entry) => entry.detail);
    // One swipe of 45 degrees is one turn, and never a press of the knob;
    // a stroke straight up over the knob scrolls the page and is no key.
    assert.deepEqual(keys, key === null ? [] : [key], `${action} stores exactly its key`);
    if (key === null) return;
    const taken = framesBefore(log, firstFrom(log, marks[i], "key"));
    for (const [name, value] of Object.entries(fields)) {
      assert.equal(expected[taken].fields[name], value, `${action}: ${name}`);
    }
  });
  // The finger took the slider to its right end.
  const moves = log.slice(sliderMark).filter((entry) => entry.kind === "slider");
  assert.ok(moves.length > 0, "the slider followed the finger");
  assert.equal(sliderValue, "4096");
  assert.equal(expected.at(-1).fields.asiAdcRaw, "4096");
  assert.ok(log.some((entry) => entry.kind === "box" && entry.detail.name === "calibrate" && entry.detail.checked));
  assert.deepEqual(errors, [], "errors in the browser console");
  await page.close();
});

test("a long press on the face opens no menu and selects nothing; the communication window keeps its menu; taps do not zoom", async () => {
  const { page } = await openPanel(browser.context, server.url);
  // [element, the browser's menu prevented]
  const kPresses = [
    ["Image2", true],
    ["Image1", true],
    ["Image5", true],
    ["Memo1", false],
  ];
  for (const [id, prevented] of kPresses) {
    const cancelled = await page.locator(`#${id}`).evaluate(
      (element) => !element.dispatchEvent(new MouseEvent("contextmenu", { bubbles: true, cancelable: true }))
    );
    assert.equal(cancelled, prevented, `${id}: context menu prevented`);
  }
  for (const id of ["Image2", "Image1", "Image3"]) {
    const select = await page.locator(`#${id}`).evaluate((e) => getComputedStyle(e).userSelect);
    assert.equal(select, "none", `${id} selects no text`);
  }
  const taps = await page.locator("#Button3").evaluate((e) => getComputedStyle(e).touchAction);
  assert.equal(taps, "manipulation", "a quick second tap is a second click, not a zoom");
  await page.close();
});

test("the Copy LCD picture button copies the LCD as the 256 x 128 picture shown", async () => {
  const { page, errors } = await openPanel(browser.context, server.url);
  await page.locator("#Button1").tap();
  // Past the splash, which takes no "OFF": then off, the picture rests.
  await waitForFrames(page, 82);
  await page.locator("#Button2").tap();
  await waitForTicks(page, 3);
  await page.locator("#CopyLcd").tap();
  const copied = await page.evaluate(async () => {
    for (let tries = 0; tries < 100; ++tries) {
      const items = await navigator.clipboard.read().catch(() => []);
      const item = items.find((i) => i.types.includes("image/png"));
      if (item) {
        const bitmap = await createImageBitmap(await item.getType("image/png"));
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        const context = canvas.getContext("2d");
        context.drawImage(bitmap, 0, 0);
        const copy = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
        const shown = document.getElementById("Image1").getContext("2d").getImageData(0, 0, 256, 128).data;
        return { size: [bitmap.width, bitmap.height], same: copy.every((v, i) => v === shown[i]) };
      }
      await new Promise((done) => setTimeout(done, 20));
    }
    return null;
  });
  assert.ok(copied, "a PNG on the clipboard");
  assert.deepEqual(copied.size, [256, 128]);
  assert.equal(copied.same, true, "the picture is the LCD as shown");
  assert.deepEqual(errors, []);
  await page.close();
});

// Stand mode on a tablet held upright, its clock run fast: the tour shows
// the instrument's features, each read from the LCD's frames while its
// caption is up, with the LCD in view; a finger scrolling the page from the
// knob goes on with it; a tap on OFF ends it without reaching the
// instrument; a quiet minute after the last touch brings it back, and so
// does a reload, until "Leave stand mode".
test("a tablet: stand mode tours the instrument, a tap hands it over, a quiet minute brings it back", async () => {
  const own = await launchBrowser({ viewport: { width: 810, height: 1080 }, deviceScaleFactor: 2, hasTouch: true, isMobile: true });
  try {
    await own.context.clock.install();
    const { page, errors } = await openPanel(own.context, server.url);
    // The caption with the frames, as the person sees them together.
    const watchCaption = () =>
      page.evaluate(() => {
        const caption = document.getElementById("StandCaption");
        new MutationObserver(() => window.kvr9Observer("caption", caption.textContent)).observe(caption, {
          childList: true,
          characterData: true,
          subtree: true,
        });
      });
    await watchCaption();
    const standing = () => page.locator("#StandCaption").isVisible();
    await page.locator("#FlightStand").tap();
    assert.ok(await standing());
    const lcdInView = async () => {
      const lcd = (await boxesOf(page, ["Image1"])).Image1;
      return lcd.y >= 0 && lcd.y + lcd.height <= 1080.5;
    };
    assert.ok(await lcdInView(), "the LCD in view as the tour starts");
    await scrollFromKnob(page, 120);
    await own.context.clock.runFor(1000);
    assert.ok(await standing(), "a finger scrolling the page ends nothing");
    await own.context.clock.runFor(100_000);
    const texts = new Map();
    const seen = [];
    let caption = "";
    for (const entry of await session(page)) {
      if (entry.kind === "caption") caption = entry.detail;
      if (entry.kind !== "frame") continue;
      if (!texts.has(entry.art)) texts.set(entry.art, readText(entry.art));
      seen.push({ caption, text: texts.get(entry.art), led: entry.led === "lit" });
    }
    for (const [words, lcd, led] of [
      ["Diving", "IAS", true],
      ["F2 shows the flight", "FLIGHT TIME:", false],
      ["opens the menu", "MAIN MENU", false],
      ["MAX VALUES", "ASI: 84 mph", false],
      ["mph to knots", "ASI UNIT: knots", false],
      ["sets the QNH", "1018mB", false],
    ]) {
      const under = seen.filter((one) => one.caption.includes(words));
      assert.ok(under.some((one) => one.text.includes(lcd)), `"${lcd}" under "${words}"`);
      if (led) assert.ok(under.some((one) => one.led), `the LED lit under "${words}"`);
    }
    assert.ok(await lcdInView(), "the LCD in view all along");

    const mark = await entryCount(page);
    await page.locator("#Button2").tap();
    await own.context.clock.runFor(1000);
    assert.ok(!(await standing()), "a tap ends it");
    const kinds = (await session(page)).slice(mark).map((entry) => entry.kind);
    assert.ok(!kinds.includes("off"), "the tap is not the instrument's");
    assert.match(await page.locator("#StandResume").textContent(), /resumes after a minute/);
    await own.context.clock.runFor(40_000);
    await page.locator("#Image1").tap();
    await own.context.clock.runFor(40_000);
    assert.ok(!(await standing()), "a touch puts the minute off");
    await own.context.clock.runFor(25_000);
    assert.ok(await standing(), "back after a quiet minute");
    assert.ok(await page.locator("#StandResume").isHidden());

    await reloadPanel(page);
    await own.context.clock.runFor(1000);
    assert.ok(await standing(), "on again after a reload");
    await page.locator("#Button2").tap();
    await page.locator("#StandLeave").tap();
    await own.context.clock.runFor(70_000);
    assert.ok(!(await standing()), "left, it stays ended");
    await reloadPanel(page);
    await own.context.clock.runFor(1000);
    assert.ok(!(await standing()), "and after a reload");
    assert.deepEqual(errors, [], "errors in the browser console");
  } finally {
    await own.close();
  }
});

// [the fine button, its slider, the counts it moves the slider by]
const kFine = [
  ["Fine1Up", "TrackBar1", "Airspeed", 4],
  ["Fine1Down", "TrackBar1", "Airspeed", -4],
  ["Fine2Up", "TrackBar2", "Altitude", 4],
  ["Fine2Down", "TrackBar2", "Altitude", -4],
];

test("a phone: the sliders' fine buttons step them a few counts, the instrument following; a finger dragged left never raises a slider", async () => {
  const { page, errors } = await openPanel(browser.context, server.url);
  await page.locator("#Button1").tap();
  await waitForFrames(page, kSplashPasses + 2);
  for (const [button, slider, name, step] of kFine) {
    const before = Number(await page.locator(`#${slider}`).inputValue());
    const from = await entryCount(page);
    await page.locator(`#${button}`).tap();
    await waitForMoreFrames(page, 2);
    assert.equal(Number(await page.locator(`#${slider}`).inputValue()), before + step, `${button} moves ${slider}`);
    // A hand on the slider, as the session records it, and the
    // instrument's own converter there.
    const moves = (await session(page)).slice(from).filter((entry) => entry.kind === "slider");
    assert.deepEqual(moves.map((entry) => entry.detail.position), [before + step], `${button}: the moves recorded`);
    assert.ok((await page.locator(`#${slider}`).getAttribute("title")).startsWith(`${name} converter: ${before + step} counts`), `${button}: the instrument's converter`);
  }
  // A finger landing right of the thumb and going left: the slider goes
  // down by the finger's way, never up to where it landed.
  const slider = page.locator("#TrackBar1");
  await slider.scrollIntoViewIfNeeded();
  const box = await slider.boundingBox();
  const before = Number(await slider.inputValue());
  const thumb = box.x + 8 + (before / 4096) * (box.width - 16);
  const y = box.y + box.height / 2;
  const from = await entryCount(page);
  const points = [];
  for (let x = thumb + 60; x >= thumb + 20; x -= 5) points.push([x, y]);
  await touchPath(page, points);
  await waitForMoreFrames(page, 2);
  const moves = (await session(page)).slice(from).filter((entry) => entry.kind === "slider").map((entry) => entry.detail.position);
  assert.ok(moves.length > 0, "the slider followed the finger");
  assert.deepEqual(moves.filter((position) => position > before), [], `a left drag from ${before} went up`);
  assert.ok(Number(await slider.inputValue()) < before, "the left drag lowered the slider");
  assert.deepEqual(errors, [], "errors in the browser console");
  await page.close();
});
