// The lessons panel on a phone (390 x 844, touch): every built-in lesson's
// solution, done by taps and finger moves on the page, finishes it, and its
// wrong path leaves it unfinished with the hint shown by itself; the panel's
// own files load only when it is first opened; axe-core finds nothing with
// a lesson followed.
import assert from "node:assert/strict";
import { readdirSync, readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { test } from "node:test";

import { launchBrowser, openPanel, performScenario, servedToAPhone, waitForMoreFrames } from "./harness.mjs";

const axePath = createRequire(import.meta.url).resolve("axe-core/axe.min.js");
const checks = fileURLToPath(new URL("../../lessons/checks", import.meta.url));

const served = servedToAPhone();

const status = (page) =>
  page.evaluate(() => {
    const full = window.kvr9Page.program();
    return JSON.parse(full.UTF8ToString(full._kvr9_lesson_status()));
  });

const shownText = (page, id) =>
  page.locator(`#${id}`).evaluate((element) => (element.checkVisibility() ? element.textContent : null));

// A page with the lessons panel open at the list.
async function lessonsPage({ forgetProgress = false } = {}) {
  const { page, errors } = await openPanel(served.browser.context, served.server.url);
  if (forgetProgress) await page.evaluate(() => localStorage.removeItem("kvr9-lesson-progress"));
  await page.locator("#LessonsOpen").tap();
  await page.locator("#LessonList button").first().waitFor();
  return { page, errors };
}

async function follow(page, file, touch = true) {
  const entry = page.locator("#LessonList button").filter({ hasText: await titleOf(page, file) });
  await (touch ? entry.tap() : entry.click());
  await page.locator("#LessonStepNo").waitFor();
}

const titleOf = (page, file) =>
  page.evaluate((file) => {
    const full = window.kvr9Page.program();
    return JSON.parse(full.UTF8ToString(full._kvr9_lesson_list())).find((lesson) => lesson.file === file).title;
  }, file);

// Where the panel shows a lesson finished.
async function assertFinished(page, file) {
  await page.waitForFunction(() => document.getElementById("LessonDone").textContent === "Done: the lesson is finished.", null, { timeout: 5000 });
  const now = await status(page);
  assert.equal(now.done, true, `${file}: status done`);
  assert.equal(await shownText(page, "LessonStepNo"), `All ${now.steps} steps done`);
  assert.equal(await page.locator(".lesson-mark").count(), 0, "no control marked once finished");
}

const kLessons = readdirSync(checks)
  .filter((name) => name.endsWith(".solution.scn"))
  .map((name) => name.replace(".solution.scn", ""))
  .sort();

const lcdShows = (page, text) => page.waitForFunction((text) => document.getElementById("LcdText").textContent.includes(text), text, { timeout: 5000 });
// The session's QNH and power phase, from the full program's snapshot.
const instrumentNow = (page) =>
  page.evaluate(async () => {
    const full = await window.kvr9Page.full();
    const { settings, power } = JSON.parse(full.UTF8ToString(full._kvr9_snapshot_json()));
    return { qnh: settings.qnh, phase: power.phase };
  });

test("the lessons' files load only when the panel is first opened; closing gives the instrument back, and the device keeps it as it was", async () => {
  const { page, errors } = await openPanel(served.browser.context, served.server.url);
  const fetched = [];
  page.on("request", (request) => fetched.push(new URL(request.url()).pathname.slice(1)));
  await waitForMoreFrames(page, 0);
  // The person's own setting, before any lesson, by hand: the page's full
  // program, which reads a scenario's steps for the tests, is not loaded yet.
  await page.locator("#Button1").tap();
  await waitForMoreFrames(page, 80);
  for (let click = 0; click < 2; ++click) {
    await page.locator("#Button3").tap();
    await waitForMoreFrames(page, 2);
  }
  await lcdShows(page, "1015mB");
  assert.deepEqual(fetched.filter((name) => /^(lessons|kvr9-full)\./.test(name)), []);
  await page.locator("#LessonsOpen").tap();
  await page.locator("#LessonList button").first().waitFor();
  assert.deepEqual(fetched.filter((name) => /^(lessons|kvr9-full)\./.test(name)).sort(), ["kvr9-full.js", "kvr9-full.wasm", "lessons.css", "lessons.js"]);
  assert.equal(await page.locator("#LessonList button").count(), kLessons.length);
  assert.equal(await page.locator("#LessonsOpen").getAttribute("aria-expanded"), "true");
  await page.waitForFunction(() => document.getElementById("LessonPanel").contains(document.activeElement));
  assert.equal(await page.evaluate(() => document.activeElement.textContent), await page.locator("#LessonList button").first().textContent(), "focus on the first lesson");
  // Closing stops following the lesson.
  await follow(page, `${kLessons[0]}.lesson`);
  await page.locator("#LessonClose").tap();
  assert.equal(await status(page), null);
  assert.equal(await page.locator("#LessonPanel").isVisible(), false);
  // It gives back the instrument as the first lesson found it...
  assert.deepEqual(await instrumentNow(page), { qnh: 1015250, phase: "main-loop" });
  await lcdShows(page, "1015mB");
  // ... which the device keeps while lessons have it, over a second lesson
  // too.
  await page.locator("#LessonsOpen").tap();
  await follow(page, `${kLessons[0]}.lesson`);
  await page.locator("#LessonBack").tap();
  await follow(page, `${kLessons[1]}.lesson`);
  await page.evaluate(() => window.dispatchEvent(new Event("pagehide")));
  await page.reload();
  await page.waitForFunction(() => window.kvr9Session.some((entry) => entry.kind === "ready"));
  assert.deepEqual(await instrumentNow(page), { qnh: 1015250, phase: "main-loop" });
  assert.deepEqual(errors, []);
  await page.close();
});

// The built-in lessons two at a time: each page's passes run on the
// browser's own timer.
const kAtOnce = 3;
// Each lesson's solution and its wrong paths ("wrong", "wrong-unit", ...).
const kRuns = kLessons
  .filter((name) => new RegExp(process.env.KVR9_LESSONS ?? "").test(name))
  .flatMap((name) =>
    readdirSync(checks)
      .filter((file) => file.startsWith(`${name}.`) && file.endsWith(".scn"))
      .map((file) => [name, file.slice(name.length + 1, -".scn".length)])
  );

test("every built-in lesson: its solution on the phone finishes it, its wrong path leaves it with the hint shown", async () => {
  const failures = [];
  const run = async ([name, path]) => {
    const file = `${name}.lesson`;
    const { page, errors } = await lessonsPage();
    try {
      await follow(page, file);
      // The first step marks its control; the hint waits to be asked for.
      const first = await status(page);
      assert.equal(first.passed, 0);
      assert.equal(await shownText(page, "LessonStepNo"), `Step 1 of ${first.steps}`);
      assert.equal(await shownText(page, "LessonWords"), first.words);
      assert.equal(await shownText(page, "LessonHint"), null);
      assert.ok(await page.locator(".lesson-mark").count() > 0, "the step's control is marked");
      await performScenario(page, readFileSync(join(checks, `${name}.${path}.scn`), "utf8"));
      if (path === "solution") {
        await assertFinished(page, file);
        // Done right, no hint came up by itself, for the eye or the ear.
        const said = await page.evaluate(() => window.kvr9Session.filter((entry) => entry.kind === "lessonSaid").map((entry) => entry.detail));
        assert.deepEqual(said.filter((text) => text.startsWith("Hint:")), [], `${name}: a hint came up on the way`);
        // The list keeps the lesson's progress.
        await page.locator("#LessonBack").tap();
        const entry = page.locator("#LessonList button").filter({ hasText: first.title });
        assert.match(await entry.textContent(), /done$/);
      } else {
        await waitForMoreFrames(page, 2);
        const now = await status(page);
        assert.equal(now.done, false, `${name}: the wrong path finished the lesson`);
        // On the phone the hint says "tap" where the lesson says "click".
        const hint = await shownText(page, "LessonHint");
        assert.equal(hint?.replace(/\b[Tt]ap/g, "x"), now.hint.replace(/\b[Cc]lick/g, "x"), `${name}: hint shown by itself`);
        assert.doesNotMatch(hint, /click/i);
        assert.equal(await shownText(page, "LessonStepNo"), `Step ${now.passed + 1} of ${now.steps}`);
      }
      assert.deepEqual(errors, []);
    } catch (error) {
      const where = await status(page).catch(() => "?");
      const lcd = await page.evaluate(() => document.getElementById("LcdText").textContent).catch(() => "?");
      failures.push(`${name} ${path}: ${error.message}; at ${JSON.stringify(where)}; the LCD: ${JSON.stringify(lcd)}`);
    } finally {
      await page.close();
    }
  };
  const queue = [...kRuns];
  await Promise.all(
    Array.from({ length: kAtOnce }, async () => {
      while (queue.length > 0) await run(queue.shift());
    })
  );
  assert.deepEqual(failures, []);
});

test("progress, a hint asked for, what a screen reader hears: the list says how far each lesson went, on this device", async () => {
  const { page, errors } = await lessonsPage({ forgetProgress: true });
  const name = "04-qnh-altitude-unit";
  await follow(page, `${name}.lesson`);
  await page.locator("#LessonHintButton").tap();
  assert.match(await shownText(page, "LessonHint"), /^Hint: Tap the ON button/);
  // Off, the LED is lit: the panel says it is no alarm, until ON.
  assert.match(await shownText(page, "LessonOff"), /^The instrument is off, so the red LED means nothing/);
  await performScenario(page, "on\npass 80\n");
  await page.waitForFunction(() => document.getElementById("LessonDone").textContent === "Done: step 1 of 7.");
  assert.equal(await shownText(page, "LessonHint"), null, "the next step's hint waits to be asked for");
  assert.equal(await shownText(page, "LessonOff"), null);
  // A screen reader hears the success and the next step's words.
  const spoken = page.locator("#LessonSpoken");
  assert.deepEqual([await spoken.getAttribute("role"), await spoken.getAttribute("aria-live")], ["status", "polite"]);
  assert.match(await spoken.textContent(), /^Done: step 1 of 7\. Step 2 of 7: The airfield reports QNH 1020\./);
  assert.deepEqual(await page.locator(".lesson-mark").evaluateAll((all) => all.map((e) => e.id)), ["Image5", "Button3", "Button4"]);
  await page.reload();
  await page.waitForFunction(() => window.kvr9Session.some((entry) => entry.kind === "ready"));
  await page.locator("#LessonsOpen").tap();
  await page.locator("#LessonList button").first().waitFor();
  const entry = page.locator("#LessonList button").filter({ hasText: await titleOf(page, `${name}.lesson`) });
  assert.match(await entry.textContent(), /1 of 7 steps$/);
  // Progress the page cannot read is left out whole, and the panel says so.
  for (const kept of ['{"04-qnh-altitude-unit.lesson":{"best":9,"steps":7}}', "{", "x".repeat(5000)]) {
    await page.evaluate((kept) => localStorage.setItem("kvr9-lesson-progress", kept), kept);
    await page.reload();
    await page.waitForFunction(() => window.kvr9Session.some((entry) => entry.kind === "ready"));
    await page.locator("#LessonsOpen").tap();
    await page.locator("#LessonList button").first().waitFor();
    assert.match(await entry.textContent(), /not started$/, kept.slice(0, 60));
    assert.match(await shownText(page, "LessonMessage"), /progress kept on this device could not be read/);
  }
  assert.deepEqual(errors, []);
  await page.close();
});

// [name, device or null for the phone's, where the panel goes]
const kLayouts = [
  ["a phone, 390 x 844", null, "below"],
  ["a desktop, 1280 x 800", { viewport: { width: 1280, height: 800 } }, "beside"],
];

for (const [name, device, where] of kLayouts) {
  test(`the panel on ${name}: ${where} the form, which keeps its size, clear of the LCD and keys, thumb-sized buttons`, async () => {
    const own = device === null ? null : await launchBrowser(device);
    try {
      const { page, errors } = await openPanel((own ?? served.browser).context, served.server.url);
      const form = await page.locator("#Form1").boundingBox();
      await page.locator("#LessonsOpen").click();
      await page.locator("#LessonList button").first().waitFor();
      await follow(page, "04-qnh-altitude-unit.lesson", device === null);
      await page.evaluate(() => window.scrollTo(0, 0));
      const now = await page.locator("#Form1").boundingBox();
      assert.deepEqual([now.width, now.height], [form.width, form.height], "the form's size");
      const panel = await page.locator("#LessonPanel").boundingBox();
      if (where === "below") assert.ok(panel.y >= now.y + now.height, `the panel at ${panel.y}, the form ending at ${now.y + now.height}`);
      else assert.ok(panel.x >= now.x + now.width, `the panel at ${panel.x}, the form ending at ${now.x + now.width}`);
      for (const id of ["Panel1", "Image3", "Image5", "Image6", "Button1", "Button2", "Button3", "Button4"]) {
        const box = await page.locator(`#${id}`).boundingBox();
        const apart = box.x + box.width <= panel.x || panel.x + panel.width <= box.x || box.y + box.height <= panel.y || panel.y + panel.height <= box.y;
        assert.ok(apart, `the panel over ${id}`);
      }
      const buttons = device === null ? "#LessonPanel button:visible, #LessonsOpen" : "#LessonPanel button:visible";
      const small = await page.locator(buttons).evaluateAll((buttons) =>
        buttons.map((b) => [b.textContent, b.getBoundingClientRect()]).filter(([, r]) => r.width < 44 || r.height < 44).map(([t]) => t)
      );
      assert.deepEqual(small, [], "buttons smaller than 44 x 44");
      assert.deepEqual(errors, []);
      await page.close();
    } finally {
      // A failed check must not leave the browser running.
      await own?.close();
    }
  });
}

test("axe-core finds no violation with the lessons panel open and a lesson followed", async () => {
  const { page } = await lessonsPage();
  await follow(page, "05-alarms.lesson");
  await page.locator("#LessonHintButton").tap();
  await page.addScriptTag({ path: axePath });
  const results = await page.evaluate(() => window.axe.run());
  const found = results.violations.map((v) => `${v.id}: ${v.help} (${v.nodes.map((n) => n.target.join(" ")).join(", ")})`);
  assert.deepEqual(found, []);
  await page.close();
});

// A phone upright, a small one, and one on its side: while a lesson whose
// steps use ON, the knob, a slider and F2 is followed, each step's words,
// the LCD and the marked control are in view together, none of them under
// another.
const kPhones = [
  ["320 x 568", { width: 320, height: 568 }],
  ["390 x 844", null],
  ["844 x 390", { width: 844, height: 390 }],
];

async function assertStepInView(page, where) {
  const seen = await page.evaluate(async () => {
    // Once the page has placed itself for the step.
    await new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
    const inView = (element) => {
      const box = element.getBoundingClientRect();
      return box.width > 0 && box.top >= -0.5 && box.left >= -0.5 && box.bottom <= window.innerHeight + 0.5 && box.right <= window.innerWidth + 0.5;
    };
    const onTop = (element) => {
      const box = element.getBoundingClientRect();
      const hit = document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2);
      return hit !== null && (hit === element || element.contains(hit));
    };
    const words = document.getElementById("LessonWords");
    const marked = [...document.querySelectorAll(".lesson-mark")];
    const lcd = document.getElementById("Image1");
    const lcdBox = lcd.getBoundingClientRect();
    // The face's picture areas lie over the LCD's panel: its corners are
    // checked against the card, not its middle.
    const card = document.getElementById("LessonCard").getBoundingClientRect();
    const lcdClear = lcdBox.bottom <= card.top + 0.5 || lcdBox.right <= card.left + 0.5;
    return {
      step: document.getElementById("LessonStepNo").textContent,
      words: words.hidden || (inView(words) && onTop(words)),
      lcd: inView(lcd) && lcdClear,
      marks: marked.length === 0 ? [] : marked.filter((element) => !(inView(element) && onTop(element))).map((element) => element.id),
      controls: marked.length,
    };
  });
  assert.deepEqual(seen, { step: seen.step, words: true, lcd: true, marks: [], controls: seen.controls }, `${where}, ${seen.step}`);
}

