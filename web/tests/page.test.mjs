// The web page in headless Chromium: clicks and keys at the form's places,
// the LCD canvas read back as 128 x 64 dots after every pass and compared,
// dot for dot, with kvr9-headless replaying the same session.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import {
  assertLcdAndBarInView,
  clickForm,
  entryCount,
  firstFrom,
  frameCount,
  framesBefore,
  kPhone,
  launchBrowser,
  openPanel,
  pageAndHeadless,
  readText,
  replay,
  startServer,
  waitForFrames,
  waitForMoreFrames,
  waitForTicks,
  withEveryFrameShown,
} from "./harness.mjs";

// The form's controls: left, top, width, height in client pixels.
const kForm = {
  Image2: [0, 0, 336, 323],
  Shape1: [154, 16, 29, 29],
  Image3: [73, 240, 49, 49],
  Image5: [144, 252, 49, 49],
  Image6: [213, 240, 49, 49],
  Panel1: [39, 92, 259, 131],
  Image1: [40, 93, 257, 129],
  Button3: [96, 292, 59, 25],
  Button4: [181, 292, 75, 25],
  Button1: [24, 328, 129, 49],
  Button2: [176, 328, 137, 49],
  Label2: [344, 16, null, 13],
  Label3: [392, 16, null, 13],
  TrackBar2: [416, 8, 201, 33],
  Label1: [344, 48, null, 13],
  Label13: [392, 48, null, 13],
  TrackBar1: [416, 40, 201, 33],
  CheckBox2: [360, 80, 97, 17],
  CheckBox3: [472, 80, 97, 17],
  GroupBox1: [344, 100, 273, 285],
  Memo1: [346, 115, 269, 268],
  StatusBar1: [0, 385, 621, 19],
};

const kSplashPasses = 80;

let server;
let browser;

before(async () => {
  server = await startServer();
  browser = await launchBrowser();
});

after(async () => {
  await browser.close();
  server.close();
});

function click(page, control) {
  const [left, top, width, height] = kForm[control];
  return clickForm(page, left + width / 2, top + height / 2);
}

// Every frame the page showed, with its LED, is the frame kvr9-headless
// shows for the same events at the same passes.
function assertSameAsHeadless(shown, expected) {
  assert.equal(shown.length, expected.length, "frames shown by the page and by kvr9-headless");
  for (let i = 0; i < shown.length; ++i) {
    assert.equal(shown[i].art, expected[i].art, `LCD dots of frame ${i + 1}`);
    assert.equal(shown[i].led, expected[i].led, `LED of frame ${i + 1}`);
  }
}

// A panel switched on and past its splash, on the first main-loop frames.
async function poweredPanel() {
  const panel = await openPanel(browser.context, server.url);
  await click(panel.page, "Button1");
  await waitForFrames(panel.page, kSplashPasses + 2);
  return panel;
}

// Does one action, lets the next pass take it and the one after draw.
async function act(page, action) {
  await action();
  await waitForMoreFrames(page, 2);
}

async function finish(panel) {
  const result = await pageAndHeadless(panel.page);
  assertSameAsHeadless(result.shown, result.expected);
  assert.deepEqual(panel.errors, [], "errors in the browser console");
  await panel.page.close();
  return result;
}

test("the page is the form: title, every control at its place and size, start state", async () => {
  const panel = await openPanel(browser.context, server.url);
  const { page } = panel;
  assert.equal(await page.title(), "Tarvesk KVR-9");
  const form = await page.locator("#Form1").boundingBox();
  assert.deepEqual([form.width, form.height], [621, 404]);
  for (const [id, [left, top, width, height]] of Object.entries(kForm)) {
    const box = await page.locator(`#${id}`).boundingBox();
    const place = [box.x - form.x, box.y - form.y, width === null ? null : box.width, box.height];
    assert.deepEqual(place, [left, top, width, height], id);
  }
  for (const id of ["TrackBar1", "TrackBar2"]) {
    const range = await page.locator(`#${id}`).evaluate((e) => [e.min, e.max, e.value]);
    assert.deepEqual(range, ["0", "4096", "1"], id);
  }
  assert.equal(await page.locator("#Label3").textContent(), "0");
  assert.equal(await page.locator("#Label13").textContent(), "0");
  const led = await page.locator("#Shape1").evaluate((e) => getComputedStyle(e).backgroundColor);
  assert.equal(led, "rgb(255, 0, 0)");
  assert.equal(await page.locator("#Shape1").getAttribute("aria-label"), "Alarm LED, lit");
  assert.equal(await page.locator("#Image2").evaluate((e) => e.naturalWidth > 0), true, "face picture");
  // The timer runs with the instrument off.
  await waitForTicks(page, 3);
  await finish(panel);
});

