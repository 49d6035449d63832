// The page on screens of every size, in headless Chromium: where the form,
// the face and the controls land, that nothing needs sideways scrolling,
// that ON and OFF and the flight bar are in view with the LCD, that every
// target takes a fingertip, that the keys are as large as the screen allows
// and that the LCD's dots and the form stay on whole device pixels.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";

import {
  assertLcdAndBarInView,
  boxesOf,
  browserPool,
  kFlightBar,
  kPhone,
  openPanel,
  startServer,
  waitForTicks,
} from "./harness.mjs";

const kTouch = { hasTouch: true, isMobile: true };
// What a finger must hit: the picture's keys and knob, every button and box.
const kTargets = ["Image3", "Image5", "Image6", "Button3", "Button4", "Button1", "Button2", "CheckBox2", "CheckBox3"];
const kKeys = ["Image3", "Image5", "Image6"];
// The controls below the face on a phone, in order: the pilot's, then the
// engineer's (once unfolded), then the copy buttons. The flight bar stays
// at the foot of the screen.
const kBelowFace = ["Button3", "Button1", "Label2", "TrackBar2", "Label1", "TrackBar1", "StatusBar1", "Engineer", "CheckBox2", "GroupBox1", "CopyLcd"];

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

// Close to a whole number, give or take the browser's 1/64 px layout units.
const whole = (value, what) => assert.ok(Math.abs(value - Math.round(value)) < 0.05, `${what}: ${value}`);

// The LCD's canvas inside its window, each dot a whole number of device
// pixels and the largest such that fits, its corner on a device pixel.
async function assertWholeDots(page, ratio) {
  const { lcd, frame } = await page.evaluate(() => {
    const panel = document.getElementById("Panel1");
    const box = panel.getBoundingClientRect();
    const scale = box.width / parseFloat(getComputedStyle(panel).width);
    return {
      lcd: document.getElementById("Image1").getBoundingClientRect().toJSON(),
      frame: { x: box.x + scale, y: box.y + scale, width: box.width - 2 * scale, height: box.height - 2 * scale },
    };
  });
  assert.ok(lcd.x >= frame.x - 0.01 && lcd.x + lcd.width <= frame.x + frame.width + 0.01, "LCD within its window");
  assert.ok(lcd.y >= frame.y - 0.01 && lcd.y + lcd.height <= frame.y + frame.height + 0.01, "LCD within its window");
  const dot = (2 * lcd.width * ratio) / 257;
  assert.ok(Math.abs(dot - Math.round(dot)) < 0.01, `a dot is ${dot} device px`);
  assert.ok(Math.abs((2 * lcd.height * ratio) / 129 - dot) < 0.01, "square dots");
  const larger = ((Math.round(dot) + 1) / 2 / ratio) * 257;
  assert.ok(larger > frame.width + 0.01 || (larger * 129) / 257 > frame.height + 0.01, `dots of ${dot + 1} px would fit`);
  whole(lcd.x * ratio, "the LCD's left edge in device px");
  whole(lcd.y * ratio, "the LCD's top edge in device px");
}

// Every visible button, key, box, slider and unfolding summary of the page,
// and those of the flight bar, at least a fingertip each way.
async function assertFingertips(page) {
  const small = await page.evaluate(() =>
    [...document.querySelectorAll("button, [role=button], summary, .check-box, .file-button, input[type=range]")]
      .map((element) => ({ element, box: element.getBoundingClientRect() }))
      .filter(({ element, box }) => box.width > 0 && getComputedStyle(element).visibility === "visible")
      .filter(({ box }) => box.width < 44 || box.height < 44)
      .map(({ element, box }) => `${element.id || element.textContent} ${box.width} x ${box.height}`)
  );
  assert.deepEqual(small, [], "targets smaller than 44 x 44");
}

// [name, device, ON and OFF clear of the flight bar before any scrolling]
const kPhones = [
  ["390 x 844", kPhone, true],
  // Too short for the face, ON and OFF and the bar at once: a little
  // scrolling brings ON and OFF out from under the bar.
  ["320 x 568", { viewport: { width: 320, height: 568 }, deviceScaleFactor: 2, ...kTouch }, false],
  ["320 x 640", { viewport: { width: 320, height: 640 }, deviceScaleFactor: 2, ...kTouch }, true],
  ["360 x 740", { viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, ...kTouch }, true],
  ["412 x 915", { viewport: { width: 412, height: 915 }, deviceScaleFactor: 2.625, ...kTouch }, true],
  ["430 x 932", { viewport: { width: 430, height: 932 }, deviceScaleFactor: 3, ...kTouch }, true],
];