for (const [name, viewport] of kPhones) {
  test(`a lesson followed on a phone, ${name}: each step's words, the LCD and the marked control in view together`, async () => {
    const own = viewport === null ? null : await launchBrowser({ viewport, deviceScaleFactor: 2, hasTouch: true, isMobile: true });
    try {
      const { page, errors } = await openPanel((own ?? served.browser).context, served.server.url);
      await page.locator("#LessonsOpen").tap();
      await page.locator("#LessonList button").first().waitFor();
      const file = "06-takeoff-detection";
      await follow(page, `${file}.lesson`);
      await assertStepInView(page, "step 1");
      // Each step as it comes, before its control is used (a tap would
      // bring it into view by itself).
      const controls = [(await status(page)).control];
      let passed = 0;
      await performScenario(page, readFileSync(join(checks, `${file}.solution.scn`), "utf8"), async () => {
        const now = await status(page);
        if (now.done || now.passed === passed) return;
        passed = now.passed;
        await page.waitForFunction((text) => document.getElementById("LessonStepNo").textContent === text, `Step ${passed + 1} of ${now.steps}`);
        controls.push(now.control);
        await assertStepInView(page, `step ${passed + 1}`);
      });
      await assertFinished(page, `${file}.lesson`);
      assert.deepEqual([...new Set(controls)], ["ON", "knob", "airspeed-slider", "F2"], "the steps' controls");
      assert.deepEqual(errors, []);
      await page.close();
    } finally {
      await own?.close();
    }
  });
}