test("ON plays the splash in order, then the main display; ON restarts; OFF keeps the picture", async () => {
  const panel = await openPanel(browser.context, server.url);
  const { page } = panel;
  await waitForTicks(page, 2);
  await click(page, "Button1");
  await waitForFrames(page, kSplashPasses + 3);
  await click(page, "Button1");
  await waitForFrames(page, 2 * kSplashPasses + 6);
  await click(page, "Button2");
  await waitForTicks(page, 5);
  const framesAtOff = await frameCount(page);
  const shownAtOff = await page.evaluate(() => {
    const dots = window.kvr9Session.filter((entry) => entry.kind === "frame").at(-1).art;
    const canvas = document.getElementById("Image1");
    return { dots, visible: getComputedStyle(canvas).visibility };
  });
  await click(page, "Button1");
  await waitForMoreFrames(page, 1);
  // Lines like the last one shown come in together, once a second.
  await waitForTicks(page, 15);
  const commLines = await page.locator("#Memo1").evaluate((memo) => memo.childElementCount);

  const { log, shown, expected } = await finish(panel);
  // Two splashes before OFF, the main loop's passes around them.
  const mainLoopPasses = framesBefore(log, firstFrom(log, 0, "off")) - 2 * kSplashPasses;
  assert.equal(commLines, mainLoopPasses, "a communication line each main-loop pass");
  const splash = expected.slice(0, kSplashPasses);
  assert.ok(splash.every((frame) => frame.fields.currentScreen === "none"), "no screen during the splash");
  assert.equal(expected[kSplashPasses].fields.currentScreen, "MainScreen");
  assert.notEqual(splash[0].art, splash[13].art, "the picture moves");
  assert.ok(splash.slice(54).every((frame) => frame.art === splash[79].art), "passes 55 to 80 rest");
  assert.notEqual(shown[kSplashPasses].art, shown[kSplashPasses - 1].art, "main display after the splash");
  const ons = log.flatMap((entry, i) => (entry.kind === "on" ? [i] : []));
  const restart = framesBefore(log, ons[1]);
  assert.ok(restart > kSplashPasses, "second ON in the main loop");
  // "ON" starts over from the first splash picture, running or off.
  assert.equal(shown[framesBefore(log, ons[2])].art, shown[0].art, "ON after OFF");
  assert.equal(shown[restart].art, shown[0].art, "ON while running");
  assert.equal(expected[restart + kSplashPasses].fields.currentScreen, "MainScreen");
  // After OFF no pass runs; the last picture stays shown.
  assert.equal(framesBefore(log, firstFrom(log, 0, "off")), framesAtOff);
  assert.equal(shownAtOff.dots, shown[framesAtOff - 1].art);
  assert.equal(shownAtOff.visible, "visible");
});

// [control clicked or keyboard key pressed, key event taken, fields after]
const kMenuSteps = [
  ["Image5", "press", { currentScreen: "MainMenuScreen", cursor: "0" }],
  ["Button3", "cw", { cursor: "1" }],
  ["Image6", "f2", { cursor: "2" }],
  ["Button4", "ccw", { cursor: "1" }],
  ["Image3", "f1", { cursor: "0" }],
  ["Image5", "press", { currentScreen: "MainScreen" }],
  ["key:F3", "press", { currentScreen: "MainMenuScreen", cursor: "0" }],
  ["key:+", "cw", { cursor: "1" }],
  ["key:F2", "f2", { cursor: "2" }],
  ["key:-", "ccw", { cursor: "1" }],
  ["key:F1", "f1", { cursor: "0" }],
  ["key:F3", "press", { currentScreen: "MainScreen" }],
];

