// A lesson of the person's own on a phone: opened from a file or dropped,
// followed to the end by taps, kept with its progress across a reload,
// removed; one that starts from a snapshot file waits for it; the way
// taken through it, copied as a scenario, finishes it in kvr9-headless; its
// link opens it in a fresh browser offline after one visit; a file or link
// the reader refuses is said in a sentence and nothing starts.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { deflateRawSync } from "node:zlib";
import { test } from "node:test";

import { headlessDriver, kPhone, launchBrowser, openPanel, performScenario, reloadPanel, servedToAPhone } from "./harness.mjs";

const served = servedToAPhone();

const kDrill = `# A club's QNH drill, written by hand.
title QNH drill
start defaults

step Switch the instrument on.
hint Click ON.
control ON
check expect currentScreen MainScreen

step Set the QNH to 1015.
hint Click "Clockwise" twice.
control knob
check expect-text line 1015mB
`;
const kWay = "on\npass 80\nkey cw\npass 2\nkey cw\npass 2\n";

const status = (page) =>
  page.evaluate(() => {
    const full = window.kvr9Page.program();
    return JSON.parse(full.UTF8ToString(full._kvr9_lesson_status()));
  });
const own = (page) => page.locator("#OwnLessonList li").evaluateAll((items) => items.map((item) => item.querySelector("button").textContent));
const shown = (page, id) => page.locator(`#${id}`).evaluate((element) => (element.checkVisibility() ? element.textContent : null));
const file = (name, text) => ({ name, mimeType: "text/plain", buffer: Buffer.from(text) });
// Files dropped on the page as a person drags them from the desktop.
const drop = (page, files) =>
  page.evaluate((files) => {
    const transfer = new DataTransfer();
    for (const { name, text } of files) transfer.items.add(new File([text], name, { type: "text/plain" }));
    document.getElementById("Form1").dispatchEvent(new DragEvent("drop", { bubbles: true, cancelable: true, dataTransfer: transfer }));
  }, files.map(({ name, buffer }) => ({ name, text: buffer.toString() })));
const finished = (page) => page.waitForFunction(() => document.getElementById("LessonDone").textContent === "Done: the lesson is finished.");

async function lessonsOpen(context, url = served.server.url) {
  const opened = await openPanel(context, url);
  await opened.page.locator("#LessonsOpen").tap();
  await opened.page.locator("#LessonList button").first().waitFor();
  return opened;
}

test("a hand-written lesson: opened, followed to the end by taps, kept with its progress across a reload, its way a solution, removed", async () => {
  const { page, errors } = await lessonsOpen(served.browser.context);
  await page.locator("#LessonFile").setInputFiles(file("qnh-drill.lesson", kDrill));
  await page.locator("#LessonStepNo").waitFor();
  assert.equal(await shown(page, "LessonTitle"), "QNH drill");
  await performScenario(page, kWay);
  await finished(page);

  // The way taken, copied as a scenario, finishes the lesson in the driver.
  await page.locator("#LessonSolution").tap();
  const way = await page.inputValue("#LessonWay");
  assert.match(way, /^lesson qnh-drill\.lesson$/m);
  const folder = mkdtempSync(join(tmpdir(), "kvr9-own-lesson-"));
  try {
    writeFileSync(join(folder, "qnh-drill.lesson"), kDrill);
    writeFileSync(join(folder, "qnh-drill.solution.scn"), way);
    execFileSync(headlessDriver, ["check-lesson", join(folder, "qnh-drill.lesson"), join(folder, "qnh-drill.solution.scn")]);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }

  await page.locator("#LessonBack").tap();
  assert.deepEqual(await own(page), ["QNH drilldone"]);
  await reloadPanel(page);
  await page.locator("#LessonsOpen").tap();
  await page.locator("#OwnLessonList button").first().waitFor();
  assert.deepEqual(await own(page), ["QNH drilldone"], "kept with its progress");
  await page.getByRole("button", { name: "Remove QNH drill" }).tap();
  assert.deepEqual(await own(page), []);
  await reloadPanel(page);
  await page.locator("#LessonsOpen").tap();
  await page.locator("#LessonList button").first().waitFor();
  assert.deepEqual(await own(page), [], "removed from the device");
  assert.deepEqual(errors, []);
  await page.close();
});