for (const [name, device, onClear] of kPhones) {
  test(`a phone at ${name}: the face fills the width, the controls follow it, a finger hits them all`, async () => {
    const { browser, page, errors, facts } = await open(device);
    const { width, height } = device.viewport;
    assert.equal(facts.layout, "stack");
    // Before any scrolling: the LCD and the flight bar in view together,
    // ON and OFF in view and, where there is room, clear of the bar.
    await assertLcdAndBarInView(page, height);
    const bar = (await boxesOf(page, ["FlightBar"])).FlightBar;
    for (const id of ["Button1", "Button2"]) {
      const box = (await boxesOf(page, [id]))[id];
      assert.ok(box.y + box.height <= (onClear ? bar.y : height) + 0.5, `${id} ends at ${box.y + box.height}`);
    }
    await assertWholeDots(page, device.deviceScaleFactor);
    // The engineer's controls folded away until a tap unfolds them.
    assert.equal(await page.locator("#GroupBox1").isVisible(), false, "the communication window folded away");
    assert.equal(await page.locator("#CopySession").isVisible(), false, "the session copy folded away");
    await page.locator("#Engineer > summary").tap();
    assert.equal(await page.locator("#CopySession").isVisible(), true, "the session copy unfolded");
    const ids = ["Image2", "Panel1", "Image1", ...kTargets, ...kBelowFace, ...kFlightBar];
    const boxes = await boxesOf(page, ids);
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
    await assertFingertips(page);
    assert.equal(facts.rendering, "pixelated");
    assert.deepEqual([facts.help, facts.helpTouch], ["none", "block"], "the help speaks of taps");
    assert.deepEqual(errors, []);
    await browser.close();
  });
}

test("a phone at 390 x 844: after a tap on Demo flight, and while it plays, the LCD and the flight bar are in view together", async () => {
  const { browser, page, errors } = await open(kPhone);
  await page.locator("#Button1").tap();
  await page.locator("#FlightDemo").tap();
  await assertLcdAndBarInView(page, kPhone.viewport.height);
  await page.locator("#FlightSpeed button[data-speed='16']").tap();
  for (let moment = 0; moment < 3; ++moment) {
    await waitForTicks(page, 10);
    assert.equal(await page.locator("#FlightPlay").textContent(), "Pause", "the flight plays");
    await assertLcdAndBarInView(page, kPhone.viewport.height);
  }
  assert.deepEqual(errors, []);
  await browser.close();
});

// [name, device]
const kDesktops = [
  ["1280 x 800", { viewport: { width: 1280, height: 800 } }],
  ["1024 x 768", { viewport: { width: 1024, height: 768 } }],
];