test("the menu through every clickable control and keyboard key", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  // The focused control does not take the panel's keys.
  await page.locator("#TrackBar1").focus();
  const marks = [];
  for (const [control] of kMenuSteps) {
    marks.push(await entryCount(page));
    await act(page, () =>
      control.startsWith("key:") ? page.keyboard.press(control.slice(4)) : click(page, control)
    );
  }
  assert.equal(await page.locator("#TrackBar1").inputValue(), "1", "slider untouched by the keys");
  const { log, shown, expected } = await finish(panel);
  kMenuSteps.forEach(([control, key, fields], i) => {
    const stored = firstFrom(log, marks[i], "key");
    assert.equal(log[stored].detail, key, `${control} stores its key`);
    // The next pass takes the key, the one after shows what it did.
    const taken = framesBefore(log, stored);
    for (const [name, value] of Object.entries(fields)) {
      assert.equal(expected[taken].fields[name], value, `${control}: ${name}`);
    }
    assert.notEqual(shown[taken + 1].art, shown[taken].art, `${control} changes the LCD`);
  });
});

// [slider, its value label, converter field, keyboard key, position]
const kSliderSteps = [
  ["TrackBar2", "Label3", "altAdcRaw", "End", "4096"],
  ["TrackBar2", "Label3", "altAdcRaw", "Home", "0"],
  ["TrackBar1", "Label13", "asiAdcRaw", "End", "4096"],
  ["TrackBar1", "Label13", "asiAdcRaw", "Home", "0"],
];

test("sliders at 0 and 4096 set the converters and their labels", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  const marks = [];
  for (const [slider, label, , key, position] of kSliderSteps) {
    await page.locator(`#${slider}`).focus();
    marks.push(await entryCount(page));
    await act(page, () => page.keyboard.press(key));
    assert.equal(await page.locator(`#${label}`).textContent(), position, `${label} after ${key}`);
  }
  const { log, expected } = await finish(panel);
  kSliderSteps.forEach(([slider, , field, key, position], i) => {
    const moved = framesBefore(log, firstFrom(log, marks[i], "slider"));
    assert.equal(expected[moved].fields[field], position, `${slider} ${key}`);
  });
});

test("the LED blinks with an alarm and stays dark after the acknowledgement", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  await page.locator("#TrackBar1").focus();
  await page.keyboard.press("End"); // far above the 80 mph high-speed alarm
  const alarmFrom = await frameCount(page);
  await waitForTicks(page, 35); // three turns of the blink phase, 1.1 s each
  await waitForMoreFrames(page, 1);
  const pressFrom = await entryCount(page);
  await act(page, () => click(page, "Image5"));
  await waitForTicks(page, 25); // two blink phases and more
  await waitForMoreFrames(page, 1);
  const { log, shown, expected } = await finish(panel);
  const taken = framesBefore(log, firstFrom(log, pressFrom, "key"));
  // The numerals blink with the LED; a screen reader hears them every time.
  const alarmAt = log.findIndex((entry, i) => entry.kind === "frame" && framesBefore(log, i) >= alarmFrom);
  const heard = log.slice(alarmAt).filter((entry) => entry.kind === "spoken").map((entry) => entry.detail);
  assert.ok(heard.length > 0 && heard.every((text) => /^IAS +\d+ mph$/m.test(text)), `heard: ${heard.join(" | ")}`);
  const blinking = shown.slice(alarmFrom + 1, taken).map((frame) => frame.led);
  const turns = blinking.filter((led, i) => i > 0 && led !== blinking[i - 1]).length;
  assert.ok(turns >= 2, `the LED turns with the blink phase: ${blinking.join(" ")}`);
  assert.equal(expected[taken].fields.alarmActive, "1");
  assert.equal(expected[taken].fields.alarmAcknowledged, "1");
  assert.equal(expected[taken].fields.currentScreen, "MainScreen", "the press only acknowledges");
  // The pass that takes the key has set the LED already; dark from the next.
  assert.ok(shown.slice(taken + 1).every((frame) => frame.led === "unlit"), "steady after it");
});

