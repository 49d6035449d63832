// The page on screens of every size, in headless Chromium: where the form,
// the face and the controls land, that nothing needs sideways scrolling,
// that ON and OFF are in view, that the keys are as large as the screen
// allows and that the LCD's dots stay whole pixels.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import { boxesOf, browserPool, kPhone, openPanel, startServer } from "./harness.mjs";

const kTouch = { hasTouch: true, isMobile: true };
// What a finger must hit: the picture's keys and knob, every button and box.
const kTargets = ["Image3", "Image5", "Image6", "Button3", "Button4", "Button1", "Button2", "CheckBox2", "CheckBox3"];
const kFlightBar = ["FlightDemo", "FlightOpen", "FlightPlay"];
const kKeys = ["Image3", "Image5", "Image6"];
// The controls below the face on a phone, in the form's order.
const kBelowFace = ["Button3", "Button1", "Label2", "TrackBar2", "Label1", "TrackBar1", "CheckBox2", "GroupBox1", "StatusBar1"];

let server;
const browsers = browserPool();

before(async () => {
  server = await startServer();
});

after(async () => {
  await browsers.closeAll();
  server.close();
});

async function open(device) {
  const browser = await browsers.launch(device);
  const { page, errors } = await openPanel(browser.context, server.url);
  const facts = await page.evaluate(() => ({
    layout: document.documentElement.dataset.layout,
    scrollWidth: document.scrollingElement.scrollWidth,
    clientWidth: document.documentElement.clientWidth,
    help: getComputedStyle(document.getElementById("help")).display,
    helpTouch: getComputedStyle(document.getElementById("help-touch")).display,
    rendering: getComputedStyle(document.getElementById("Image1")).imageRendering,
  }));
  return { browser, page, errors, facts };
}

function assertNoSideways({ facts, boxes, width }) {
  assert.ok(facts.scrollWidth <= facts.clientWidth, `page ${facts.scrollWidth} px wide in ${facts.clientWidth}`);
  for (const [id, box] of Object.entries(boxes)) {
    assert.ok(box.x >= -0.5 && box.x + box.width <= width + 0.5, `${id} from ${box.x} to ${box.x + box.width}`);
  }
}

const keySide = (boxes) => Math.min(...kKeys.flatMap((id) => [boxes[id].width, boxes[id].height]));

// [name, device, margin on each side of the face in the stack]
const kPhones = [
  ["390 x 844", kPhone],
  ["320 x 568", { viewport: { width: 320, height: 568 }, deviceScaleFactor: 2, ...kTouch }],
  ["430 x 932", { viewport: { width: 430, height: 932 }, deviceScaleFactor: 3, ...kTouch }],
];

for (const [name, device] of kPhones) {
  test(`a phone at ${name}: the face fills the width, the controls follow it, a finger hits them all`, async () => {
    const { browser, page, errors, facts } = await open(device);
    const { width, height } = device.viewport;
    const ids = ["Image2", "Panel1", "Image1", ...kTargets, ...kBelowFace, "TrackBar2", "CopyLcd", ...kFlightBar];
    const boxes = await boxesOf(page, ids);
    assert.equal(facts.layout, "stack");
    assertNoSideways({ facts, boxes, width });
    const face = boxes.Image2;
    assert.ok(Math.abs(face.width - (width - 16)) < 1, `face ${face.width} px wide`);
    assert.ok(Math.abs(face.height / face.width - 323 / 336) < 0.01, "the face keeps its proportions");
    // Below the face, each row at or below the one before it.
    let top = face.y + face.height;
    for (const id of kBelowFace) {
      assert.ok(boxes[id].y >= top - 0.5, `${id} at ${boxes[id].y}, above ${top}`);
      top = boxes[id].y;
    }
    for (const id of [...kTargets, "TrackBar1", "TrackBar2", "CopyLcd", ...kFlightBar]) {
      assert.ok(boxes[id].width >= 44 && boxes[id].height >= 44, `${id} ${boxes[id].width} x ${boxes[id].height}`);
    }
    assert.ok(boxes.Button1.y + boxes.Button1.height <= height, "ON in view");
    assert.ok(boxes.Button2.y + boxes.Button2.height <= height, "OFF in view");
    // The LCD inside its window, its dots square blocks of whole device
    // pixels where that leaves it at least 88 % of the window.
    const lcd = boxes.Image1;
    const panel = boxes.Panel1;
    assert.ok(lcd.x >= panel.x && lcd.x + lcd.width <= panel.x + panel.width + 0.01, "LCD within its window");
    assert.equal(facts.rendering, "pixelated");
    const dot = (2 * lcd.width * device.deviceScaleFactor) / 257;
    const full = (2 * (panel.width - 2) * device.deviceScaleFactor) / 257;
    if (Math.floor(full) / full >= 0.88) assert.ok(Math.abs(dot - Math.round(dot)) < 1e-3, `a dot is ${dot} device px`);
    else assert.ok(Math.abs(dot - full) < 1e-3, `a dot as large as the window allows: ${dot} of ${full}`);
    assert.deepEqual([facts.help, facts.helpTouch], ["none", "block"], "the help speaks of taps");
    assert.deepEqual(errors, []);
    await browser.close();
  });
}

