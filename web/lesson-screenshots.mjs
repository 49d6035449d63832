// Draws docs/lessons/: each step of a lesson on a phone (390 x 844, touch),
// as the lessons panel shows it when the step comes up, then the lesson
// finished. The steps are done by the lesson's solution
// (lessons/checks/NAME.solution.scn), tapped and moved on the page as a
// person would; the taps and finger moves it took are counted and printed.
//   node web/lesson-screenshots.mjs [OUT_DIR]
// then, to keep them small: pngquant --speed 1 --quality 65-90 --ext .png --force docs/lessons/*.png
import { mkdirSync, readFileSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";

import { kPhone, launchBrowser, openPanel, performScenario, startServer, waitForMoreFrames } from "./tests/harness.mjs";

const out = process.argv[2] ?? "docs/lessons";
const checks = fileURLToPath(new URL("../lessons/checks", import.meta.url));
const kLessons = ["04-qnh-altitude-unit", "05-alarms"];

const status = (page) =>
  page.evaluate(() => {
    const full = window.kvr9Page.program();
    return JSON.parse(full.UTF8ToString(full._kvr9_lesson_status()));
  });

// The page as the phone lays it out, at its CSS size, from the face to
// the foot of the lessons panel.
async function shoot(page, file) {
  // A new screen is drawn over a pass or two after it opens (an
  // instrument switched off draws none).
  await Promise.race([waitForMoreFrames(page, 3), new Promise((done) => setTimeout(done, 1500))]);
  const clip = await page.evaluate(
    () =>
      new Promise((done) =>
        requestAnimationFrame(() =>
          requestAnimationFrame(() => {
            const face = document.getElementById("Form1").getBoundingClientRect();
            const panel = document.getElementById("LessonPanel").getBoundingClientRect();
            const top = face.top + window.scrollY - 4;
            done({ x: 0, y: top, width: document.documentElement.clientWidth, height: panel.bottom + window.scrollY + 8 - top });
          })
        )
      )
  );
  await page.screenshot({ path: join(out, file), scale: "css", fullPage: true, clip });
}

mkdirSync(out, { recursive: true });
const server = await startServer();
try {
  for (const name of kLessons) {
    const browser = await launchBrowser(kPhone);
    try {
      const { page } = await openPanel(browser.context, server.url);
      const taps = { tap: 0, move: 0 };
      // Open the panel and choose the lesson: two taps.
      await page.locator("#LessonsOpen").tap();
      await page.locator("#LessonList button").first().waitFor();
      const title = await page.evaluate((file) => {
        const full = window.kvr9Page.program();
        return JSON.parse(full.UTF8ToString(full._kvr9_lesson_list())).find((lesson) => lesson.file === file).title;
      }, `${name}.lesson`);
      await page.locator("#LessonList button").filter({ hasText: title }).tap();
      taps.tap += 2;
      let passed = 0;
      await shoot(page, `${name}-step1.png`);
      await performScenario(page, readFileSync(join(checks, `${name}.solution.scn`), "utf8"), async (word) => {
        if (["on", "off", "key", "box"].includes(word)) ++taps.tap;
        if (word === "slider") ++taps.move;
        const now = await status(page);
        if (now.passed === passed) return;
        passed = now.passed;
        const stepNo = now.done ? `All ${now.steps} steps done` : `Step ${passed + 1} of ${now.steps}`;
        await page.waitForFunction((text) => document.getElementById("LessonStepNo").textContent === text, stepNo);
        await shoot(page, now.done ? `${name}-done.png` : `${name}-step${passed + 1}.png`);
      });
      console.log(`${name}: ${passed} steps, ${taps.tap} taps and ${taps.move} finger moves on a slider`);
    } finally {
      await browser.close();
    }
  }
} finally {
  server.close();
}