test("Calibrate reveals main menu items 6 and 7", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  await act(page, () => click(page, "Image5"));
  for (let i = 0; i < 6; ++i) await act(page, () => click(page, "Button3"));
  const lastWithout = (await frameCount(page)) - 1;
  await act(page, () => click(page, "CheckBox2"));
  assert.equal(await page.locator("#CheckBox2 input").isChecked(), true);
  await act(page, () => click(page, "Button3"));
  const item6 = (await frameCount(page)) - 1;
  await act(page, () => click(page, "Button3"));
  await act(page, () => click(page, "Button3"));
  const item7 = (await frameCount(page)) - 1;
  const { shown, expected } = await finish(panel);
  assert.equal(expected[lastWithout].fields.cursor, "5", "six items without Calibrate");
  assert.equal(expected[item6].fields.cursor, "6");
  assert.equal(expected[item7].fields.cursor, "7", "eight items with it");
  assert.notEqual(shown[item6].art, shown[lastWithout].art);
  assert.notEqual(shown[item7].art, shown[item6].art);
});

test("KeyFast steps the speed settings by 10", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  const press = (control, times = 1) => Array.from({ length: times }, () => control);
  // AIRSPEED SETUP (menu item 5), row 6: the high-speed alarm, edited.
  for (const control of ["Image5", ...press("Button3", 5), "Image5", ...press("Button3", 6), "Image5"]) {
    await act(page, () => click(page, control));
  }
  const editing = (await frameCount(page)) - 1;
  // A listener hears that the value is being edited, not just selected.
  await page.waitForFunction(() => /\(editing\)/.test(document.getElementById("LcdText").textContent), null, {
    polling: 100,
  });
  assert.match(await page.locator("#LcdText").textContent(), /80.*\(editing\)$/m);
  await act(page, () => click(page, "CheckBox3"));
  await act(page, () => click(page, "Button3"));
  const fast = (await frameCount(page)) - 1;
  await act(page, () => click(page, "CheckBox3"));
  await act(page, () => click(page, "Button4"));
  const slow = (await frameCount(page)) - 1;
  const { expected } = await finish(panel);
  assert.equal(expected[editing].fields.currentScreen, "AsiSetupScreen");
  assert.equal(expected[editing].fields.editing, "1");
  assert.equal(expected[editing].fields.highAlarmSpeed, "80");
  assert.equal(expected[fast].fields.keyStep, "10");
  assert.equal(expected[fast].fields.highAlarmSpeed, "90");
  assert.equal(expected[slow].fields.keyStep, "1");
  assert.equal(expected[slow].fields.highAlarmSpeed, "89");
});

// [what is missing, how the page is spoilt, what it says]
const kMissing = [
  [
    "WebAssembly",
    (page) => page.addInitScript(() => delete window.WebAssembly),
    /cannot run WebAssembly/,
  ],
  [
    "the .wasm file",
    (page) => page.route("**/kvr9.wasm", (route) => route.fulfill({ status: 404, body: "" })),
    /kvr9\.wasm\) could not be loaded/,
  ],
];

for (const [missing, spoil, says] of kMissing) {
  test(`the page says plainly when ${missing} is missing`, async () => {
    const page = await browser.context.newPage();
    await spoil(page);
    await page.goto(server.url);
    const notice = page.locator("#notice");
    await notice.waitFor({ state: "visible", timeout: 0 });
    assert.match(await notice.textContent(), says);
    await page.close();
  });
}

// On a slow link the program comes after the page: the status bar says it
// is loading, and a click on ON made meanwhile switches it on once ready.
test("ON clicked while the program loads is kept, and the page says it is loading", async () => {
  let release;
  const held = new Promise((done) => (release = done));
  const said = [];
  const panel = await openPanel(browser.context, server.url, {
    prepare: (page) =>
      page.route("**/kvr9.wasm", async (route) => {
        await held;
        await route.continue();
      }),
    async act(page) {
      said.push(await page.locator("#StatusBar1").textContent());
      await click(page, "Button1");
      said.push(await page.locator("#StatusBar1").textContent());
      release();
    },
  });
  const { page } = panel;
  assert.match(said[0], /^Loading/);
  assert.match(said[1], /ON switches it on once it has loaded/);
  assert.equal(await page.locator("#StatusBar1").getAttribute("role"), "status");
  await waitForFrames(page, kSplashPasses + 2);
  assert.equal(await page.locator("#StatusBar1").textContent(), "");
  const { log, expected } = await finish(panel);
  const kinds = log.map((entry) => entry.kind);
  assert.ok(kinds.indexOf("onWhileLoading") < kinds.indexOf("ready"), "the click came before the program");
  assert.equal(kinds.indexOf("on"), kinds.indexOf("ready") + 1, "ON acted on as soon as it was ready");
  assert.equal(expected[kSplashPasses].fields.currentScreen, "MainScreen");
});