test("a desktop at 1280 x 800: the form as designed, centred, all of it in view; the help speaks of keys", async () => {
  const device = { viewport: { width: 1280, height: 800 } };
  const { browser, page, errors, facts } = await open(device);
  const boxes = await boxesOf(page, ["Form1", "Button1", "Image3", "TrackBar1", "Image1", "CopyLcd"]);
  const form = boxes.Form1;
  assert.equal(facts.layout, "form");
  assert.deepEqual([form.width, form.height], [621, 404]);
  // Spot checks; page.test.mjs checks every control.
  const at = (id) => [boxes[id].x - form.x, boxes[id].y - form.y, boxes[id].width, boxes[id].height];
  assert.deepEqual(at("Button1"), [24, 328, 129, 49]);
  assert.deepEqual(at("Image3"), [73, 240, 49, 49]);
  assert.deepEqual(at("TrackBar1"), [416, 40, 201, 33]);
  assert.deepEqual(at("Image1"), [40, 93, 257, 129]);
  const left = form.x;
  const right = 1280 - form.x - form.width;
  assert.ok(Math.abs(left - right) <= 1, `centred: ${left} px left, ${right} px right`);
  const whole = await page.locator("main").boundingBox();
  assert.ok(whole.y >= 0 && whole.y + whole.height <= 800, `the page from ${whole.y} to ${whole.y + whole.height}`);
  assert.ok(Math.abs(whole.y - (800 - whole.y - whole.height)) <= 1, "centred upright too");
  assert.ok(boxes.CopyLcd.y >= form.y + form.height, "the copy button below the form");
  assert.deepEqual([facts.help, facts.helpTouch], ["block", "none"]);
  assert.deepEqual(errors, []);
  await browser.close();
});

// [name, device, the keys' side the other layout would give]
const kLargeTouch = [
  // On its side the form scaled to the height beats a stack whose face
  // must shrink to keep ON and OFF in view.
  ["a phone on its side, 844 x 390", { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, ...kTouch }, "form-side"],
  // Upright, the stack's face as wide as the tablet beats the form scaled
  // to the width.
  ["a tablet, 768 x 1024", { viewport: { width: 768, height: 1024 }, deviceScaleFactor: 2, ...kTouch }, "stack"],
];

for (const [name, device, layout] of kLargeTouch) {
  test(`${name}: the layout with the larger keys, ON and OFF in view, nothing sideways`, async () => {
    const { browser, page, errors, facts } = await open(device);
    const { width, height } = device.viewport;
    const boxes = await boxesOf(page, ["Form1", "Image2", ...kTargets]);
    assert.equal(facts.layout, layout);
    assertNoSideways({ facts, boxes, width });
    for (const id of ["Button1", "Button2"]) {
      assert.ok(boxes[id].y + boxes[id].height <= height + 0.5, `${id} ends at ${boxes[id].y + boxes[id].height}`);
    }
    // The keys at least as large as in the form scaled to the screen (title
    // above it), and never below a fingertip.
    const formScale = Math.min((width - 32) / 621, (height - 32 - 60 - 36) / 404);
    assert.ok(keySide(boxes) >= 49 * formScale - 0.5, `keys ${keySide(boxes)} px against ${49 * formScale}`);
    assert.ok(keySide(boxes) >= 44, `keys ${keySide(boxes)} px`);
    assert.deepEqual([facts.help, facts.helpTouch], ["none", "block"]);
    assert.deepEqual(errors, []);
    await browser.close();
  });
}