test("a lesson that starts from a snapshot file waits for it, then holds it: its link opens in a fresh browser offline after one visit", async () => {
  const { page, errors } = await lessonsOpen(served.browser.context);
  // The instrument switched on at 1013 mB, saved as "Save state..." does.
  await page.locator("#LessonClose").tap();
  await performScenario(page, "on\npass 80\n");
  const snapshot = await page.evaluate(async () => {
    const full = await window.kvr9Page.full();
    return full.UTF8ToString(full._kvr9_snapshot_json());
  });
  await page.locator("#LessonsOpen").tap();
  const fromSnapshot = kDrill.replace("start defaults", "start snapshot running.json").replace(/step Switch[^]*?MainScreen\n\n/, "");
  await drop(page, [file("from-running.lesson", fromSnapshot)]);
  await page.locator("#LessonWaitingWords").waitFor();
  assert.equal(await shown(page, "LessonWaitingWords"), "The lesson from-running.lesson starts from the snapshot running.json: open that file too.");
  assert.equal(await status(page), null, "nothing started meanwhile");
  await page.locator("#LessonSnapshotFile").setInputFiles(file("running.json", snapshot));
  await page.locator("#LessonStepNo").waitFor();
  assert.equal(await shown(page, "LessonStepNo"), "Step 1 of 1");
  await page.locator("#LessonShare").tap();
  await page.locator("#LessonLink").waitFor();
  const link = await page.inputValue("#LessonLink");
  assert.ok(link.startsWith(`${served.server.url}#lesson=`), link);

  const fresh = await launchBrowser({ ...kPhone, serviceWorkers: "allow" });
  try {
    const first = await openPanel(fresh.context, served.server.url);
    await first.page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 0, polling: 50 });
    await fresh.context.setOffline(true);
    const { page: opened, errors: openedErrors } = await openPanel(fresh.context, link);
    await opened.locator("#LessonStepNo").waitFor();
    assert.equal(await shown(opened, "LessonTitle"), "QNH drill");
    assert.equal((await status(opened)).steps, 1);
    await performScenario(opened, "key cw\npass 2\nkey cw\npass 2\n");
    await finished(opened);
    assert.deepEqual(openedErrors, []);
  } finally {
    await fresh.close();
  }
  assert.deepEqual(errors, []);
  await page.close();
});

// A link as the page writes it: the name, a line break, the text, deflated.
const linked = (text) => deflateRawSync(Buffer.from(text)).toString("base64url");

test("a lesson file or link the reader refuses: one sentence, nothing started, nothing kept", async () => {
  const good = linked(`qnh-drill.lesson\n${kDrill}`);
  const cases = [
    { file: file("bad.lesson", kDrill.replace("control knob", "control knobb")), says: "The lesson bad.lesson was not started: on line 12, unknown control 'knobb': did you mean knob?" },
    { dropped: file("big.lesson", kDrill + "#".repeat(70000)), says: "The lesson big.lesson was not started: larger than 65536 bytes." },
    { file: file("start.lesson", kDrill.replace("start defaults", "start snapshot x.json")), snapshot: file("x.json", "{\n]"), says: /^The lesson start\.lesson was not started: on line 3, the snapshot x\.json: not a snapshot/ },
    { link: good.slice(0, good.length / 2), says: "This link does not hold a lesson the simulator can open (it is damaged or cut short); nothing has changed." },
    { link: "!!!!", says: "This link does not hold a lesson the simulator can open (it is damaged or cut short); nothing has changed." },
    { link: "A".repeat(200 * 1024), says: "This link does not hold a lesson the simulator can open (it is too long); nothing has changed." },
    { link: linked(`x.lesson\n${"#".repeat(1 << 20)}`), says: "This link does not hold a lesson the simulator can open (it is too long); nothing has changed." },
    { link: linked(`bad.lesson\n${kDrill.replace("title QNH drill", "titel QNH drill")}`), says: /^The lesson bad\.lesson was not started: on line 2, unknown line 'titel'/ },
  ];
  for (const row of cases) {
    const { page, errors } = row.link === undefined ? await lessonsOpen(served.browser.context) : await openPanel(served.browser.context, `${served.server.url}#lesson=${row.link}`);
    if (row.dropped !== undefined) await drop(page, [row.dropped]);
    if (row.file !== undefined) {
      await page.locator("#LessonFile").setInputFiles(row.file);
      if (row.snapshot !== undefined) await page.locator("#LessonSnapshotFile").setInputFiles(row.snapshot);
    }
    await page.locator("#LessonMessage").waitFor();
    const said = await shown(page, "LessonMessage");
    if (typeof row.says === "string") assert.equal(said, row.says);
    else assert.match(said, row.says);
    assert.equal(await status(page), null, "nothing started");
    assert.deepEqual(await own(page), [], "nothing kept");
    assert.equal(await page.evaluate(() => localStorage.getItem("kvr9-own-lessons")), null);
    assert.deepEqual(errors, []);
    await page.close();
  }
});