// The visible control copies the session; pasted into kvr9-headless it
// replays to the page's frames, a key pressed at once after a restart
// included (the restart takes effect when the pass ends, as in the window).
test("Copy session puts on the clipboard a scenario that replays to the same frames", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  await act(page, () => click(page, "Image5"));
  await page.evaluate(() => {
    document.getElementById("Button1").click();
    const key = { key: "F2", bubbles: true };
    document.dispatchEvent(new KeyboardEvent("keydown", key));
  });
  await waitForMoreFrames(page, kSplashPasses + 3);
  await page.locator("#CopySession").click();
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  // The frames the page had shown when the copy was made.
  const log = await page.evaluate(() => window.kvr9Session);
  const copiedAt = log.findIndex((entry) => entry.kind === "session");
  const shown = log.slice(0, copiedAt).filter((entry) => entry.kind === "frame");
  assert.match(copied, /^# A session of the KVR-9 web page/);
  assert.match(copied, /^key f2\n(tick\n)*on$/m, "the key before the restart, which comes at the pass's end");
  assertSameAsHeadless(shown, replay(withEveryFrameShown(copied)));
  await finish(panel);
});

// A screen reader hears the LCD's text, read from its dots: the status
// region follows the screens, and while the splash moves it speaks at most
// about once a second.
test("the LCD's text reaches the accessibility tree as the screens change", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  const spokenTexts = () =>
    page.evaluate(() => window.kvr9Session.filter((e) => e.kind === "spoken").map((e) => e.detail));
  const waitToHear = (pattern) =>
    page.waitForFunction(
      (source) => new RegExp(source).test(document.getElementById("LcdText").textContent),
      pattern.source,
      { polling: 100 }
    );
  await waitToHear(/1013mB/);
  // The splash is heard once, whole, not the fragments of its lines as
  // they slide in.
  const heard = (await spokenTexts()).filter((text) => !/1013mB/.test(text));
  assert.equal(heard.length, 1, heard.join(" | "));
  assert.match(heard[0], /^ORN AVIONICS\nKVR-9\s+2\.00\nwww\.orn-avionics\.test$/);
  assert.match(await page.locator("body").ariaSnapshot(), /status:[\s\S]*IAS[\s\S]*1013mB/);
  await act(page, () => click(page, "Image5"));
  await waitToHear(/MAIN MENU/);
  assert.match(await page.locator("#LcdText").textContent(), /MAIN MENU\s+\[icon:dial\]\s+EXIT\s+MENU/);
  // The decoder reads the same from the picture on the page's canvas.
  const canvasFrame = await page.evaluate(() => window.kvr9Session.filter((e) => e.kind === "frame").at(-1).art);
  assert.equal(readText(canvasFrame).trim(), (await page.locator("#LcdText").textContent()).trim());
  assert.match(await page.locator("body").ariaSnapshot(), /status:[\s\S]*MAIN MENU/);
  // The row the cursor is on is inverse on the LCD; a listener hears it.
  await act(page, () => click(page, "Button3"));
  await act(page, () => click(page, "Image5"));
  await waitToHear(/MAX VALUES/);
  const maxValues = await page.locator("#LcdText").textContent();
  assert.match(maxValues, /^\*\*\* DONE \*\*\* \(selected\)$/m);
  assert.match(maxValues, /^RESET VALUES$/m);
  const shownNow = await page.evaluate(() => window.kvr9Session.filter((e) => e.kind === "frame").at(-1).art);
  assert.equal(readText(shownNow).trim(), maxValues.replace(" (selected)", "").trim());
  // The LED is named with its state.
  assert.equal(await page.locator("#Shape1").getAttribute("aria-label"), "Alarm LED, unlit");
  // The communication window is read when the listener chooses, without
  // the empty lines that are most of what the instrument writes.
  assert.equal(await page.locator("#Memo1").getAttribute("aria-live"), "off");
  const rows = await page.evaluate(() => [...document.getElementById("Memo1").children].map((row) => [row.textContent, row.getAttribute("aria-hidden")]));
  assert.ok(rows.length > 0, `${rows.length} rows`);
  assert.deepEqual(rows.filter(([text, hidden]) => text === "" && hidden !== "true"), []);
  await finish(panel);
});