for (const [name, device] of kDesktops) {
  test(`a desktop at ${name}: the form as designed on whole pixels, centred, all of it in view; the help speaks of keys`, async () => {
    const { width, height } = device.viewport;
    const { browser, page, errors, facts } = await open(device);
    const boxes = await boxesOf(page, ["Form1", "Button1", "Image3", "TrackBar1", "Image1", "CheckBox2", "CopyLcd", "FlightBar"]);
    const form = boxes.Form1;
    assert.equal(facts.layout, "form");
    assert.deepEqual([form.width, form.height], [621, 404]);
    whole(form.x, "the form's left edge");
    whole(form.y, "the form's top edge");
    // Spot checks; page.test.mjs checks every control.
    const at = (id) => [boxes[id].x - form.x, boxes[id].y - form.y, boxes[id].width, boxes[id].height];
    assert.deepEqual(at("Button1"), [24, 328, 129, 49]);
    assert.deepEqual(at("Image3"), [73, 240, 49, 49]);
    assert.deepEqual(at("TrackBar1"), [416, 40, 201, 33]);
    assert.deepEqual(at("Image1"), [40, 93, 257, 129]);
    assert.deepEqual(at("CheckBox2"), [360, 80, 97, 17]);
    await assertWholeDots(page, 1);
    const left = form.x;
    const right = width - form.x - form.width;
    assert.ok(Math.abs(left - right) <= 1, `centred: ${left} px left, ${right} px right`);
    const main = await page.locator("main").boundingBox();
    assert.ok(main.y >= 0 && main.y + main.height <= height, `the page from ${main.y} to ${main.y + main.height}`);
    assert.ok(Math.abs(main.y - (height - main.y - main.height)) <= 1, "centred upright too");
    assert.ok(boxes.FlightBar.y >= form.y + form.height, "the flight bar below the form");
    assert.ok(boxes.CopyLcd.y >= boxes.FlightBar.y + boxes.FlightBar.height, "the copy buttons below the bar");
    assert.deepEqual([facts.help, facts.helpTouch], ["block", "none"]);
    // In use, the page keeps the form where it is: ON (the splash, the
    // flight bar's notes changing under it) and a shared link (its words
    // below the buttons) move nothing; the browser's close fails on a move.
    await page.click("#Button1");
    await waitForTicks(page, 100);
    await page.click("#Share");
    await page.locator("#ControlsSays").waitFor();
    await page.locator("#ControlsSays").scrollIntoViewIfNeeded();
    assert.ok(await page.evaluate(() => {
      const says = document.getElementById("ControlsSays");
      const box = says.getBoundingClientRect();
      return says.contains(document.elementFromPoint(box.x + 4, box.y + box.height / 2));
    }), "the share's words are in view, uncovered");
    assert.deepEqual(errors, []);
    await browser.close();
  });
}

// [name, device, the layout with the larger keys]; in "side" the face
// stays in view while the controls beside it scroll.
const kLargeTouch = [
  // On its side the face as tall as the screen, the controls beside it,
  // beats the form scaled to the height (its smaller buttons too small for
  // a finger) and a stack that must shrink to keep ON and OFF in view.
  ["a phone on its side, 844 x 390", { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, ...kTouch }, "side"],
  // Upright, the stack's face as wide as the tablet beats the form scaled
  // to the width.
  ["a tablet, 768 x 1024", { viewport: { width: 768, height: 1024 }, deviceScaleFactor: 2, ...kTouch }, "stack"],
  ["a tablet on its side, 1024 x 768", { viewport: { width: 1024, height: 768 }, deviceScaleFactor: 2, ...kTouch }, "side"],
];

for (const [name, device, layout] of kLargeTouch) {
  test(`${name}: the layout with the larger keys, ON and OFF and the flight bar in view, nothing sideways`, async () => {
    const { browser, page, errors, facts } = await open(device);
    const { width, height } = device.viewport;
    assert.equal(facts.layout, layout);
    await assertLcdAndBarInView(page, height);
    await assertWholeDots(page, device.deviceScaleFactor);
    const bar = (await boxesOf(page, ["FlightBar"])).FlightBar;
    for (const id of ["Button1", "Button2"]) {
      const box = (await boxesOf(page, [id]))[id];
      assert.ok(box.y + box.height <= bar.y + 0.5, `${id} ends at ${box.y + box.height}, the bar starts at ${bar.y}`);
    }
    await page.locator("#Engineer > summary").tap();
    if (layout === "side") {
      await page.evaluate(() => window.scrollTo(0, document.scrollingElement.scrollHeight));
      const lcd = (await boxesOf(page, ["Image1"])).Image1;
      assert.ok(lcd.y >= 0 && lcd.y + lcd.height <= height, `scrolled down, the LCD from ${lcd.y} to ${lcd.y + lcd.height}`);
      await assertWholeDots(page, device.deviceScaleFactor);
    }
    const boxes = await boxesOf(page, ["Form1", "Image2", ...kTargets]);
    assertNoSideways({ facts, boxes, width });
    // The keys at least as large as in the form scaled to the screen (title
    // above it), and never below a fingertip.
    const formScale = Math.min((width - 32) / 621, (height - 32 - 60 - 36) / 404);
    assert.ok(keySide(boxes) >= 49 * formScale - 0.5, `keys ${keySide(boxes)} px against ${49 * formScale}`);
    await assertFingertips(page);
    assert.deepEqual([facts.help, facts.helpTouch], ["none", "block"]);
    assert.deepEqual(errors, []);
    await browser.close();
  });
}