// The flight bar's elapsed time, in seconds.
async function flightElapsed(page) {
  const [clock] = (await page.locator("#FlightTime").textContent()).split(" / ");
  return clock.split(":").reduce((total, part) => total * 60 + Number(part), 0);
}

async function waitForElapsed(page, seconds) {
  await page.waitForFunction(
    (wanted) => {
      const [clock] = document.getElementById("FlightTime").textContent.split(" / ");
      return clock.split(":").reduce((total, part) => total * 60 + Number(part), 0) >= wanted;
    },
    seconds,
    { timeout: 0, polling: 50 }
  );
}

// The reading a slider's value text names first, in the pilot's units:
// "about 90 mph, 1234 counts"; its title says the same the other way round.
async function describedReading(page, slider) {
  const text = await page.locator(`#${slider}`).getAttribute("aria-valuetext");
  const found = /^about (-?\d+) (ft|mph), (\d+) counts$/.exec(text);
  assert.ok(found, `${slider}'s description: ${text}`);
  assert.equal(await page.locator(`#${slider}`).getAttribute("title"),
    `${slider === "TrackBar2" ? "Altitude" : "Airspeed"} converter: ${found[3]} counts, about ${found[1]} ${found[2]}`);
  return Number(found[1]);
}

// The demo circuit dives above the 80 mph high alarm from 4:08 to 4:24: at
// x16 to 4:00, then at x4 into the dive, where the LED blinks; a hand on a
// slider pauses it; the session the page copies replays to the same frames.
test("the demo flight moves the sliders, blinks the LED in its dive and replays headless", async () => {
  const panel = await poweredPanel();
  const { page } = panel;
  await page.locator("#FlightDemo").click();
  await page.locator("#FlightSpeed button", { hasText: "x16" }).click();
  assert.equal(await page.locator("#FlightPlay").textContent(), "Pause");
  // The LCD's changing numbers are not read out while it plays, unless asked for.
  assert.equal(await page.locator("#LcdText").getAttribute("aria-live"), "off");
  await page.locator("#FlightSpeak input").check();
  assert.equal(await page.locator("#LcdText").getAttribute("aria-live"), "polite");
  await page.locator("#FlightSpeak input").uncheck();
  assert.equal(await page.locator("#LcdText").getAttribute("aria-live"), "off");
  assert.match(await page.locator("#FlightTime").textContent(), / \/ 7:10$/);
  await waitForElapsed(page, 240);
  await page.locator("#FlightSpeed button", { hasText: "x4" }).click();
  const diveFrom = await frameCount(page);
  await waitForElapsed(page, 252);
  // The profile now against what the sliders are described as reading.
  await page.locator("#FlightPlay").click();
  assert.equal(await page.locator("#FlightPlay").textContent(), "Play");
  const [altitude, airspeed] = (await page.locator("#FlightNow").textContent())
    .match(/^(-?\d+) ft, (\d+) mph$/)
    .slice(1)
    .map(Number);
  assert.ok(Math.abs((await describedReading(page, "TrackBar2")) - altitude) <= 10, "altitude follows");
  assert.ok(Math.abs((await describedReading(page, "TrackBar1")) - airspeed) <= 2, "airspeed follows");
  await page.locator("#FlightPlay").click();
  await waitForMoreFrames(page, 5);
  // A hand on the altitude slider pauses the flight where it is.
  await page.locator("#TrackBar2").focus();
  await act(page, () => page.keyboard.press("ArrowRight"));
  const pausedAt = await flightElapsed(page);
  const held = await page.locator("#TrackBar1").inputValue();
  await waitForMoreFrames(page, 5);
  assert.equal(await page.locator("#FlightPlay").textContent(), "Play");
  assert.equal(await flightElapsed(page), pausedAt);
  assert.equal(await page.locator("#TrackBar1").inputValue(), held);
  const { shown, expected } = await finish(panel);
  const dive = shown.slice(diveFrom).map((frame) => frame.led);
  const turns = dive.filter((led, i) => i > 0 && led !== dive[i - 1]).length;
  assert.ok(turns >= 2, `the LED blinks in the dive: ${dive.join(" ")}`);
  const counts = new Set(expected.map((frame) => frame.fields.asiAdcRaw));
  assert.ok(counts.size >= 20, `the airspeed slider moves with the flight: ${counts.size} counts`);
  assert.equal(expected.at(-1).fields.asiAdcRaw, held, "the page's slider is the instrument's");
});

// A log from the person's disk is read in the page; one the readers refuse
// leaves the flight as it was and says why, with its file and line.
test("a flight log opened from disk plays; a bad one is refused with its line", async () => {
  const panel = await openPanel(browser.context, server.url);
  const { page } = panel;
  const circuit = new URL("../../examples/flights/circuit.csv", import.meta.url).pathname;
  await page.locator("#FlightFile").setInputFiles(circuit);
  await page.waitForFunction(() => document.getElementById("FlightName").textContent === "circuit.csv");
  assert.equal(await page.locator("#FlightTime").textContent(), "0:00 / 8:00");
  assert.equal(await page.locator("#FlightNow").textContent(), "450 ft, 0 mph");
  assert.ok(await page.locator("#FlightMessage").isHidden());
  await page.locator("#FlightFile").setInputFiles({
    name: "bad.csv",
    mimeType: "text/csv",
    buffer: Buffer.from("time(s),altitude(yd),airspeed(mph)\n0,1,2\n"),
  });
  await page.waitForFunction(() => !document.getElementById("FlightMessage").hidden);
  assert.match(await page.locator("#FlightMessage").textContent(), /^bad\.csv:1: .*yd/);
  assert.equal(await page.locator("#FlightName").textContent(), "circuit.csv");
  // A log with no airspeed of its own: told in plain words, not as a problem.
  const groundSpeed = new URL("../../examples/flights/ground-speed.igc", import.meta.url).pathname;
  await page.locator("#FlightFile").setInputFiles(groundSpeed);
  await page.waitForFunction(() => document.getElementById("FlightName").textContent === "ground-speed.igc");
  assert.match(await page.locator("#FlightSays").textContent(), /^This log has no airspeed, so its ground speed stands in/);
  assert.ok(await page.locator("#FlightMessage").isHidden(), "no engineer's warning");
  assert.deepEqual(panel.errors, [], "errors in the browser console");
  await page.close();
});

// A pilot's phone: a log opened with the instrument off puts the sliders at
// its first moment and offers to fly; Fly is ON, clicked as a person would,
// and the flight starts after the splash. Played to its end at the fastest
// speed, MAX VALUES shows the log's own highest altitude, not the 50860 ft
// of the panel's start; the session the page copies replays headless.
test("a phone: a log opened, flown to its end at x64, and MAX VALUES shows its highest altitude", async () => {
  const phone = await launchBrowser(kPhone);
  try {
    const panel = await openPanel(phone.context, server.url);
    const { page } = panel;
    const circuit = new URL("../../examples/flights/circuit.csv", import.meta.url).pathname;
    await page.locator("#FlightFile").setInputFiles(circuit);
    await page.waitForFunction(() => document.getElementById("FlightName").textContent === "circuit.csv");
    assert.equal(await page.locator("#FlightSummary").textContent(), "Highest 1500 ft, fastest 72 mph, 8:00 long");
    assert.equal(await page.locator("#FlightPlay").textContent(), "Fly");
    assert.match(await page.locator("#FlightSays").textContent(), /off: Fly switches it ON/);
    // The sliders are at the log's first moment already: 450 ft, 0 mph.
    assert.ok(Math.abs((await describedReading(page, "TrackBar2")) - 450) <= 10, "altitude at the start");
    assert.notEqual(await page.locator("#TrackBar2").inputValue(), "1");
    assert.equal(await page.locator("#FlightScrub").getAttribute("max"), "480");
    await page.locator("#FlightSpeed button", { hasText: "x64" }).tap();
    await page.locator("#FlightPlay").tap();
    await page.waitForFunction(() => document.getElementById("FlightPlay").textContent === "Pause");
    // As in the window: Fly started the log, so MAX VALUES are the log's.
    assert.match(await page.locator("#FlightSays").textContent(), /MAX VALUES count from where Fly started this log/);
    // While it plays, the LCD and the bar's buttons are on screen together.
    await assertLcdAndBarInView(page, kPhone.viewport.height);
    await page.waitForFunction(() => /has ended/.test(document.getElementById("FlightSays").textContent), null, {
      timeout: 0,
      polling: 100,
    });
    assert.equal(await page.locator("#FlightTime").textContent(), "8:00 / 8:00");
    for (const id of ["Image5", "Button3", "Image5"]) {
      await page.locator(`#${id}`).tap();
      await waitForMoreFrames(page, 2);
    }
    const { log, shown, expected, copied } = await pageAndHeadless(page);
    assertSameAsHeadless(shown, expected);
    assert.equal(log.filter((entry) => entry.kind === "on").length, 1, "Fly clicked ON once");
    assert.match(copied, /^slider altitude \d+\n[\s\S]*^on$/m, "the sliders moved before ON");
    const maxValues = readText(shown.at(-1).art);
    assert.match(maxValues, /MAX VALUES/);
    const highest = Number(/ALT:\s+(\d+)\s*ft/.exec(maxValues)?.[1]);
    assert.ok(Math.abs(highest - 1500) <= 10, `MAX VALUES' altitude: ${maxValues}`);
    // Switched off, the bar offers Fly again.
    await page.locator("#Button2").tap();
    await page.waitForFunction(() => document.getElementById("FlightPlay").textContent === "Fly");
    assert.deepEqual(panel.errors, [], "errors in the browser console");
  } finally {
    await phone.close();
  }
});

// At x64 a pass is 6.4 s of the log: each example log's highest altitude
// and fastest airspeed are held until the smoothing settles, so MAX VALUES
// reads the summary's values, the altitude within a count of its converter
// (9 ft up there). The second log is opened with the instrument on: the
// bar says MAX VALUES count from power-on until the pilot has switched OFF
// and ON, and not after, nor at the flight's end.
test("each example log flown at x64 leaves its summary's highest values in MAX VALUES", async () => {
  const desktop = await launchBrowser();
  try {
    const { page, errors } = await openPanel(desktop.context, server.url);
    const says = () => page.locator("#FlightSays").textContent();
    const lcd = () => page.evaluate(() => document.getElementById("LcdText").textContent);
    for (const [index, log] of ["logger-ias.igc", "soaring-hour.igc"].entries()) {
      const path = new URL(`../../examples/flights/${log}`, import.meta.url).pathname;
      await page.locator("#FlightFile").setInputFiles(path);
      await page.waitForFunction((name) => document.getElementById("FlightName").textContent === name, log);
      if (index === 0) {
        await page.locator("#FlightSpeed button", { hasText: "x64" }).click();
        await page.locator("#FlightPlay").click(); // Fly
      } else {
        await waitForMoreFrames(page, 3);
        assert.match(await says(), /counts from power-on/, log);
        await page.locator("#Button2").click();
        await page.waitForFunction(() => document.getElementById("FlightPlay").textContent === "Fly");
        await page.locator("#Button1").click();
        await page.waitForFunction(() => /IAS/.test(document.getElementById("LcdText").textContent), null, { timeout: 0 });
        assert.doesNotMatch(await says(), /counts from power-on/, `${log}: switched OFF and ON`);
        await page.locator("#FlightPlay").click();
      }
      await page.waitForFunction(() => /has ended/.test(document.getElementById("FlightSays").textContent), null, {
        timeout: 0,
        polling: 100,
      });
      assert.doesNotMatch(await says(), /counts from power-on/, `${log}: at its end`);
      const [, highest, fastest] = /Highest (\d+) ft, fastest (\d+) mph/.exec(await page.locator("#FlightSummary").textContent());
      for (const id of ["Image5", "Button3", "Image5"]) {
        await page.locator(`#${id}`).click();
        await waitForMoreFrames(page, 2);
      }
      await page.waitForFunction(() => /ASI:\s*\d+/.test(document.getElementById("LcdText").textContent), null, { timeout: 0 });
      const text = await lcd();
      const altitude = Number(/ALT:\s*(-?\d+)\s*ft/.exec(text)?.[1]);
      const airspeed = Number(/ASI:\s*(\d+)\s*mph/.exec(text)?.[1]);
      assert.ok(Math.abs(altitude - Number(highest)) <= 9, `${log}: MAX VALUES ${text}, summary ${highest} ft`);
      assert.equal(airspeed, Number(fastest), `${log}: MAX VALUES ${text}`);
    }
    assert.deepEqual(errors, [], "errors in the browser console");
  } finally {
    await desktop.close();
  }
});
